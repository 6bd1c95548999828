#include "DownloadDisplay.h"

void DownloadDisplay::AddDownloadLog(const QString& text) {
    AddLogLine(DownloadLogLine(QTime::currentTime(), text));
}

QString DownloadLogLine(const QTime& time, const QString& text) {
    return QString::asprintf("%02d:%02d:%02d ", time.hour(), time.minute(), time.second()) + text;
}

#include "DebugLog.h"

#include "ProgramFolder.h"

#include <QDir>
#include <QFile>

bool AppendDebugLogLine(const QString& folder, const QString& text, const QDateTime& when)
{
    if (!QDir().mkpath(folder))
        return false;
    const QDir dir(folder);
    QFile file(dir.filePath(QStringLiteral("debug.log")));
    if (file.size() >= kDebugLogLimit) {
        const QString old = dir.filePath(QStringLiteral("debug.old.log"));
        QFile::remove(old);
        file.rename(old);
        file.setFileName(dir.filePath(QStringLiteral("debug.log")));
    }
    const bool existed = file.exists();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QDate d = when.date();
    const QTime t = when.time();
    QString entry = existed ? QStringLiteral("\r\n") : QString();
    entry += QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d  ", d.year(), d.month(), d.day(),
                               t.hour(), t.minute(), t.second());
    entry += text;
    const QByteArray bytes = entry.toUtf8();
    return file.write(bytes) == bytes.size();
}

void DebugLogLine(const QString& text)
{
    AppendDebugLogLine(ProgramFilePath(QStringLiteral("Log")), text, QDateTime::currentDateTime());
}

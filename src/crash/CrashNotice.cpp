#include "CrashNotice.h"

#include "CrashReporter.h"

#include <QFile>
#include <QMessageBox>

int ShowCrashNotice(const QString& reportPath) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("提示"),
                    QString::fromUtf8(kCrashNoticeMessage), QMessageBox::Yes | QMessageBox::No);
    QFile report(reportPath);
    if (report.open(QIODevice::ReadOnly))
        box.setDetailedText(QString::fromUtf8(report.read(256 * 1024)).trimmed());
    box.exec(); // the answer changes nothing
    return 0;
}

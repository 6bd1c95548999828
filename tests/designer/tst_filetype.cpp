// The ".kvpr" registration under the user's data folder: what it installs, that a second start
// rewrites nothing, that an odd program path is quoted for the desktop entry, and that it
// never fails loudly.

#include "FileTypeRegistration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class FileTypeTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_data;

    QString Read(const QString& relative) const {
        QFile file(m_data.filePath(relative));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private slots:
    void initTestCase() { qputenv("XDG_DATA_HOME", m_data.path().toUtf8()); }

    void installsTheTypeTheEntryAndTheIcons() {
        QVERIFY(RegisterProjectFileType(QStringLiteral("/opt/kv250/designer")));
        const QString mime = Read("mime/packages/halvern-koravel-kvpr.xml");
        QVERIFY(mime.contains(QStringLiteral("<glob pattern=\"*.kvpr\"/>")));
        QVERIFY(mime.contains(QStringLiteral("application/x-kvpr")));
        const QString entry = Read("applications/halvern-koravel-designer.desktop");
        QVERIFY(entry.contains(QStringLiteral("Exec=\"/opt/kv250/designer\" %f\n")));
        QVERIFY(entry.contains(QStringLiteral("MimeType=application/x-kvpr;\n")));
        QVERIFY(
            Read("icons/hicolor/scalable/apps/halvern-koravel-designer.svg").startsWith("<svg"));
        QVERIFY(Read("icons/hicolor/scalable/mimetypes/application-x-kvpr.svg").startsWith("<svg"));
    }

    void aSecondStartRewritesNothing() {
        QVERIFY(RegisterProjectFileType(QStringLiteral("/opt/kv250/designer")));
        const QString entry = m_data.filePath("applications/halvern-koravel-designer.desktop");
        const QDateTime before = QFileInfo(entry).lastModified();
        QTest::qSleep(20);
        QVERIFY(RegisterProjectFileType(QStringLiteral("/opt/kv250/designer")));
        QCOMPARE(QFileInfo(entry).lastModified(), before);
    }

    void anOddPathIsQuoted() {
        QVERIFY(RegisterProjectFileType(QStringLiteral("/home/a b/$x \"q\"/100%/designer")));
        QVERIFY(Read("applications/halvern-koravel-designer.desktop")
                    .contains(QStringLiteral(
                        "Exec=\"/home/a b/\\\\$x \\\\\"q\\\\\"/100%%/designer\" %f\n")));
    }

    void anUnwritableFolderFailsQuietly() {
        QTemporaryDir other;
        QFile blocker(other.filePath("data"));
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
        blocker.close();
        qputenv("XDG_DATA_HOME", other.filePath("data").toUtf8());
        QVERIFY(!RegisterProjectFileType(QStringLiteral("/opt/kv250/designer")));
        qputenv("XDG_DATA_HOME", m_data.path().toUtf8());
    }
};

QTEST_MAIN(FileTypeTest)
#include "tst_filetype.moc"

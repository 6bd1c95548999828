// The updater against an update server of its own on 127.0.0.1 (Python's http.server): the
// check and what it shows, the update dialog's download with its progress and speed, cancel,
// a network error, and the installer's SHA-256 before anything reaches the desktop. The
// program folder, the server's folder, HOME and the XDG folders are temporary.

#include "../designer/MessageWatcher.h"
#include "DlgAutoCheckUpdate.h"
#include "DlgAutoSetUpdate.h"
#include "Ini.h"
#include "UpdateDownload.h"
#include "UpdateSettings.h"
#include "Updater.h"
#include "VersionComponent.h"

#include <QCheckBox>
#include <QCryptographicHash>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QString kServerScript = QStringLiteral(KV_SOURCE_DIR "/tests/updater/update_server.py");
const QString kComponent = QStringLiteral(KV_BIN_DIR "/GXGetVersion.so");
const QString kInstallerName = QStringLiteral("designer_setup_2.0.0.run");
const QString kDesktopName = QStringLiteral("designer文本软件v2.0.0.run");

QByteArray Sha256(const QByteArray& data) {
    return QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex();
}

QByteArray Installer(qsizetype size) {
    QByteArray data(size, Qt::Uninitialized);
    QRandomGenerator generator(17);
    for (char& byte : data)
        byte = char(generator.bounded(256));
    return data;
}

bool WriteFile(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The update server, serving a folder of its own; `options` of update_server.py.
class UpdateServer {
public:
    explicit UpdateServer(const QStringList& options = {}) {
        m_process.start(QStringLiteral(KV_PYTHON),
                        QStringList{kServerScript, m_root.path()} + options);
        while (!m_process.canReadLine() && m_process.waitForReadyRead(10000)) {
        }
        m_port = m_process.readLine().trimmed().toInt();
    }
    ~UpdateServer() {
        m_process.kill();
        m_process.waitForFinished();
    }

    QString Host() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    QString File(const QString& name) const {
        return m_root.filePath(QStringLiteral("LumoDesign/") + name);
    }
    // The configuration file "LumoDesign/config.txt" with these lines of section "update".
    void Announce(const QStringList& lines) const {
        WriteFile(File(QStringLiteral("config.txt")),
                  (QStringLiteral("[update]\r\n") + lines.join(QStringLiteral("\r\n")) +
                   QStringLiteral("\r\n"))
                      .toUtf8());
    }
    // An optional or mandatory update to 2.0.0 with `installer`, announced with `sha256`.
    void Offer(int type, const QByteArray& installer, const QByteArray& sha256) const {
        WriteFile(File(kInstallerName), installer);
        QStringList lines{
            QStringLiteral("url=") + Host(),        QStringLiteral("ver=9.0.0.0"),
            QStringLiteral("ver2=2.0.0"),           QStringLiteral("file=") + kInstallerName,
            QStringLiteral("title=软件升级 2.0.0"), QStringLiteral("type=%1").arg(type)};
        if (!sha256.isNull())
            lines << QStringLiteral("sha256=") + QString::fromLatin1(sha256);
        Announce(lines);
    }

private:
    QTemporaryDir m_root;
    QProcess m_process;
    int m_port = 0;
};

// A designer's program folder, with or without the version component, whose "config.dll"
// names the update server.
class ProgramFolder {
public:
    explicit ProgramFolder(const QString& server, bool withComponent = true) {
        if (withComponent)
            QFile::copy(kComponent, Path(QStringLiteral("GXGetVersion.so")));
        IniWriteString(QStringLiteral("update"), QStringLiteral("server"), server, Config());
    }

    QString Path(const QString& name) const { return m_dir.filePath(name); }
    QString Folder() const { return m_dir.path(); }
    QString Config() const { return Path(QStringLiteral("config.dll")); }
    void SetAuto(const QString& value) const {
        IniWriteString(QStringLiteral("update"), QStringLiteral("auto"), value, Config());
    }

private:
    QTemporaryDir m_dir;
};

// Stands for the desktop's handler of files: what the designer opens.
class Opener : public QObject {
    Q_OBJECT

public:
    Opener() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~Opener() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

    QStringList* calls = nullptr;

public slots:
    void open(const QUrl& url) { *calls << QStringLiteral("open ") + url.toLocalFile(); }
};

// The designer around the updater: a main window, and what the updater asked of it.
struct Designer {
    explicit Designer(const ProgramFolder& folder)
        : updater(
              window, folder.Folder(), [this] { calls << QStringLiteral("save"); },
              [this] { calls << QStringLiteral("end"); }) {
        opener.calls = &calls;
        window.show();
    }

    // The visible update dialog, when there is one.
    DlgAutoCheckUpdate* Dialog() const {
        for (auto* dialog : window.findChildren<DlgAutoCheckUpdate*>())
            if (dialog->isVisible())
                return dialog;
        return nullptr;
    }

    QWidget window;
    QStringList calls;
    Opener opener;
    CUpdater updater;
};

template <typename T> T* Child(const QWidget* dialog, const char* name) {
    return dialog->findChild<T*>(QString::fromLatin1(name));
}

QString Status(const QWidget* dialog) {
    return Child<QLabel>(dialog, "status")->text();
}

// Every text the status line shows while it lives, with the time it appeared.
class StatusRecorder : public QObject {
public:
    explicit StatusRecorder(QWidget* dialog) : m_label(Child<QLabel>(dialog, "status")) {
        m_clock.start();
        connect(&m_timer, &QTimer::timeout, this, &StatusRecorder::Poll);
        m_timer.start(5);
        // The dialog may set its last text and close at once: read it while hiding too.
        dialog->installEventFilter(this);
    }

    const QStringList& Texts() const { return m_texts; }
    // The times of the texts that match `pattern`.
    QList<qint64> TimesOf(const QRegularExpression& pattern) const {
        QList<qint64> times;
        for (qsizetype i = 0; i < m_texts.size(); ++i)
            if (pattern.match(m_texts[i]).hasMatch())
                times << m_times[i];
        return times;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide)
            Poll();
        return QObject::eventFilter(watched, event);
    }

private:
    void Poll() {
        if (m_label && (m_texts.isEmpty() || m_texts.back() != m_label->text())) {
            m_texts << m_label->text();
            m_times << m_clock.elapsed();
        }
    }

    QPointer<const QLabel> m_label;
    QTimer m_timer;
    QElapsedTimer m_clock;
    QStringList m_texts;
    QList<qint64> m_times;
};

const QRegularExpression kKilobytes(QStringLiteral("^\\[\\d+%\\] \\d+ KB/S$"));
const QRegularExpression kMegabytes(QStringLiteral("^\\[\\d+%\\] \\d+\\.\\d\\d MB/S$"));

} // namespace

class UpdaterTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;

    QString Desktop() const { return m_home.filePath(QStringLiteral("桌面")); }

    // Starts the check and waits for its end; the update dialog, when it opened.
    DlgAutoCheckUpdate* Check(Designer& designer, bool manual = false) {
        QSignalSpy finished(&designer.updater, &CUpdater::checkFinished);
        manual ? designer.updater.CheckNow() : designer.updater.StartCheck();
        if (!finished.wait(20000))
            qWarning("the check did not end");
        return designer.Dialog();
    }

    // Starts the download of an offered update and waits until the dialog is ready again or
    // closed.
    void Download(Designer& designer, DlgAutoCheckUpdate* dialog) {
        QPointer<DlgAutoCheckUpdate> watched(dialog);
        Child<QPushButton>(dialog, "startButton")->click();
        QVERIFY(!Child<QPushButton>(dialog, "startButton")->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!watched || !watched->isVisible() ||
                                     Child<QPushButton>(watched, "startButton")->isEnabled(),
                                 30000);
        Q_UNUSED(designer);
    }

private slots:
    void initTestCase() {
        // Never the user's desktop, configuration or state: the desktop folder comes from
        // the XDG user folders of this home.
        qputenv("HOME", m_home.path().toUtf8());
        for (const char* name :
             {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME", "XDG_CACHE_HOME"})
            qputenv(name, m_home.filePath(QString::fromLatin1(name)).toUtf8());
        WriteFile(m_home.filePath(QStringLiteral("XDG_CONFIG_HOME/user-dirs.dirs")),
                  "XDG_DESKTOP_DIR=\"$HOME/桌面\"\n");
    }

    void cleanup() { QDir(Desktop()).removeRecursively(); }

    void versionComparison_data() {
        QTest::addColumn<QString>("local");
        QTest::addColumn<QString>("offered");
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("update");
        QTest::newRow("1234 < 12310") << "1.2.3.4"
                                      << "1.2.3.10" << 1 << true;
        QTest::newRow("12999 > 12100") << "1.2.9.99"
                                       << "1.2.10.0" << 1 << false;
        QTest::newRow("same version") << "1.2.3.4"
                                      << "1.2.3.4" << 2 << false;
        QTest::newRow("type 0") << "1.2.3.4"
                                << "9.9.9.9" << 0 << false;
        QTest::newRow("ver 0") << "0.0.0.0"
                               << "0" << 1 << false;
        QTest::newRow("ver empty") << "0.0.0.0"
                                   << "" << 1 << false;
        QTest::newRow("leading digits only") << "1.2.3.0"
                                             << "1.2.3.1beta" << 1 << true;
        QTest::newRow("no leading digits") << "1.0.0.0"
                                           << "v2.0.0.0" << 1 << false;
        QTest::newRow("past 64 bits") << "99999999999999999999"
                                      << "99999999999999999999.1" << 1 << false;
        QTest::newRow("mandatory") << "1.0.1000.100"
                                   << "1.0.1000.101" << 2 << true;
    }

    void versionComparison() {
        QFETCH(QString, local);
        QFETCH(QString, offered);
        QFETCH(int, type);
        QFETCH(bool, update);
        UpdateSettings settings;
        settings.ver = offered;
        settings.type = type;
        QCOMPARE(IsUpdateOffered(local, settings), update);
    }

    void speedStatus_data() {
        QTest::addColumn<unsigned>("progress");
        QTest::addColumn<double>("speed");
        QTest::addColumn<QString>("status");
        QTest::newRow("1536 KB/s") << 40u << 1536.0 << "[40%] 1.50 MB/S";
        QTest::newRow("1023 KB/s") << 40u << 1023.0 << "[40%] 1023 KB/S";
        QTest::newRow("cut to whole KB/s") << 7u << 1023.99 << "[7%] 1023 KB/S";
        QTest::newRow("1024 KB/s") << 100u << 1024.0 << "[100%] 1.00 MB/S";
        QTest::newRow("before a second passed") << 0u << 0.0 << "[0%] 0 KB/S";
    }

    void speedStatus() {
        QFETCH(unsigned, progress);
        QFETCH(double, speed);
        QFETCH(QString, status);
        QCOMPARE(SpeedStatus(progress, speed), status);
    }

    void serverAddresses_data() {
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("config");
        QTest::addColumn<QString>("installer");
        QTest::newRow("host") << "update.example.com"
                              << "http://update.example.com/LumoDesign/config.txt"
                              << "http://update.example.com/LumoDesign/setup.run";
        QTest::newRow("host and port") << "127.0.0.1:8080"
                                       << "http://127.0.0.1:8080/LumoDesign/config.txt"
                                       << "http://127.0.0.1:8080/LumoDesign/setup.run";
        QTest::newRow("https base") << "https://example.com/kv250/"
                                    << "https://example.com/kv250/LumoDesign/config.txt"
                                    << "https://example.com/kv250/LumoDesign/setup.run";
        QTest::newRow("http base") << "HTTP://example.com"
                                   << "HTTP://example.com/LumoDesign/config.txt"
                                   << "HTTP://example.com/LumoDesign/setup.run";
    }

    void serverAddresses() {
        QFETCH(QString, server);
        QFETCH(QString, config);
        QFETCH(QString, installer);
        QCOMPARE(ConfigUrl(server), QUrl(config));
        UpdateSettings settings;
        settings.url = server;
        settings.file = QStringLiteral("setup.run");
        QCOMPARE(InstallerUrl(settings), QUrl(installer));
    }

    // A key the server's file lacks keeps what an earlier file said; the names of the
    // downloaded installer and of its desktop copy keep the server's extension and never
    // leave their folders.
    void settingsFromTheServersFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("batchloader.dat"));
        UpdateSettings settings;
        WriteFile(path, "[update]\nver=1.2.3.4\nver2=1.2.3\nfile=setup.tar.gz\ntype=2\n"
                        "title=新版本\nsha256=AB12\n");
        ReadUpdateSettings(path, settings);
        WriteFile(path, "[UPDATE]\nver2=1.2.4\ntype=\n");
        ReadUpdateSettings(path, settings);
        QCOMPARE(settings.ver, "1.2.3.4");
        QCOMPARE(settings.ver2, "1.2.4");
        QCOMPARE(settings.file, "setup.tar.gz");
        QCOMPARE(settings.title, "新版本");
        QCOMPARE(settings.sha256, "AB12");
        QCOMPARE(settings.dir, "LumoDesign");
        QCOMPARE(settings.type, 0);
        WriteFile(path, "[update]\ntype=2\n");
        ReadUpdateSettings(path, settings);
        QCOMPARE(settings.type, 2);

        QCOMPARE(DownloadedInstallerName(settings), "batchloader_setup.gz");
        QCOMPARE(DesktopCopyName(settings), "designer文本软件v1.2.4.gz");
        settings.file = QStringLiteral("setup");
        QCOMPARE(DesktopCopyName(settings), "designer文本软件v1.2.4");
        settings.ver2 = QStringLiteral("1/../../../.profile");
        QCOMPARE(DesktopCopyName(settings), QString());
    }

    void versionComponent() {
        QTemporaryDir with;
        QVERIFY(QFile::copy(kComponent, with.filePath(QStringLiteral("GXGetVersion.so"))));
        const VersionTexts texts = ReadVersionComponent(with.path());
        QVERIFY(texts.loaded);
        QCOMPARE(texts.display, QStringLiteral(KV_PROJECT_VERSION));
        QCOMPARE(texts.version, QStringLiteral(KV_PROJECT_VERSION ".0"));

        QTemporaryDir without;
        const VersionTexts fallback = ReadVersionComponent(without.path());
        QVERIFY(!fallback.loaded);
        QCOMPARE(fallback.version, "1.0.1000.100");
        QCOMPARE(fallback.display, QString());
    }

    // A check asked for by the user says that this is the latest version; the temporary
    // folder is gone afterwards and an empty "auto" has been written as "1".
    void noUpdate() {
        UpdateServer server;
        server.Announce({QStringLiteral("ver=0.0.0.1"), QStringLiteral("type=1")});
        ProgramFolder folder(server.Host());
        Designer designer(folder);
        MessageWatcher messages;
        QVERIFY(!Check(designer, true));
        QCOMPARE(messages.Seen(), QStringList{"提示|当前已经最新版本！"});
        QCOMPARE(messages.Icons(), QList<QMessageBox::Icon>{QMessageBox::Warning});
        QCOMPARE(designer.updater.Settings().ver, "0.0.0.1");
        QVERIFY(!QFileInfo::exists(folder.Path(QStringLiteral("update"))));
        QCOMPARE(IniReadString("update", "auto", QString(), folder.Config()), "1");
        // The check at start-up says nothing.
        QVERIFY(!Check(designer));
        QCOMPARE(messages.Seen().size(), 1);
    }

    // With "auto" at 0 neither the check at start-up nor "立即检查" shows anything; without
    // the version component no update is offered; without a server nothing is said at
    // start-up.
    void checksThatShowNothing_data() {
        QTest::addColumn<QString>("autoCheck");
        QTest::addColumn<bool>("component");
        QTest::addColumn<bool>("serverUp");
        QTest::addColumn<bool>("manual");
        QTest::newRow("auto 0, start-up") << "0" << true << true << false;
        QTest::newRow("auto 0, check now") << "0" << true << true << true;
        QTest::newRow("no component") << "1" << false << true << false;
        QTest::newRow("no server") << "1" << true << false << false;
    }

    void checksThatShowNothing() {
        QFETCH(QString, autoCheck);
        QFETCH(bool, component);
        QFETCH(bool, serverUp);
        QFETCH(bool, manual);
        auto server = std::make_unique<UpdateServer>();
        server->Offer(1, Installer(1000), QByteArray());
        ProgramFolder folder(server->Host(), component);
        folder.SetAuto(autoCheck);
        if (!serverUp)
            server.reset();
        Designer designer(folder);
        MessageWatcher messages;
        QVERIFY(!Check(designer, manual));
        QCOMPARE(messages.Seen(), QStringList());
        QVERIFY(designer.window.isVisible());
    }

    // The dialog as an optional update opens it; "取消" returns to the maximised window.
    void optionalUpdate() {
        UpdateServer server;
        server.Offer(1, Installer(1000), QByteArray());
        ProgramFolder folder(server.Host());
        Designer designer(folder);
        DlgAutoCheckUpdate* dialog = Check(designer);
        QVERIFY(dialog);
        QVERIFY(designer.window.isVisible());
        QCOMPARE(dialog->windowTitle(), "软件升级 2.0.0");
        QCOMPARE(dialog->windowModality(), Qt::ApplicationModal);
        const auto colour = [dialog](const char* name) {
            return Child<QLabel>(dialog, name)->palette().color(QPalette::WindowText);
        };
        QCOMPARE(Child<QLabel>(dialog, "currentVersion")->text(), KV_PROJECT_VERSION);
        QCOMPARE(colour("currentVersion"), QColor(0, 0, 255));
        QCOMPARE(Child<QLabel>(dialog, "latestVersion")->text(), "2.0.0");
        QCOMPARE(colour("latestVersion"), QColor(255, 0, 0));
        QCOMPARE(Status(dialog), "如果没反应，请打开Varnel官网下载");
        QCOMPARE(colour("status"), QColor(100, 100, 100));
        QCOMPARE(Child<QProgressBar>(dialog, "progress")->value(), 0);
        QCOMPARE(Child<QProgressBar>(dialog, "progress")->maximum(), 100);
        QVERIFY(Child<QPushButton>(dialog, "startButton")->isDefault());

        // The check box writes "auto" at once.
        auto* autoCheck = Child<QCheckBox>(dialog, "autoCheck");
        QCOMPARE(autoCheck->text(), "每次启动软件都检查最新版本");
        QVERIFY(autoCheck->isChecked());
        autoCheck->click();
        QCOMPARE(IniReadString("update", "auto", QString(), folder.Config()), "0");
        autoCheck->click();
        QCOMPARE(IniReadString("update", "auto", QString(), folder.Config()), "1");

        designer.window.showNormal();
        Child<QPushButton>(dialog, "cancelButton")->click();
        QTRY_VERIFY(!designer.Dialog());
        QVERIFY(designer.window.isMaximized());
        QCOMPARE(designer.calls, QStringList());
    }

    // A mandatory update hides the main window; refusing it offers to save, then ends.
    void mandatoryUpdate() {
        UpdateServer server;
        server.Offer(2, Installer(1000), QByteArray());
        ProgramFolder folder(server.Host());
        Designer designer(folder);
        DlgAutoCheckUpdate* dialog = Check(designer);
        QVERIFY(dialog);
        QVERIFY(!designer.window.isVisible());
        dialog->reject();
        QTRY_VERIFY(!designer.Dialog());
        QCOMPARE(designer.calls, (QStringList{"save", "end"}));
    }

    // A complete download: progress to 100, the installer checked, copied to the XDG desktop
    // as "designer文本软件v" + ver2 with the server's extension, executable; then the project
    // is offered for saving, the installer opened and the designer ended, in this order.
    void downloadToTheEnd() {
        UpdateServer server;
        const QByteArray installer = Installer(200 * 1024 + 17);
        server.Offer(1, installer, Sha256(installer).toUpper());
        ProgramFolder folder(server.Host());
        Designer designer(folder);
        DlgAutoCheckUpdate* dialog = Check(designer);
        QVERIFY(dialog);
        QPointer<QProgressBar> progress = Child<QProgressBar>(dialog, "progress");
        Download(designer, dialog);
        QVERIFY(!designer.Dialog());
        const QString copy = QDir(Desktop()).filePath(kDesktopName);
        QCOMPARE(ReadFile(copy), installer);
        QVERIFY(QFileInfo(copy).isExecutable());
        QCOMPARE(ReadFile(folder.Path(QStringLiteral("batchloader_setup.run"))), installer);
        QCOMPARE(designer.calls, (QStringList{"save", QStringLiteral("open ") + copy, "end"}));
        QVERIFY(!QFileInfo::exists(folder.Path(QStringLiteral("update"))));
    }

    // A throttled server: the speed in KB/S or MB/S, at most every 800 ms.
    void speedWhileDownloading_data() {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("size");
        QTest::addColumn<QRegularExpression>("form");
        QTest::newRow("KB/S") << 300 * 1024 << 800 * 1024 << kKilobytes;
        QTest::newRow("MB/S") << 3 * 1024 * 1024 << 8 * 1024 * 1024 << kMegabytes;
    }

    void speedWhileDownloading() {
        QFETCH(int, rate);
        QFETCH(int, size);
        QFETCH(QRegularExpression, form);
        UpdateServer server({QStringLiteral("--rate"), QString::number(rate)});
        const QByteArray installer = Installer(size);
        server.Offer(1, installer, Sha256(installer));
        ProgramFolder folder(server.Host());
        Designer designer(folder);
        DlgAutoCheckUpdate* dialog = Check(designer);
        QVERIFY(dialog);
        StatusRecorder statuses(dialog);
        Download(designer, dialog);
        QCOMPARE(designer.calls.size(), 3);
        const QList<qint64> speeds = statuses.TimesOf(kKilobytes) + statuses.TimesOf(kMegabytes);
        QVERIFY2(!statuses.TimesOf(form).isEmpty(), qPrintable(statuses.Texts().join(" | ")));
        QVERIFY2(speeds.size() >= 2, qPrintable(statuses.Texts().join(" | ")));
        QList<qint64> sorted = speeds;
        std::sort(sorted.begin(), sorted.end());
        // The texts are seen when the recorder polls, late by however long a loaded machine
        // keeps it waiting; an unthrottled dialog would change them within milliseconds.
        for (qsizetype i = 1; i < sorted.size(); ++i)
            QVERIFY2(sorted[i] - sorted[i - 1] >= 600, qPrintable(statuses.Texts().join(" | ")));
        QCOMPARE(statuses.Texts().back(), "下载完成，即将安装！");
    }

    // "取消" while downloading: the partial file stays, the dialog stays open, ready again.
    void cancelWhileDownloading() {
        UpdateServer server({QStringLiteral("--rate"), QString::number(100 * 1024)});
        const QByteArray installer = Installer(4 * 1024 * 1024);
        server.Offer(1, installer, Sha256(installer));
        ProgramFolder folder(server.Host());
        Designer designer(folder);
        DlgAutoCheckUpdate* dialog = Check(designer);
        QVERIFY(dialog);
        Child<QPushButton>(dialog, "startButton")->click();
        QTRY_VERIFY_WITH_TIMEOUT(Child<QProgressBar>(dialog, "progress")->value() >= 1, 20000);
        Child<QPushButton>(dialog, "cancelButton")->click();
        QTRY_COMPARE_WITH_TIMEOUT(Status(dialog), "下载时已被用户取消！", 10000);
        QVERIFY(dialog->isVisible());
        QVERIFY(Child<QPushButton>(dialog, "startButton")->isEnabled());
        QVERIFY(!Child<QPushButton>(dialog, "cancelButton")->isEnabled());
        const qint64 partial =
            QFileInfo(folder.Path(QStringLiteral("batchloader_setup.run"))).size();
        QVERIFY(partial > 0 && partial < installer.size());
        QVERIFY(!QFileInfo::exists(Desktop()));
        dialog->reject();
        QTRY_VERIFY(!designer.Dialog());
        QCOMPARE(designer.calls, QStringList());
    }

    // The server drops the connection: the error's text in the status, the designer goes on
    // and "开始更新" is there for another try.
    void networkError() {
        UpdateServer server({QStringLiteral("--drop-after"), QString::number(300 * 1024)});
        const QByteArray installer = Installer(1024 * 1024);
        server.Offer(2, installer, Sha256(installer));
        ProgramFolder folder(server.Host());
        Designer designer(folder);
        DlgAutoCheckUpdate* dialog = Check(designer);
        QVERIFY(dialog);
        MessageWatcher messages;
        Download(designer, dialog);
        QVERIFY(dialog->isVisible());
        QVERIFY(Child<QPushButton>(dialog, "startButton")->isEnabled());
        QVERIFY2(!Status(dialog).isEmpty() && !Status(dialog).contains(u'%') &&
                     !Status(dialog).startsWith(QStringLiteral("下载")),
                 qPrintable(Status(dialog)));
        QCOMPARE(messages.Seen(), QStringList());
        QCOMPARE(designer.calls, QStringList());
        QVERIFY(!QFileInfo::exists(Desktop()));
    }

    // An installer without its SHA-256 or with another one is deleted and refused: nothing
    // on the desktop, nothing opened, the designer goes on.
    void installerRefused_data() {
        QTest::addColumn<QByteArray>("sha256");
        QTest::newRow("no sha256") << QByteArray();
        QTest::newRow("another sha256") << Sha256("another installer");
    }

    void installerRefused() {
        QFETCH(QByteArray, sha256);
        UpdateServer server;
        server.Offer(1, Installer(50 * 1024), sha256);
        ProgramFolder folder(server.Host());
        Designer designer(folder);
        DlgAutoCheckUpdate* dialog = Check(designer);
        QVERIFY(dialog);
        MessageWatcher messages;
        Download(designer, dialog);
        QCOMPARE(messages.Seen(),
                 QStringList{"提示|[3] 安装文件校验失败，请去Varnel官网下载最新版本！"});
        QVERIFY(dialog->isVisible());
        QVERIFY(!QFileInfo::exists(folder.Path(QStringLiteral("batchloader_setup.run"))));
        QVERIFY(!QFileInfo::exists(Desktop()));
        QCOMPARE(designer.calls, QStringList());
    }

    // "更新设置": the installed version, "auto" written at once, and "立即检查" with its answer.
    void settingsDialog() {
        UpdateServer server;
        server.Announce({QStringLiteral("ver=0.0.0.1"), QStringLiteral("type=1")});
        ProgramFolder folder(server.Host());
        Designer designer(folder);
        MessageWatcher messages;
        QSignalSpy finished(&designer.updater, &CUpdater::checkFinished);
        QString version;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<DlgAutoSetUpdate*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), "更新设置");
            version = Child<QLabel>(dialog, "version")->text();
            auto* autoCheck = Child<QCheckBox>(dialog, "autoCheck");
            QCOMPARE(autoCheck->text(), "软件每次启动时自动检查更新");
            autoCheck->click();
            QCOMPARE(IniReadString("update", "auto", QString(), folder.Config()), "0");
            autoCheck->click();
            Child<QPushButton>(dialog, "checkNowButton")->click();
            QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 20000);
            Child<QPushButton>(dialog, "okButton")->click();
        });
        designer.updater.ShowSettings();
        QCOMPARE(version, QStringLiteral("当前版本：" KV_PROJECT_VERSION));
        QCOMPARE(messages.Seen(), QStringList{"提示|当前已经最新版本！"});
    }
};

QTEST_MAIN(UpdaterTest)
#include "tst_updater.moc"

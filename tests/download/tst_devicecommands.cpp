// The device commands driven through the main window against the simulated panel, which this
// test program carries preloaded: the compile and download dialogs, the Emulator start with a
// stand-in Emulator, the batch tool dialog and the serial port list. The program runs in a
// program folder of its own (the publish and "setting.ini" live there) and in a mount
// namespace with a /dev/shm of its own (the hand-over's name is fixed).

#include "AtomicFile.h"
#include "BatchTool.h"
#include "BatchToolSettings.h"
#include "ByteOrder.h"
#include "CodePage.h"
#include "DlgBatchTool.h"
#include "DlgDownStatus.h"
#include "DlgEnumCom.h"
#include "Ini.h"
#include "KoravelDoc.h"
#include "MainFrm.h"
#include "ProjectChecker.h"
#include "PLCFactory.h"
#include "ProgramFolder.h"
#include "TextFont.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "PanelSimEnvironment.h"
#include "PrivateMountNamespace.h"

#include <cstdio>
#include <functional>

namespace {

const QString kDemo = QStringLiteral(KV_BIN_DIR "/demo/demo.kvpr");
const QString kHandover = QStringLiteral("/dev/shm/RV_KV_250_Monitor");

const CPLCFactory& Catalog() {
    static CPLCFactory catalog;
    static const bool loaded = catalog.Load(KV_BIN_DIR "/Factory.dll");
    Q_ASSERT(loaded);
    return catalog;
}

QByteArray Contents(const QString& path) {
    QByteArray data;
    return ReadWholeFile(path, data) ? data : QByteArray("<missing>");
}

int ThreadCount() {
    return int(QDir(QStringLiteral("/proc/self/task"))
                   .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                   .size());
}

// The project check's warning before a command; the demo has an error, so every command on it
// warns. The fixture answers it; other steps leave it alone.
const QString kCheckWarning = QStringLiteral("checkWarning");

// Runs `step` with the active modal widget once it is a `T` named `name` (any name but the
// check warning's when empty); looks again every 20 ms, so that the dialogs below it can end
// meanwhile.
template <class T> void OnModal(const QString& name, std::function<void(T*)> step) {
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, name, step] {
        auto* widget = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!widget || (name.isEmpty() ? widget->objectName() == kCheckWarning
                                       : widget->objectName() != name))
            return;
        timer->stop();
        timer->deleteLater();
        step(widget);
    });
    timer->start();
}

// Answers the next message box with `button` and keeps its text.
void Answer(QMessageBox::StandardButton button, QString* text = nullptr) {
    OnModal<QMessageBox>({}, [button, text](QMessageBox* box) {
        if (text)
            *text = box->text();
        box->button(button)->click();
    });
}

// Answers the next file dialog named `name` with `path`, or cancels it when `path` is empty.
void AnswerFile(const QString& name, const QString& path) {
    OnModal<QFileDialog>(name, [path](QFileDialog* dialog) {
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        // The name goes into the dialog's own name field: selecting a whole path of a file
        // that does not exist yet depends on the dialog's folder model having loaded.
        dialog->setDirectory(QFileInfo(path).path());
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QFileInfo(path).fileName());
        static_cast<QDialog*>(dialog)->accept(); // as the dialog's own button does
    });
}

// The log lines without their time stamps.
QStringList LogLines(const DlgDownStatus* dialog) {
    const auto* list = dialog->findChild<QListWidget*>(QStringLiteral("logList"));
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text().remove(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d "));
    return lines;
}

QAbstractButton* Button(const QWidget* dialog, const char* name) {
    return dialog->findChild<QAbstractButton*>(QString::fromLatin1(name));
}

// Presses "开始下载" and waits until that download has ended.
QStringList DownloadOnce(DlgDownStatus* dialog) {
    QSignalSpy ended(dialog, &DlgDownStatus::downloadEnded);
    Button(dialog, "startButton")->click();
    if (!ended.wait(60000))
        return {QStringLiteral("<the download did not end>")};
    QCoreApplication::processEvents();
    return LogLines(dialog);
}

// The simulated panel's settings for the next download; the panel reads them when the USB is
// opened.
void SetPanel(const std::map<QString, QString>& settings) {
    for (const char* name : {"KV_PANELSIM_MODEL", "KV_PANELSIM_PLC_RUNNING", "KV_PANELSIM_ABSENT",
                             "KV_PANELSIM_DELAY_MS"})
        qunsetenv(name);
    for (const auto& [name, value] : settings)
        qputenv(name.toLatin1().constData(), value.toUtf8());
}

} // namespace

class DeviceCommandsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    QByteArray m_demoImage;
    QByteArray m_demoDriver;
    // Every check warning shown, answered with `m_goOn`.
    QTimer m_checkAnswers;
    QStringList m_checkWarnings;
    int m_threadsAfterDialog = 0;
    QMessageBox::StandardButton m_goOn = QMessageBox::Yes;

    QString Home(const QString& name) const { return m_home.filePath(name); }

    // The demo, opened from a copy that the commands may save.
    void OpenDemo(CMainFrame& frame, const QString& name = QStringLiteral("demo.kvpr")) {
        QFile::remove(Home(name));
        QVERIFY(QFile::copy(kDemo, Home(name)));
        QVERIFY(frame.OpenProject(Home(name)));
        // The project check's worker exists before threads are counted.
        QVERIFY(QTest::qWaitFor([&] { return !frame.Checker().IsPending(); }, 10000));
    }

    // The download dialog of the demo: `inDialog` runs in it, then the dialog is closed.
    void WithDownloadDialog(const std::function<void(DlgDownStatus*)>& inDialog) {
        CKoravelDoc doc(Catalog());
        CMainFrame frame(doc);
        OpenDemo(frame);
        bool shown = false;
        bool busy = false;
        OnModal<DlgDownStatus>(QStringLiteral("downloadDialog"), [&](DlgDownStatus* dialog) {
            shown = true;
            busy = doc.IsBusy();
            inDialog(dialog);
            dialog->reject();
        });
        frame.Action("download")->trigger();
        // Counted while the window, and with it the check's worker, still exists.
        m_threadsAfterDialog = ThreadCount();
        QVERIFY(shown);
        QVERIFY2(busy, "a worker owns the project while the dialog is open");
        QVERIFY(!doc.IsBusy());
    }

private slots:
    void initTestCase() {
        QVERIFY(m_home.isValid());
        m_checkAnswers.setInterval(20);
        connect(&m_checkAnswers, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box && box->objectName() == kCheckWarning) {
                m_checkWarnings << box->text();
                box->button(m_goOn)->click();
            }
        });
        m_checkAnswers.start();
        qputenv("XDG_CONFIG_HOME", Home("config").toUtf8());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Home("config"));
        // The program folder of this test: the shared PLC drivers and USB driver folder.
        for (const char* shared : {"PLC", "usb_driver"}) {
            const QString link = ProgramFilePath(QString::fromLatin1(shared));
            QFile::remove(link);
            QVERIFY(QFile::link(QStringLiteral(KV_BIN_DIR "/") + shared, link));
        }
        QVERIFY(QDir().mkpath(Home("panel")));
        qputenv("KV_PANELSIM_DIR", Home("panel").toUtf8());

        QProcess designer;
        designer.start(KV_BIN_DIR "/designer", {"--compile", kDemo, "--output", Home("demo.dat")});
        QVERIFY(designer.waitForFinished(60000));
        QCOMPARE(designer.exitCode(), 0);
        m_demoImage = Contents(Home("demo.dat"));
        m_demoDriver = Contents(KV_BIN_DIR "/PLC/2-COMPACT_PORT.bin");
        QVERIFY(!m_demoDriver.startsWith("<missing>"));
    }

    void init() {
        m_checkWarnings.clear();
        m_goOn = QMessageBox::Yes;
        QSettings(QStringLiteral("Halvern-Koravel"), QStringLiteral("designer")).clear();
        SetPanel({});
    }

    void downloadOfTheDemoFromTheMenuThenAgainSkippedByMd5() {
        QDir(Home("panel")).removeRecursively();
        QVERIFY(QDir().mkpath(Home("panel")));
        int threads = 0;
        QStringList first, second;
        WithDownloadDialog([&](DlgDownStatus* dialog) {
            threads = ThreadCount();
            first = DownloadOnce(dialog);
            second = DownloadOnce(dialog);
        });
        QCOMPARE(m_threadsAfterDialog, threads);
        QCOMPARE(first.mid(0, 6),
                 (QStringList{"读取型号成功！", "正在准备下载...", "正在下载驱动文件...",
                              "[N] 驱动文件  254 Bit", "正在下载工程文件...", first[5]}));
        QVERIFY(first[5].startsWith("[N] 工程文件  "));
        QVERIFY(first.last().startsWith("下载重启完毕，共耗时: "));
        QCOMPARE(Contents(Home("panel/com1prog.bin")), m_demoDriver);
        QCOMPARE(Contents(Home("panel/sheetpara.dat")), m_demoImage);
        QVERIFY(second.contains("[Y] 驱动文件  254 Bit"));
        QVERIFY(second.contains(QString(first[5]).replace("[N]", "[Y]")));
        QVERIFY(second.last().startsWith("下载重启完毕，共耗时: "));
        QCOMPARE(m_checkWarnings,
                 QStringList{"检查工程发现 1 个错误，面板会出错。第一个：\n画面 1  元件 3 (寄存器)："
                             "输入上限 4294967295 超出寄存器的范围 -32768～32767，面板读作 -1\n\n"
                             "仍然继续吗？"});
    }

    void theCheckWarningStopsTheCommandWhenTheUserSaysNo() {
        m_goOn = QMessageBox::No;
        CKoravelDoc doc(Catalog());
        CMainFrame frame(doc);
        OpenDemo(frame);
        const QDateTime saved = QFileInfo(Home("demo.kvpr")).lastModified();
        for (const char* command : {"download", "emulator", "batch-download"}) {
            frame.Action(command)->trigger();
            QCOMPARE(QApplication::activeModalWidget(), nullptr);
        }
        QCOMPARE(m_checkWarnings.size(), 3);
        QCOMPARE(QFileInfo(Home("demo.kvpr")).lastModified(), saved);
    }

    void downloadFailuresEndInTheirLogLines() {
        struct Case {
            std::map<QString, QString> panel;
            QStringList lines;
            bool asked = false;
        } const cases[] = {
            {{{"KV_PANELSIM_ABSENT", "1"}}, {"USB连接失败，找不到KV250设备！"}},
            {{{"KV_PANELSIM_MODEL", "210"}}, {"读取型号错误！", "硬件型号: 210    工程型号: 200"}},
            {{{"KV_PANELSIM_PLC_RUNNING", "1"}},
             {"一体机PLC正在运行，建议取消下载...", "硬件型号: 200    工程型号: 200",
              "一体机PLC正在运行，手动取消下载！"},
             true},
        };
        for (const Case& c : cases) {
            SetPanel(c.panel);
            QString question;
            QStringList lines;
            bool startEnabled = false;
            WithDownloadDialog([&](DlgDownStatus* dialog) {
                if (c.asked)
                    Answer(QMessageBox::No, &question);
                lines = DownloadOnce(dialog);
                startEnabled = Button(dialog, "startButton")->isEnabled();
            });
            QCOMPARE(lines, c.lines);
            QVERIFY(startEnabled);
            if (c.asked)
                QCOMPARE(question,
                         QStringLiteral("一体机PLC正在运行，是否强制下载？\n\n提示：为了安"
                                        "全起见，建议关闭PLC后再下载！"));
        }
    }

    void closingDuringADownloadAbortsAndWaitsForTheWorker() {
        SetPanel({{"KV_PANELSIM_DELAY_MS", "300"}});
        int threads = 0;
        QElapsedTimer closing;
        QStringList lines;
        WithDownloadDialog([&](DlgDownStatus* dialog) {
            threads = ThreadCount();
            QObject::connect(dialog, &DlgDownStatus::downloadEnded,
                             [&lines, dialog] { lines = LogLines(dialog); });
            Button(dialog, "startButton")->click();
            QVERIFY(QTest::qWaitFor(
                [&] { return LogLines(dialog).contains("正在下载驱动文件..."); }, 30000));
            closing.start();
            dialog->reject();
            QVERIFY(dialog->isVisible());
            QVERIFY(!Button(dialog, "closeButton")->isEnabled());
        });
        // The reply delay is far below the USB timeout (20 s): the worker ends at its next step.
        QVERIFY2(closing.elapsed() < 5000, qPrintable(QString::number(closing.elapsed())));
        QVERIFY2(lines.contains(QStringLiteral("正在停止下载，请稍候...")),
                 qPrintable(lines.join('|')));
        QVERIFY(!lines.last().startsWith("下载重启完毕"));
        QCOMPARE(m_threadsAfterDialog, threads);
    }

    void aProjectNeverSavedIsNotCompiled() {
        for (const char* command : {"download", "emulator", "batch-download"}) {
            CKoravelDoc doc(Catalog());
            CMainFrame frame(doc);
            QVERIFY2(!frame.Action(command)->isEnabled(), "nothing to compile without a PLC");
            QVERIFY(frame.Action("serial-ports")->isEnabled());
            doc.NewProject(Catalog().GetPLC(2), CCommPara());
            QVERIFY(frame.Action(command)->isEnabled());
            QString text;
            Answer(QMessageBox::Ok, &text);
            frame.Action(command)->trigger();
            QCOMPARE(text, QStringLiteral("请先保存工程！"));
            QVERIFY(doc.Path().isEmpty());
            QVERIFY(!doc.IsBusy());
        }
    }

    void emulatorGetsTheImageInSharedMemoryWhileTheDesignerGoesOn() {
        const QString settings = ProgramFilePath("setting.ini");
        QVERIFY(IniWriteString("Header", "Monitor", KV_TEST_DIR "/emulator_standin", settings));
        qputenv("KV_STANDIN_RECORD", Home("standin").toUtf8());
        qputenv("KV_STANDIN_RELEASE", Home("release").toUtf8());
        QFile::remove(Home("release"));

        CKoravelDoc doc(Catalog());
        CMainFrame frame(doc);
        OpenDemo(frame);
        frame.Action("emulator")->trigger();
        // The compile dialog has ended; the Emulator runs and the window is free to use.
        QVERIFY(QTest::qWaitFor([&] { return QFile::exists(Home("standin.args")); }, 30000));
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QVERIFY(!doc.IsBusy());
        QVERIFY(frame.Action("new-frame")->isEnabled());
        QVERIFY(QFile::exists(kHandover));

        QCOMPARE(Contents(Home("standin.args")), QByteArray("RV_KV_250_Monitor\n"));
        const QByteArray handover = Contents(Home("standin.shm"));
        QCOMPARE(m_demoImage.size() % 4, 0);
        QCOMPARE(qsizetype(GetBE32(handover, 0)), m_demoImage.size());
        QCOMPARE(handover.size(), 5 + m_demoImage.size());
        const auto key = std::uint8_t(handover[4]);
        QVERIFY(key < 128);
        QByteArray image = handover.mid(5);
        for (char& byte : image)
            byte = char(std::uint8_t(byte) ^ key);
        QCOMPARE(image, m_demoImage);

        QVERIFY(WriteFileAtomically(Home("release"), "go"));
        QVERIFY2(QTest::qWaitFor([] { return !QFile::exists(kHandover); }, 10000),
                 "the hand-over is removed once the Emulator has ended");

        // Without the program: the message, the default path written back, no hand-over left.
        QVERIFY(IniWriteString("Header", "Monitor", Home("missing"), settings));
        QString text;
        Answer(QMessageBox::Ok, &text);
        frame.Action("emulator")->trigger();
        QCOMPARE(text, QStringLiteral("m_bMonitor ERROR"));
        QCOMPARE(IniReadString("Header", "Monitor", "", settings), ProgramFilePath("Emulator"));
        QVERIFY(!QFile::exists(kHandover));
        QFile::remove(settings);
    }

    void batchToolDialogMakesToolsThatDownload() {
        const QString batchTool = ProgramFilePath("BatchTool/Varnel.hmi");
        CKoravelDoc doc(Catalog());
        CMainFrame frame(doc);
        OpenDemo(frame);
        struct Made {
            QString message;
            bool written = false;
        };
        std::vector<Made> made;
        bool archiveWhileOpen = false;
        BatchToolSettings stored;
        OnModal<DlgBatchTool>(QStringLiteral("batchToolDialog"), [&](DlgBatchTool* dialog) {
            const auto closeAtEnd = qScopeGuard([dialog] { dialog->close(); });
            archiveWhileOpen = QFile::exists(batchTool);
            auto* plcFile = dialog->findChild<QLineEdit*>("plcFileEdit");
            QVERIFY(!plcFile->isEnabled());
            QVERIFY(!Button(dialog, "plcFileButton")->isEnabled());
            QCOMPARE(plcFile->text(), QStringLiteral("梯形图程序仅限 『VarnelLX一体机型号』 使用"));

            auto* make = Button(dialog, "makeButton");
            const auto generate = [&](const QString& password, bool login, const QString& out) {
                dialog->findChild<QLineEdit*>("titleEdit")->setText("生产线 3");
                dialog->findChild<QLineEdit*>("passwordEdit")->setText(password);
                dialog->findChild<QCheckBox*>("loginCheck")->setChecked(login);
                QString message;
                if (!out.isEmpty())
                    Answer(QMessageBox::Ok, &message);
                AnswerFile("outputDialog", out);
                make->click();
                if (!out.isEmpty())
                    QVERIFY(QTest::qWaitFor([&] { return make->isEnabled() && !message.isEmpty(); },
                                            30000));
                made.push_back({message, QFile::exists(out)});
            };
            generate("0123456789abcdef", true, Home("tool16.exe"));
            generate("0123456789abcdefg", true, Home("tool17.exe"));
            QCOMPARE(dialog->focusWidget(), dialog->findChild<QLineEdit*>("passwordEdit"));
            generate("kept but not asked", false, Home("open.exe"));
            stored = LoadBatchToolSettings(ProgramFilePath(kBatchToolSettingsFile));
            generate("0123456789abcdef", true, QString());
            QVERIFY(make->isEnabled());
        });
        frame.Action("batch-download")->trigger();

        QVERIFY(archiveWhileOpen);
        QVERIFY2(!QFile::exists(batchTool), "closing the dialog removes the package");
        QCOMPARE(made.size(), std::size_t(4));
        QCOMPARE(made[0].message, QStringLiteral("生成批量下载器 —— 操作成功！"));
        QCOMPARE(made[1].message, QStringLiteral("密码长度最大为 16 字符！"));
        QVERIFY(!made[1].written);
        QCOMPARE(made[2].message, QStringLiteral("生成批量下载器 —— 操作成功！"));
        QVERIFY2(!made[3].written, "a cancelled save dialog writes nothing");
        QCOMPARE(QDir(m_home.path()).entryList({"*.exe"}), (QStringList{"open.exe", "tool16.exe"}));

        const std::optional<BatchTool> login = ReadBatchTool(Contents(Home("tool16.exe")));
        QVERIFY(login);
        QVERIFY(login->login);
        QCOMPARE(login->password, QByteArray("0123456789abcdef"));
        QCOMPARE(login->title, ToSystemCodePage("生产线 3"));
        const std::optional<BatchTool> open = ReadBatchTool(Contents(Home("open.exe")));
        QVERIFY(open);
        QVERIFY(!open->login);
        QCOMPARE(stored.password, QStringLiteral("kept but not asked"));
        QVERIFY(!stored.bpass);

        // The tool made in the window downloads on its own.
        QVERIFY(QDir().mkpath(Home("toolpanel")));
        QProcess tool;
        tool.setProcessEnvironment(PanelSimEnvironment(Home("toolpanel"), {}));
        tool.start(Home("tool16.exe"), {"--headless", "--password", "0123456789abcdef"});
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), 0);
        QCOMPARE(Contents(Home("toolpanel/com1prog.bin")), m_demoDriver);
        QCOMPARE(Contents(Home("toolpanel/sheetpara.dat")), m_demoImage);
    }

    void ladderProgramFieldOnlyForTheIntegratedPlc() {
        CKoravelDoc doc(Catalog());
        CMainFrame frame(doc);
        doc.NewProject(Catalog().GetPLC(3), CCommPara());
        QVERIFY(doc.Save(Home("qflx.kvpr")));
        bool enabled = false;
        QString text;
        OnModal<DlgBatchTool>(QStringLiteral("batchToolDialog"), [&](DlgBatchTool* dialog) {
            enabled = dialog->findChild<QLineEdit*>("plcFileEdit")->isEnabled() &&
                      Button(dialog, "plcFileButton")->isEnabled();
            text = dialog->findChild<QLineEdit*>("plcFileEdit")->text();
            dialog->close();
        });
        frame.Action("batch-download")->trigger();
        QVERIFY(enabled);
        QCOMPARE(text, QStringLiteral("请选择一个PMW类型的文件"));
    }

    void serialPortListShowsTheFriendlyNames() {
        const struct {
            QString system;
            QString friendly;
            QString description;
        } cases[] = {
            {"FT232R USB UART", "FT232R USB UART (ttyUSB0)", "FT232R USB UART"},
            {"", "ttyUSB0", "ttyUSB0"},
        };
        for (const auto& c : cases) {
            const SerialPortRecord record =
                MakeSerialPortRecord("/dev/ttyUSB0", "ttyUSB0", c.system, true);
            QCOMPARE(record.friendlyName, c.friendly);
            QCOMPARE(record.description, c.description);
        }

        CKoravelDoc doc(Catalog());
        CMainFrame frame(doc);
        QStringList listed;
        OnModal<DlgEnumCom>(QStringLiteral("serialPortDialog"), [&](DlgEnumCom* dialog) {
            const auto* list = dialog->findChild<QListWidget*>("portList");
            for (int i = 0; i < list->count(); ++i)
                listed << list->item(i)->text();
            QCOMPARE(dialog->windowTitle(), QStringLiteral("枚举串口"));
            Button(dialog, "exitButton")->click();
        });
        frame.Action("serial-ports")->trigger();
        QStringList expected;
        for (const SerialPortRecord& record : EnumSerialPorts())
            expected << record.friendlyName;
        QCOMPARE(listed, expected);
    }
};

int main(int argc, char** argv) {
    // The hand-over's name is the same for every designer on the machine: this test gets a
    // /dev/shm of its own.
    if (!EnterPrivateMountNamespace() ||
        mount("tmpfs", "/dev/shm", "tmpfs", MS_NOSUID | MS_NODEV, "size=64m") != 0) {
        std::perror("cannot mount a private /dev/shm");
        return 1;
    }
    QApplication app(argc, argv);
    RegisterFontSubstitutions();
    DeviceCommandsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_devicecommands.moc"

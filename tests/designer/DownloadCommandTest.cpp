// designer --download against the simulated panel, loaded with LD_PRELOAD into the designer:
// what the designer adds to the conversation is the compile, the driver of the project's PLC
// and the driver variants that the panels with an integrated PLC take from the program folder.

#include "AtomicFile.h"
#include "KoravelProject.h"
#include "PLCFactory.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "PanelSimEnvironment.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

namespace {

const QString kDemo = QStringLiteral(KV_BIN_DIR "/demo/demo.kvpr");
constexpr std::uint16_t kQflxPlc = 3;

struct Outcome {
    int exitCode = -1;
    QStringList lines; // without time stamps, sizes and the elapsed time
    QString err;
    QList<QByteArray> frames; // the panel's frame log
};

QByteArray FileBytes(const QString& path) {
    QByteArray bytes;
    return ReadWholeFile(path, bytes) ? bytes : QByteArray("<missing>");
}

// Time stamps go; file sizes and the elapsed time become placeholders, so that the lines do
// not change with the demo project.
QStringList LogLines(const QByteArray& out) {
    const QRegularExpression stamp("^\\d\\d:\\d\\d:\\d\\d (.*)$");
    const QRegularExpression size("  (\\d+ Bit|\\d+\\.\\d\\d KB)$");
    const QRegularExpression elapsed("^(下载重启完毕，共耗时: )\\d+\\.\\d\\ds$");
    QStringList lines;
    for (const QString& line : QString::fromUtf8(out).split('\n', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = stamp.match(line);
        EXPECT_TRUE(match.hasMatch()) << line.toStdString();
        QString text = match.captured(1);
        text.replace(size, "  <size>");
        text.replace(elapsed, "\\1<elapsed>");
        lines << text;
    }
    return lines;
}

// What the panel should have received.
enum class Source { DemoDriver, DemoImage, Qflx20, Qflx32, QflxImage };
enum class Project { Demo, Qflx };

class DesignerDownload : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_fixtures = new QTemporaryDir;
        ASSERT_TRUE(s_fixtures->isValid());
        CPLCFactory catalog;
        ASSERT_TRUE(catalog.Load(KV_BIN_DIR "/Factory.dll"));

        CKoravelProject demo;
        QStringList messages;
        ASSERT_TRUE(demo.LoadBytes(FileBytes(kDemo), catalog, messages));
        ASSERT_NE(demo.m_pCurrentPLC->GetProtocolID(), kQflxPlc);
        s_demoDriver = FileBytes(DriverFilePathIn(demo.m_pCurrentPLC->GetPTCFile()));

        // The smallest project for the panels with an integrated PLC: one empty frame.
        CKoravelProject qflx;
        qflx.m_pCurrentPLC = catalog.GetPLC(kQflxPlc);
        ASSERT_NE(qflx.m_pCurrentPLC, nullptr);
        qflx.CreateDefaultFrame();
        ASSERT_TRUE(qflx.SavePlain(QflxProject()));

        s_demoImage = Compiled(kDemo);
        s_qflxImage = Compiled(QflxProject());
    }

    static void TearDownTestSuite() {
        delete s_fixtures;
        s_fixtures = nullptr;
    }

    static QString DriverFilePathIn(const QString& name) { return KV_BIN_DIR "/PLC/" + name; }
    static QString QflxProject() { return s_fixtures->filePath("qflx.kvpr"); }
    static QString ProjectPath(Project project) {
        return project == Project::Demo ? kDemo : QflxProject();
    }

    // designer --compile's image of `project`.
    static QByteArray Compiled(const QString& project) {
        const QString image = s_fixtures->filePath(QFileInfo(project).baseName() + ".dat");
        QProcess designer;
        designer.start(KV_BIN_DIR "/designer", {"--compile", project, "--output", image});
        EXPECT_TRUE(designer.waitForFinished(60000));
        EXPECT_EQ(designer.exitCode(), 0) << designer.readAllStandardError().data();
        return FileBytes(image);
    }

    static QByteArray Content(Source source) {
        switch (source) {
        case Source::DemoDriver:
            return s_demoDriver;
        case Source::DemoImage:
            return s_demoImage;
        case Source::Qflx20:
            return FileBytes(DriverFilePathIn("3-QFLX_20.bin"));
        case Source::Qflx32:
            return FileBytes(DriverFilePathIn("3-QFLX_32.bin"));
        case Source::QflxImage:
            break;
        }
        return s_qflxImage;
    }

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkpath("panel"));
    }

    Outcome Download(const QStringList& args, const std::map<QString, QString>& panelEnv = {}) {
        const QString log = dir.filePath(QStringLiteral("frames-%1.log").arg(++m_runs));
        QProcessEnvironment env = PanelSimEnvironment(dir.filePath("panel"), panelEnv);
        env.insert("KV_PANELSIM_LOG", log);

        QProcess designer;
        designer.setProcessEnvironment(env);
        designer.start(KV_BIN_DIR "/designer", QStringList{"--download"} + args);
        Outcome run;
        if (!designer.waitForFinished(60000) || designer.exitStatus() != QProcess::NormalExit) {
            ADD_FAILURE() << "designer did not finish: " << designer.readAllStandardError().data();
            return run;
        }
        run.exitCode = designer.exitCode();
        run.lines = LogLines(designer.readAllStandardOutput());
        run.err = QString::fromUtf8(designer.readAllStandardError());
        QFile frames(log);
        if (frames.open(QIODevice::ReadOnly)) {
            for (const QByteArray& frame : frames.readAll().split('\n')) {
                if (!frame.isEmpty())
                    run.frames << frame;
            }
        }
        return run;
    }

    QByteArray Received(const QString& name) const {
        return FileBytes(dir.filePath("panel/" + name));
    }

    QStringList ReceivedNames() const {
        QStringList names = QDir(dir.filePath("panel")).entryList(QDir::Files);
        names.removeAll("panelsim.md5");
        return names;
    }

    QTemporaryDir dir;

private:
    static inline QTemporaryDir* s_fixtures = nullptr;
    static inline QByteArray s_demoDriver;
    static inline QByteArray s_demoImage;
    static inline QByteArray s_qflxImage;
    int m_runs = 0;
};

const QStringList kStart{"读取型号成功！", "正在准备下载...", "正在下载驱动文件..."};
const QString kDriverSent = QStringLiteral("[N] 驱动文件  <size>");
const QString kProject = QStringLiteral("正在下载工程文件...");
const QString kImageSent = QStringLiteral("[N] 工程文件  <size>");
const QStringList kFinish{"组态下载完毕...", "写入Flash操作成功...", "正在重启KV250...",
                          "下载重启完毕，共耗时: <elapsed>"};
const QStringList kDelivered = kStart + QStringList{kDriverSent, kProject, kImageSent} + kFinish;
const QString kDriverFailed = QStringLiteral("下载驱动文件出错，请检查USB连接线...");
const QString kRunning = QStringLiteral("一体机PLC正在运行，建议取消下载...");
const QString kFast = QStringLiteral("0.001"); // USB timeouts of 5 to 20 ms

using Files = std::vector<std::pair<QString, Source>>;
const Files kDemoFiles{{"com1prog.bin", Source::DemoDriver}, {"sheetpara.dat", Source::DemoImage}};

struct Scenario {
    const char* name;
    Project project;
    bool force;
    std::map<QString, QString> env;
    int exitCode;
    QStringList lines;
    Files files;
};

const Scenario kScenarios[] = {
    {"DeliversTheDriverAndTheCompiledImage", Project::Demo, false, {}, 0, kDelivered, kDemoFiles},
    {"NakOnTheFirstDataFrameIsRetried",
     Project::Demo,
     false,
     {{"KV_PANELSIM_NAK_FRAME", "2"}},
     0,
     kStart + QStringList{kDriverSent, "CRC错误 , retrying...", kDriverSent, kProject, kImageSent} +
         kFinish,
     kDemoFiles},
    {"DroppedAcknowledgementFails",
     Project::Demo,
     false,
     {{"KV_PANELSIM_DROP_ACK_FRAME", "2"}, {"KV_PANELSIM_TIMEOUT_SCALE", kFast}},
     1,
     kStart +
         QStringList{kDriverSent, "下载超时 , retrying...", "手动取消, retrying...", kDriverFailed},
     {}},
    {"FlashWriteRefused",
     Project::Demo,
     false,
     {{"KV_PANELSIM_REFUSE_FLASH", "1"}},
     1,
     kStart + QStringList{kDriverSent, kProject, kImageSent, "组态下载完毕...", "写入Flash失败！"},
     {}},
    {"NoPanel",
     Project::Demo,
     false,
     {{"KV_PANELSIM_ABSENT", "1"}},
     1,
     {"USB连接失败，找不到KV250设备！"},
     {}},
    {"RunningPlcWithoutForce",
     Project::Demo,
     false,
     {{"KV_PANELSIM_PLC_RUNNING", "1"}},
     1,
     {kRunning, "硬件型号: 200    工程型号: 200", "一体机PLC正在运行，手动取消下载！"},
     {}},
    {"RunningPlcForced",
     Project::Demo,
     true,
     {{"KV_PANELSIM_PLC_RUNNING", "1"}},
     0,
     QStringList{kRunning} + kDelivered,
     kDemoFiles},
    {"Model210RefusedForAnotherPlc",
     Project::Demo,
     false,
     {{"KV_PANELSIM_MODEL", "210"}},
     1,
     {"读取型号错误！", "硬件型号: 210    工程型号: 200"},
     {}},
    {"Model210TakesItsDriverVariant",
     Project::Qflx,
     false,
     {{"KV_PANELSIM_MODEL", "210"}},
     0,
     kDelivered,
     {{"com1prog.bin", Source::Qflx20}, {"sheetpara.dat", Source::QflxImage}}},
    {"Model220TakesItsDriverVariant",
     Project::Qflx,
     false,
     {{"KV_PANELSIM_MODEL", "220"}},
     0,
     kDelivered,
     {{"com1prog.bin", Source::Qflx32}, {"sheetpara.dat", Source::QflxImage}}},
    // The compiler loads no driver for this PLC, and a model 200 brings none of its own.
    {"Model200HasNoDriverForTheIntegratedPlc",
     Project::Qflx,
     false,
     {},
     1,
     kStart + QStringList{kDriverFailed},
     {}},
};

void PrintTo(const Scenario& scenario, std::ostream* os) {
    *os << scenario.name;
}

class DesignerConversation : public DesignerDownload,
                             public ::testing::WithParamInterface<Scenario> {};

} // namespace

TEST_P(DesignerConversation, LogsAndDelivers) {
    const Scenario& s = GetParam();
    QStringList args{ProjectPath(s.project)};
    if (s.force)
        args << "--force";
    const Outcome run = Download(args, s.env);
    EXPECT_EQ(run.exitCode, s.exitCode) << run.err.toStdString();
    EXPECT_EQ(run.lines, s.lines);
    QStringList names;
    for (const auto& [name, source] : s.files) {
        names << name;
        EXPECT_EQ(Received(name), Content(source)) << name.toStdString();
    }
    EXPECT_EQ(ReceivedNames(), names);
}

INSTANTIATE_TEST_SUITE_P(Panel, DesignerConversation, ::testing::ValuesIn(kScenarios),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DesignerDownload, ASecondDownloadSendsNoData) {
    ASSERT_EQ(Download({kDemo}).exitCode, 0);
    const Outcome second = Download({kDemo});
    EXPECT_EQ(second.exitCode, 0);
    const QStringList skipped{"[Y] 驱动文件  <size>", kProject, "[Y] 工程文件  <size>"};
    EXPECT_EQ(second.lines, kStart + skipped + kFinish);
    ASSERT_FALSE(second.frames.isEmpty());
    for (const QByteArray& frame : second.frames) {
        EXPECT_FALSE(frame.startsWith("cmd=0x02")) << frame.data();
        EXPECT_FALSE(frame.startsWith("cmd=0x04")) << frame.data();
    }
}

// Nothing reaches the USB before the project has loaded and compiled.
TEST_F(DesignerDownload, AProjectThatDoesNotLoadNeverOpensThePanel) {
    const Outcome run = Download({dir.filePath("none.kvpr")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.lines.isEmpty());
    EXPECT_TRUE(run.err.contains(QStringLiteral("工程文件已经损坏，打开出错！")));
    EXPECT_TRUE(run.frames.isEmpty());
    EXPECT_TRUE(ReceivedNames().isEmpty());
}

TEST_F(DesignerDownload, AWrongCommandLineShowsTheUsage) {
    for (const QStringList& args :
         {QStringList{}, QStringList{kDemo, "--forced"}, QStringList{kDemo, "--force", "x"}}) {
        const Outcome run = Download(args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains(QStringLiteral("designer --download PROJECT [--force]")));
        EXPECT_TRUE(run.frames.isEmpty());
    }
}

// Whole downloads: kvdownload against the simulated panel, loaded with LD_PRELOAD into it.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "PanelSimEnvironment.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

namespace {

const QString kElapsed = QStringLiteral("<elapsed>");

QByteArray Pattern(int size, int step) {
    QByteArray data(size, '\0');
    for (int i = 0; i < size; ++i)
        data[i] = static_cast<char>(i * step + size);
    return data;
}

enum class Source { Driver, Image, Qflx20, Qflx32 };

struct Outcome {
    int exitCode = -1;
    QStringList lines;        // without time stamps; the elapsed-time line as kElapsed
    QList<QByteArray> frames; // the panel's frame log
};

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkpath("panel"));
        ASSERT_TRUE(QDir(dir.path()).mkpath("PLC"));
        Write("image.bin", Content(Source::Image));
        Write("driver.bin", Content(Source::Driver));
        Write("PLC/3-QFLX_20.bin", Content(Source::Qflx20));
        Write("PLC/3-QFLX_32.bin", Content(Source::Qflx32));
    }

    static QByteArray Content(Source source) {
        switch (source) {
        case Source::Driver:
            return Pattern(700, 5);
        case Source::Image:
            return Pattern(1234, 3);
        case Source::Qflx20:
            return Pattern(800, 7);
        case Source::Qflx32:
            break;
        }
        return Pattern(900, 11);
    }

    void Write(const QString& name, const QByteArray& data) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
    }

    QStringList Arguments(bool withDriver) const {
        QStringList args{"--image", dir.filePath("image.bin"), "--plc-folder", dir.filePath("PLC")};
        if (withDriver)
            args << "--driver" << dir.filePath("driver.bin");
        return args;
    }

    Outcome Download(const QStringList& args, const std::map<QString, QString>& panelEnv = {}) {
        const QString log = dir.filePath(QStringLiteral("frames-%1.log").arg(++m_runs));
        QProcessEnvironment env = PanelSimEnvironment(dir.filePath("panel"), panelEnv);
        env.insert("KV_PANELSIM_LOG", log);

        QProcess process;
        process.setProcessEnvironment(env);
        process.start(KV_BIN_DIR "/kvdownload", args);
        Outcome outcome;
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
            ADD_FAILURE() << "kvdownload did not finish: " << process.readAllStandardError().data();
            return outcome;
        }
        outcome.exitCode = process.exitCode();
        const QRegularExpression stamp("^\\d\\d:\\d\\d:\\d\\d (.*)$");
        const QRegularExpression elapsed("^下载重启完毕，共耗时: \\d+\\.\\d\\ds$");
        for (const QString& line :
             QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
            const QRegularExpressionMatch match = stamp.match(line);
            EXPECT_TRUE(match.hasMatch()) << line.toStdString();
            const QString text = match.captured(1);
            outcome.lines << (elapsed.match(text).hasMatch() ? kElapsed : text);
        }
        QFile frames(log);
        if (frames.open(QIODevice::ReadOnly))
            outcome.frames = frames.readAll().split('\n');
        return outcome;
    }

    QByteArray Received(const QString& name) const {
        QFile file(dir.filePath("panel/" + name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QStringList ReceivedNames() const {
        QStringList names = QDir(dir.filePath("panel")).entryList(QDir::Files);
        names.removeAll("panelsim.md5");
        return names;
    }

    QTemporaryDir dir;

private:
    int m_runs = 0;
};

const QStringList kStart{"读取型号成功！", "正在准备下载...", "正在下载驱动文件..."};
const QString kDriverSent = QStringLiteral("[N] 驱动文件  700 Bit");
const QString kProject = QStringLiteral("正在下载工程文件...");
const QString kImageSent = QStringLiteral("[N] 工程文件  1.21 KB");
const QStringList kFinish{"组态下载完毕...", "写入Flash操作成功...", "正在重启KV250...", kElapsed};
const QString kDriverFailed = QStringLiteral("下载驱动文件出错，请检查USB连接线...");
const QString kTimedOut = QStringLiteral("下载超时 , retrying...");
const QString kCancelled = QStringLiteral("手动取消, retrying...");
const QString kFast = QStringLiteral("0.001"); // USB timeouts of 5 to 20 ms

const std::vector<std::pair<QString, Source>> kBothFiles{{"com1prog.bin", Source::Driver},
                                                         {"sheetpara.dat", Source::Image}};

struct Scenario {
    const char* name;
    std::map<QString, QString> env;
    QStringList args;
    bool withDriver;
    int exitCode;
    QStringList lines;
    std::vector<std::pair<QString, Source>> files;
};

const Scenario kScenarios[] = {
    {"Delivers",
     {},
     {},
     true,
     0,
     kStart + QStringList{kDriverSent, kProject, kImageSent} + kFinish,
     kBothFiles},
    {"NakOnTheFirstDataFrameIsRetried",
     {{"KV_PANELSIM_NAK_FRAME", "2"}},
     {},
     true,
     0,
     kStart + QStringList{kDriverSent, "CRC错误 , retrying...", kDriverSent, kProject, kImageSent} +
         kFinish,
     kBothFiles},
    {"SlowAnswersStillArrive",
     {{"KV_PANELSIM_DELAY_MS", "20"}},
     {},
     true,
     0,
     kStart + QStringList{kDriverSent, kProject, kImageSent} + kFinish,
     kBothFiles},
    {"DroppedAcknowledgementFailsTheDriver",
     {{"KV_PANELSIM_DROP_ACK_FRAME", "2"}, {"KV_PANELSIM_TIMEOUT_SCALE", kFast}},
     {},
     true,
     1,
     kStart + QStringList{kDriverSent, kTimedOut, kCancelled, kDriverFailed},
     {}},
    {"DroppedAcknowledgementFailsTheProject",
     {{"KV_PANELSIM_DROP_ACK_FRAME", "6"}, {"KV_PANELSIM_TIMEOUT_SCALE", kFast}},
     {},
     true,
     1,
     kStart + QStringList{kDriverSent, kProject, kImageSent, kTimedOut, kCancelled,
                          "下载工程文件出错，请检查USB连接线..."},
     {}},
    // The timeout of the file information only shows as the cancel of the next frame.
    {"PanelVanishingAfterTheConnect",
     {{"KV_PANELSIM_VANISH_AFTER", "1"}, {"KV_PANELSIM_TIMEOUT_SCALE", kFast}},
     {},
     true,
     1,
     kStart + QStringList{kDriverSent, kCancelled, kDriverFailed},
     {}},
    // Connect, four driver frames and five image frames: the eleventh is the flash write.
    {"PanelGoneAtTheFlashWrite",
     {{"KV_PANELSIM_VANISH_AFTER", "10"}, {"KV_PANELSIM_TIMEOUT_SCALE", kFast}},
     {},
     true,
     1,
     kStart + QStringList{kDriverSent, kProject, kImageSent, "组态下载完毕...",
                          "写入Flash失败，没有收到应答！"},
     {}},
    {"FlashWriteRefused",
     {{"KV_PANELSIM_REFUSE_FLASH", "1"}},
     {},
     true,
     1,
     kStart + QStringList{kDriverSent, kProject, kImageSent, "组态下载完毕...", "写入Flash失败！"},
     {}},
    {"NoConnectReply",
     {{"KV_PANELSIM_VANISH_AFTER", "0"}, {"KV_PANELSIM_TIMEOUT_SCALE", kFast}},
     {},
     true,
     1,
     {"读取型号失败！"},
     {}},
    {"NoPanel", {{"KV_PANELSIM_ABSENT", "1"}}, {}, true, 1, {"USB连接失败，找不到KV250设备！"}, {}},
    {"RunningPlcWithoutForce",
     {{"KV_PANELSIM_PLC_RUNNING", "1"}},
     {},
     true,
     1,
     {"一体机PLC正在运行，建议取消下载...", "硬件型号: 200    工程型号: 200",
      "一体机PLC正在运行，手动取消下载！"},
     {}},
    {"RunningPlcForced",
     {{"KV_PANELSIM_PLC_RUNNING", "1"}},
     {"--force"},
     true,
     0,
     QStringList{"一体机PLC正在运行，建议取消下载..."} + kStart +
         QStringList{kDriverSent, kProject, kImageSent} + kFinish,
     kBothFiles},
    {"Model210RefusedForAnotherPlc",
     {{"KV_PANELSIM_MODEL", "210"}},
     {"--plc-id", "1"},
     true,
     1,
     {"读取型号错误！", "硬件型号: 210    工程型号: 200"},
     {}},
    {"Model220RefusedForAnotherPlc",
     {{"KV_PANELSIM_MODEL", "220"}},
     {},
     true,
     1,
     {"读取型号错误！", "硬件型号: 220    工程型号: 200"},
     {}},
    {"UnknownModelRefused",
     {{"KV_PANELSIM_MODEL", "100"}},
     {"--plc-id", "3"},
     true,
     1,
     {"读取型号错误！", "硬件型号: 100    工程型号: 200"},
     {}},
    // The project's own driver is there, but these panels take theirs.
    {"Model210TakesItsOwnDriver",
     {{"KV_PANELSIM_MODEL", "210"}},
     {"--plc-id", "3"},
     true,
     0,
     kStart + QStringList{"[N] 驱动文件  800 Bit", kProject, kImageSent} + kFinish,
     {{"com1prog.bin", Source::Qflx20}, {"sheetpara.dat", Source::Image}}},
    {"Model220TakesItsOwnDriver",
     {{"KV_PANELSIM_MODEL", "220"}},
     {"--plc-id", "3"},
     true,
     0,
     kStart + QStringList{"[N] 驱动文件  900 Bit", kProject, kImageSent} + kFinish,
     {{"com1prog.bin", Source::Qflx32}, {"sheetpara.dat", Source::Image}}},
    {"Model210WithoutItsDriverFile",
     {{"KV_PANELSIM_MODEL", "210"}},
     {"--plc-id", "3", "--plc-folder", "/nonexistent"},
     true,
     1,
     kStart + QStringList{"LoadBin210 == NULL", kDriverFailed},
     {}},
    {"Model200ForAnIntegratedPlcProjectHasNoDriver",
     {},
     {"--plc-id", "3"},
     false,
     1,
     kStart + QStringList{kDriverFailed},
     {}},
};

void PrintTo(const Scenario& scenario, std::ostream* os) {
    *os << scenario.name;
}

class Conversation : public EndToEnd, public ::testing::WithParamInterface<Scenario> {};

} // namespace

TEST_P(Conversation, LogsAndDelivers) {
    const Scenario& s = GetParam();
    const Outcome outcome = Download(Arguments(s.withDriver) + s.args, s.env);
    EXPECT_EQ(outcome.exitCode, s.exitCode);
    EXPECT_EQ(outcome.lines, s.lines);
    QStringList names;
    for (const auto& [name, source] : s.files) {
        names << name;
        EXPECT_EQ(Received(name), Content(source)) << name.toStdString();
    }
    EXPECT_EQ(ReceivedNames(), names);
}

INSTANTIATE_TEST_SUITE_P(Panel, Conversation, ::testing::ValuesIn(kScenarios),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EndToEnd, ASecondDownloadSkipsUnchangedFiles) {
    ASSERT_EQ(Download(Arguments(true)).exitCode, 0);
    const Outcome second = Download(Arguments(true));
    EXPECT_EQ(second.exitCode, 0);
    const QStringList skipped{"[Y] 驱动文件  700 Bit", kProject, "[Y] 工程文件  1.21 KB"};
    EXPECT_EQ(second.lines, kStart + skipped + kFinish);
    for (const QByteArray& frame : second.frames) {
        EXPECT_FALSE(frame.startsWith("cmd=0x02")) << frame.data();
        EXPECT_FALSE(frame.startsWith("cmd=0x04")) << frame.data();
    }
    EXPECT_EQ(Received("sheetpara.dat"), Content(Source::Image));
}

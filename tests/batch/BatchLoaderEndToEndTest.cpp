// Whole batch downloads: batch tools made from a package and the built batchloader, and the
// batchloader on an archive file, run headless against the simulated panel.

#include "BatchTool.h"
#include "PackageArchive.h"

#include "AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "PanelSimEnvironment.h"

#include <gtest/gtest.h>

#include <csignal>
#include <map>

namespace {

QByteArray Pattern(int size, int step) {
    QByteArray data(size, '\0');
    for (int i = 0; i < size; ++i)
        data[i] = static_cast<char>(i * step + size);
    return data;
}

const QByteArray kImage = Pattern(1236, 3);
const QByteArray kDriver = Pattern(700, 5);
const QByteArray kQflx20 = Pattern(800, 7);
const QByteArray kQflx32 = Pattern(900, 11);
const QByteArray kLadder = Pattern(300, 13);

struct Outcome {
    int exitCode = -1;
    QStringList lines; // without time stamps
    QString errors;
};

class BatchLoaderEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkpath("panel"));
    }

    QString Path(const QString& name) const { return dir.filePath(name); }

    // A batch tool from the built batchloader carrying `files`.
    QString MakeTool(const std::vector<std::pair<QString, QByteArray>>& files,
                     const QByteArray& password = {}) {
        BatchTool tool;
        EXPECT_TRUE(ReadWholeFile(KV_BIN_DIR "/batchloader", tool.loader));
        tool.archive = BuildPackageArchive(files);
        tool.title = "Line 3";
        tool.login = !password.isEmpty();
        tool.password = password;
        const QString path = Path("tool");
        EXPECT_TRUE(WriteBatchTool(path, tool));
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
        return path;
    }

    QProcessEnvironment Environment(const std::map<QString, QString>& panelEnv) const {
        QProcessEnvironment env = PanelSimEnvironment(Path("panel"), panelEnv);
        return env;
    }

    static QStringList Lines(const QByteArray& output) {
        QStringList lines;
        const QRegularExpression stamp("^\\d\\d:\\d\\d:\\d\\d (.*)$");
        for (const QString& line : QString::fromUtf8(output).split('\n', Qt::SkipEmptyParts)) {
            const QRegularExpressionMatch match = stamp.match(line);
            EXPECT_TRUE(match.hasMatch()) << line.toStdString();
            lines << match.captured(1);
        }
        return lines;
    }

    Outcome Run(const QString& program, const QStringList& args,
                const std::map<QString, QString>& panelEnv = {}) {
        QProcess process;
        process.setProcessEnvironment(Environment(panelEnv));
        process.start(program, args);
        Outcome outcome;
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
            ADD_FAILURE() << "batchloader did not finish";
            return outcome;
        }
        outcome.exitCode = process.exitCode();
        outcome.lines = Lines(process.readAllStandardOutput());
        outcome.errors = QString::fromUtf8(process.readAllStandardError());
        return outcome;
    }

    QByteArray Received(const QString& name) const {
        QFile file(Path("panel/" + name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QStringList ReceivedNames(const QString& folder = "panel") const {
        QStringList names = QDir(Path(folder)).entryList(QDir::Files);
        names.removeAll("panelsim.md5");
        return names;
    }

    QTemporaryDir dir;
};

const std::vector<std::pair<QString, QByteArray>> kOtherPlc{{"sheetpara.dat", kImage},
                                                            {"com1prog.bin", kDriver}};
const std::vector<std::pair<QString, QByteArray>> kIntegratedPlc{{"sheetpara.dat", kImage},
                                                                 {"3-QFLX_20.bin", kQflx20},
                                                                 {"3-QFLX_32.bin", kQflx32},
                                                                 {"rvplc.pwm", kLadder}};

TEST_F(BatchLoaderEndToEnd, ToolDownloadsTheDriverAndTheProjectByteForByte) {
    const Outcome outcome = Run(MakeTool(kOtherPlc), {"--headless"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.lines.join('\n').toStdString();
    EXPECT_EQ(Received("com1prog.bin"), kDriver);
    EXPECT_EQ(Received("sheetpara.dat"), kImage);
    EXPECT_EQ(ReceivedNames(), (QStringList{"com1prog.bin", "sheetpara.dat"}));
    EXPECT_TRUE(outcome.lines.contains("没有PLC梯形图程序，跳过..."));
    EXPECT_TRUE(outcome.lines.last().startsWith("下载成功，共耗时: "));
}

TEST_F(BatchLoaderEndToEnd, EachModelGetsItsDriverAndTheLadderProgram) {
    const QString tool = MakeTool(kIntegratedPlc);
    for (const auto& [model, driver] :
         std::vector<std::pair<QString, QByteArray>>{{"210", kQflx20}, {"220", kQflx32}}) {
        const Outcome outcome = Run(tool, {"--headless"}, {{"KV_PANELSIM_MODEL", model}});
        EXPECT_EQ(outcome.exitCode, 0) << model.toStdString();
        EXPECT_EQ(Received("com1prog.bin"), driver) << model.toStdString();
        EXPECT_EQ(Received("rvplc.pwm"), kLadder);
        EXPECT_EQ(Received("sheetpara.dat"), kImage);
    }
}

// A package made for another PLC has no driver for the panel: nothing may be flashed.
TEST_F(BatchLoaderEndToEnd, APanelWithoutItsDriverInThePackageIsRefused) {
    const std::vector<std::pair<const std::vector<std::pair<QString, QByteArray>>*, int>> cases{
        {&kOtherPlc, 210}, {&kOtherPlc, 220}, {&kIntegratedPlc, 200}};
    for (const auto& [package, model] : cases) {
        const Outcome outcome = Run(MakeTool(*package), {"--headless"},
                                    {{"KV_PANELSIM_MODEL", QString::number(model)}});
        EXPECT_EQ(outcome.exitCode, 1) << model;
        ASSERT_GE(outcome.lines.size(), 2) << model;
        EXPECT_EQ(outcome.lines.mid(outcome.lines.size() - 2),
                  (QStringList{QStringLiteral("硬件型号: %1    工程型号: 200").arg(model),
                               "该工程是为其他PLC制作的，不能下载到此型号的面板！"}));
        EXPECT_EQ(ReceivedNames(), QStringList()) << model;
    }
}

TEST_F(BatchLoaderEndToEnd, AFlashWriteThePanelDoesNotConfirmFails) {
    const QString tool = MakeTool(kOtherPlc);
    for (const auto& [env, last] : std::vector<std::pair<std::map<QString, QString>, QString>>{
             {{{"KV_PANELSIM_REFUSE_FLASH", "1"}}, "写入Flash失败！"},
             // connect, four driver frames, five project frames; then the flash write
             {{{"KV_PANELSIM_VANISH_AFTER", "10"}, {"KV_PANELSIM_TIMEOUT_SCALE", "0.001"}},
              "写入Flash失败，没有收到应答！"}}) {
        const Outcome outcome = Run(tool, {"--headless"}, env);
        EXPECT_EQ(outcome.exitCode, 1) << last.toStdString();
        ASSERT_FALSE(outcome.lines.isEmpty());
        EXPECT_EQ(outcome.lines.last(), last);
        EXPECT_EQ(ReceivedNames(), QStringList());
    }
}

TEST_F(BatchLoaderEndToEnd, StartPasswordComesFromTheCommandLine) {
    const QString tool = MakeTool(kOtherPlc, "0123456789abcdef");
    for (const QStringList& args :
         {QStringList{"--headless"}, QStringList{"--headless", "--password", "0123456789abcde"},
          QStringList{"--headless", "--password", "wrong"}}) {
        const Outcome outcome = Run(tool, args);
        EXPECT_EQ(outcome.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(outcome.lines.isEmpty());
    }
    EXPECT_EQ(ReceivedNames(), QStringList());
    EXPECT_EQ(Run(tool, {"--headless", "--password", "0123456789abcdef"}).exitCode, 0);
    EXPECT_EQ(Received("sheetpara.dat"), kImage);
}

TEST_F(BatchLoaderEndToEnd, AnArchiveFileDownloadsWithoutLogin) {
    ASSERT_TRUE(WriteFileAtomically(Path("Varnel.hmi"), BuildPackageArchive(kOtherPlc)));
    const Outcome outcome =
        Run(KV_BIN_DIR "/batchloader", {"--headless", "--password", "ignored", Path("Varnel.hmi")});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(Received("com1prog.bin"), kDriver);
    EXPECT_EQ(Received("sheetpara.dat"), kImage);

    EXPECT_EQ(Run(KV_BIN_DIR "/batchloader", {"--headless", Path("missing.hmi")}).exitCode, 2);
    ASSERT_TRUE(WriteFileAtomically(Path("broken.hmi"), "not an archive"));
    const Outcome broken = Run(KV_BIN_DIR "/batchloader", {"--headless", Path("broken.hmi")});
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_TRUE(broken.lines.last().startsWith("打开数据文件失败："));
}

TEST_F(BatchLoaderEndToEnd, RefusalsEndTheDownloadBeforeAnyFile) {
    const QString tool = MakeTool(kOtherPlc);
    const std::vector<std::tuple<const char*, std::map<QString, QString>, QStringList, QString>>
        cases{
            {"no panel",
             {{"KV_PANELSIM_ABSENT", "1"}},
             {"--headless"},
             "USB连接失败，找不到KV250设备！"},
            {"PLC running",
             {{"KV_PANELSIM_PLC_RUNNING", "1"}},
             {"--headless"},
             "一体机PLC正在运行，手动取消下载！"},
            {"unknown model",
             {{"KV_PANELSIM_MODEL", "230"}},
             {"--headless"},
             "读取型号错误！硬件型号: 230"},
        };
    for (const auto& [what, env, args, last] : cases) {
        const Outcome outcome = Run(tool, args, env);
        EXPECT_EQ(outcome.exitCode, 1) << what;
        ASSERT_FALSE(outcome.lines.isEmpty()) << what;
        EXPECT_EQ(outcome.lines.last(), last) << what;
    }
    EXPECT_EQ(ReceivedNames(), QStringList());
    const Outcome forced = Run(tool, {"--headless", "--force"}, {{"KV_PANELSIM_PLC_RUNNING", "1"}});
    EXPECT_EQ(forced.exitCode, 0);
    EXPECT_EQ(Received("sheetpara.dat"), kImage);
}

TEST_F(BatchLoaderEndToEnd, ADamagedToolIsRefused) {
    const QString tool = MakeTool(kOtherPlc);
    QByteArray bytes;
    ASSERT_TRUE(ReadWholeFile(tool, bytes));
    bytes[bytes.size() - 100] = static_cast<char>(bytes[bytes.size() - 100] ^ 1);
    ASSERT_TRUE(WriteFileAtomically(tool, bytes));
    QFile::setPermissions(tool, QFile::permissions(tool) | QFile::ExeOwner);
    const Outcome outcome = Run(tool, {"--headless"});
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_TRUE(outcome.errors.contains("读取批量下载数据失败"));
    // The batchloader itself carries no package.
    EXPECT_EQ(Run(KV_BIN_DIR "/batchloader", {"--headless"}).exitCode, 2);
}

TEST_F(BatchLoaderEndToEnd, LoopProgramsPanelAfterPanel) {
    QProcess process;
    process.setProcessEnvironment(Environment({{"KV_PANELSIM_PANELS", "3"}}));
    process.start(MakeTool(kOtherPlc), {"--headless", "--loop"});
    QByteArray output;
    for (int waited = 0; waited < 600 && !output.contains("合格: 3    失败: 0"); ++waited) {
        process.waitForReadyRead(100);
        output += process.readAllStandardOutput();
    }
    ASSERT_TRUE(output.contains("合格: 3    失败: 0")) << output.toStdString();
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    ASSERT_TRUE(process.waitForFinished(10000));
    output += process.readAllStandardOutput();
    EXPECT_EQ(process.exitCode(), 0);
    const QStringList lines = Lines(output);
    EXPECT_EQ(lines.filter(QRegularExpression("^下载成功")).size(), 3);
    EXPECT_EQ(lines.last(), "合格: 3    失败: 0");
    for (const QString panel : {"panel/1", "panel/2", "panel/3"}) {
        EXPECT_EQ(ReceivedNames(panel), (QStringList{"com1prog.bin", "sheetpara.dat"}));
        QFile image(Path(panel + "/sheetpara.dat"));
        ASSERT_TRUE(image.open(QIODevice::ReadOnly));
        EXPECT_EQ(image.readAll(), kImage);
    }
    EXPECT_FALSE(QDir(Path("panel/4")).exists());
}

} // namespace

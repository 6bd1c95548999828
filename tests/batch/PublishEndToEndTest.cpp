// designer --publish from the demo project to the panel: the tool it writes, run headless
// against the simulated panel, and the ZIP delivery. Each test publishes from a program folder
// of its own, since the publish works in folders of the program folder.

#include "BatchTool.h"
#include "PackageArchive.h"

#include "AtomicFile.h"
#include "CodePage.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "PanelSimEnvironment.h"

#include <gtest/gtest.h>

#include <unzip.h>

#include <map>
#include <sys/stat.h>

namespace {

const QString kDemo = QStringLiteral(KV_BIN_DIR "/demo/demo.kvpr");
const QString kDemoDriver = QStringLiteral(KV_BIN_DIR "/PLC/2-COMPACT_PORT.bin");

struct Outcome {
    int exitCode = -1;
    QString errors;
};

QByteArray Contents(const QString& path) {
    QByteArray data;
    return ReadWholeFile(path, data) ? data : QByteArray("<missing>");
}

// The files of a package archive by entry name.
std::map<QString, QByteArray> ArchiveFiles(const QByteArray& archive) {
    std::map<QString, QByteArray> files;
    const std::unique_ptr<PackageArchive> package = PackageArchive::Open(archive);
    if (!package)
        return files;
    for (int i = 0; i < static_cast<int>(package->Entries().size()); ++i) {
        QByteArray data;
        EXPECT_TRUE(package->Extract(i, data));
        files[package->Entries()[std::size_t(i)].name] = data;
    }
    return files;
}

struct ZipEntry {
    QByteArray data;
    unsigned mode = 0; // the Unix mode kept in the entry
};

std::map<QString, ZipEntry> ZipEntries(const QString& path) {
    std::map<QString, ZipEntry> entries;
    unzFile zip = unzOpen64(QFile::encodeName(path).constData());
    if (!zip)
        return entries;
    for (int more = unzGoToFirstFile(zip); more == UNZ_OK; more = unzGoToNextFile(zip)) {
        char name[512];
        unz_file_info64 info{};
        if (unzGetCurrentFileInfo64(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) !=
                UNZ_OK ||
            unzOpenCurrentFile(zip) != UNZ_OK)
            break;
        ZipEntry& entry = entries[QString::fromUtf8(name)];
        entry.mode = static_cast<unsigned>(info.external_fa >> 16);
        entry.data.resize(static_cast<qsizetype>(info.uncompressed_size));
        if (!entry.data.isEmpty())
            unzReadCurrentFile(zip, entry.data.data(), static_cast<unsigned>(entry.data.size()));
        unzCloseCurrentFile(zip);
    }
    unzClose(zip);
    return entries;
}

class PublishEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        const QDir root(dir.path());
        ASSERT_TRUE(root.mkpath("program") && root.mkpath("panel"));
        ASSERT_TRUE(QFile::copy(KV_BIN_DIR "/designer", Path("program/designer")));
        ASSERT_TRUE(QFile::copy(KV_BIN_DIR "/Factory.dll", Path("program/Factory.dll")));
        for (const char* folder : {"PLC", "usb_driver"})
            ASSERT_TRUE(
                QFile::link(QStringLiteral(KV_BIN_DIR "/") + folder, Path("program/") + folder));
    }

    QString Path(const QString& name) const { return dir.filePath(name); }

    Outcome Run(const QString& program, const QStringList& args,
                const std::map<QString, QString>& panelEnv = {}) {
        QProcessEnvironment env = PanelSimEnvironment(Path("panel"), panelEnv);
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(program, args);
        Outcome outcome;
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
            ADD_FAILURE() << program.toStdString() << " did not finish";
            return outcome;
        }
        outcome.exitCode = process.exitCode();
        outcome.errors = QString::fromUtf8(process.readAllStandardError());
        return outcome;
    }

    Outcome Publish(const QStringList& options, const QString& project = kDemo) {
        return Run(Path("program/designer"), QStringList{"--publish", project} + options);
    }

    // What the publish leaves in the program folder besides what was there.
    QStringList ProgramFolderLeftovers() const {
        QStringList names =
            QDir(Path("program")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        for (const char* own : {"designer", "Factory.dll", "PLC", "usb_driver", "Log", "OutPut"})
            names.removeAll(own);
        return names;
    }

    // The demo bound to the integrated PLC with ID 3.
    QString IntegratedPlcProject() {
        const QString plain = Path("demo.xml");
        EXPECT_EQ(Run(Path("program/designer"), {"--save-plain", kDemo, plain}).exitCode, 0);
        QByteArray xml = Contents(plain);
        EXPECT_TRUE(xml.contains("PLCID=\"2\""));
        xml.replace("PLCID=\"2\"", "PLCID=\"3\"");
        EXPECT_TRUE(WriteFileAtomically(plain, xml));
        return plain;
    }

    QTemporaryDir dir;
};

TEST_F(PublishEndToEnd, ToolDownloadsTheDriverAndTheCompiledImage) {
    ASSERT_EQ(
        Run(Path("program/designer"), {"--compile", kDemo, "--output", Path("image.dat")}).exitCode,
        0);
    const Outcome published = Publish({"--output", Path("line 3"), "--title", "生产线 3"});
    ASSERT_EQ(published.exitCode, 0) << published.errors.toStdString();
    EXPECT_TRUE(published.errors.contains("生成批量下载器 —— 操作成功！"));
    EXPECT_EQ(ProgramFolderLeftovers(), QStringList());

    const std::optional<BatchTool> tool = ReadBatchTool(Contents(Path("line 3")));
    ASSERT_TRUE(tool);
    EXPECT_EQ(tool->loader, Contents(KV_EMBEDDED_LOADER));
    EXPECT_LT(tool->loader.size(), Contents(KV_BIN_DIR "/batchloader").size())
        << "carried without its debug information";
#ifndef __SANITIZE_ADDRESS__
    // The size goal is the release loader's: an instrumented one is four times larger.
    EXPECT_LT(QFileInfo(Path("line 3")).size(), 1024 * 1024);
#endif
    EXPECT_EQ(tool->title, ToSystemCodePage("生产线 3"));
    EXPECT_FALSE(tool->login);
    EXPECT_EQ(QFileInfo(Path("line 3")).permissions() & QFile::ExeOther, QFile::ExeOther);

    const Outcome downloaded = Run(Path("line 3"), {"--headless"});
    EXPECT_EQ(downloaded.exitCode, 0) << downloaded.errors.toStdString();
    EXPECT_EQ(Contents(Path("panel/com1prog.bin")), Contents(kDemoDriver));
    EXPECT_EQ(Contents(Path("panel/sheetpara.dat")), Contents(Path("image.dat")));
}

TEST_F(PublishEndToEnd, StartPasswordOfThePublishedTool) {
    ASSERT_EQ(Publish({"--output", Path("tool"), "--title", "T", "--password", "0123456789abcdef"})
                  .exitCode,
              0);
    EXPECT_EQ(Run(Path("tool"), {"--headless", "--password", "0123456789abcdeF"}).exitCode, 1);
    EXPECT_FALSE(QFile::exists(Path("panel/sheetpara.dat")));
    EXPECT_EQ(Run(Path("tool"), {"--headless", "--password", "0123456789abcdef"}).exitCode, 0);
    EXPECT_EQ(Contents(Path("panel/com1prog.bin")), Contents(kDemoDriver));
}

TEST_F(PublishEndToEnd, RefusalsWriteNoTool) {
    ASSERT_TRUE(WriteFileAtomically(Path("ladder.pmw"), "ladder"));
    const std::vector<std::pair<QStringList, QString>> cases{
        {{}, "请输入软件的标题！"},
        {{"--title", ""}, "请输入软件的标题！"},
        {{"--title", "T", "--password", ""}, "请输入软件登录密码！"},
        {{"--title", "T", "--password", "0123456789abcdefg"}, "密码长度最大为 16 字符！"},
        {{"--title", "T", "--plc-program", Path("ladder.pmw")},
         "梯形图程序仅限 『VarnelLX一体机型号』 使用"},
        {{"--title", "T", "--zip", "--password", "0123456789abcdefg"}, "密码长度最大为 16 字符！"},
        {{"--title"}, "usage: designer"},
        {{"--title", "T", "--colour", "red"}, "usage: designer"},
    };
    ASSERT_TRUE(WriteFileAtomically(Path("tool"), "the previous tool"));
    for (const auto& [options, message] : cases) {
        const Outcome outcome = Publish(QStringList{"--output", Path("tool")} + options);
        EXPECT_EQ(outcome.exitCode, 1) << options.join(' ').toStdString();
        EXPECT_TRUE(outcome.errors.contains(message)) << outcome.errors.toStdString();
        EXPECT_EQ(ProgramFolderLeftovers(), QStringList()) << options.join(' ').toStdString();
    }
    EXPECT_EQ(Contents(Path("tool")), "the previous tool");
    EXPECT_TRUE(Publish({"--title", "T"}).errors.contains("usage: designer"));
}

TEST_F(PublishEndToEnd, LadderProgramGoesIntoTheToolOfTheIntegratedPlc) {
    const QString project = IntegratedPlcProject();
    EXPECT_TRUE(
        Publish({"--output", Path("tool"), "--title", "T", "--plc-program", Path("missing.pmw")},
                project)
            .errors.contains("找不到PLC梯形图程序："));
    ASSERT_TRUE(WriteFileAtomically(Path("Line.PMW"), "ladder program"));
    ASSERT_EQ(Publish({"--output", Path("tool"), "--title", "T", "--plc-program", Path("Line.PMW")},
                      project)
                  .exitCode,
              0);
    const std::optional<BatchTool> tool = ReadBatchTool(Contents(Path("tool")));
    ASSERT_TRUE(tool);
    std::map<QString, QByteArray> files = ArchiveFiles(tool->archive);
    EXPECT_EQ(files["Compile/rvplc.pwm"], "ladder program");
    EXPECT_EQ(files["Compile/3-qflx_20.bin"], Contents(KV_BIN_DIR "/PLC/3-QFLX_20.bin"));
    EXPECT_EQ(files["Compile/3-qflx_32.bin"], Contents(KV_BIN_DIR "/PLC/3-QFLX_32.bin"));
    EXPECT_EQ(files.size(), 4u);
    EXPECT_TRUE(files.count("Compile/sheetpara.dat"));
}

TEST_F(PublishEndToEnd, ZipDeliveryCarriesTheToolAndTheUsbDriver) {
    const Outcome outcome =
        Publish({"--output", Path("Line3.zip"), "--title", "T", "--zip", "--password", "pw"});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.errors.toStdString();
    EXPECT_TRUE(outcome.errors.contains("生成批量下载器 —— 操作成功！"));
    EXPECT_EQ(ProgramFolderLeftovers(), QStringList());

    std::map<QString, ZipEntry> entries = ZipEntries(Path("Line3.zip"));
    QStringList names;
    for (const auto& [name, entry] : entries)
        names << name;
    EXPECT_EQ(names, (QStringList{"line3", "usb_driver/", "usb_driver/60-kv250.rules",
                                  "usb_driver/readme.txt"}));
    const std::optional<BatchTool> tool = ReadBatchTool(entries["line3"].data);
    ASSERT_TRUE(tool);
    EXPECT_TRUE(tool->login);
    EXPECT_EQ(tool->loader, Contents(KV_EMBEDDED_LOADER));
    EXPECT_EQ(entries["line3"].mode, unsigned(S_IFREG | 0755));
    EXPECT_EQ(entries["usb_driver/"].mode & S_IFMT, unsigned(S_IFDIR));
    EXPECT_EQ(entries["usb_driver/60-kv250.rules"].data,
              Contents(KV_BIN_DIR "/usb_driver/60-kv250.rules"));
    EXPECT_TRUE(entries["usb_driver/60-kv250.rules"].data.contains(
        "ATTR{idVendor}==\"05ac\", ATTR{idProduct}==\"8888\""));
}

} // namespace

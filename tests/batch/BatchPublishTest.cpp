#include "BatchPublish.h"
#include "BatchTool.h"
#include "PackageArchive.h"

#include "AtomicFile.h"
#include "DriverFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace {

QByteArray Driver(const QByteArray& body) {
    QByteArray driver = body;
    AppendDriverTrailer(driver);
    return driver;
}

class Publish : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkpath("PLC"));
        Write("PLC/3-QFLX_20.bin", Driver("twenty"));
        Write("PLC/3-QFLX_32.bin", Driver("thirty-two"));
        Write("PLC/1-MODBUS_RTU.bin", Driver("modbus"));
        Write("ladder.PMW", "ladder");
    }

    void Write(const QString& name, const QByteArray& data) {
        ASSERT_TRUE(WriteFileAtomically(dir.filePath(name), data));
    }

    PublishProject Project(int plcId) const {
        return {"image", plcId, "PLC-X", dir.filePath("PLC/1-MODBUS_RTU.bin")};
    }

    std::map<QString, QByteArray> ArchiveFiles() const {
        std::map<QString, QByteArray> files;
        auto archive = PackageArchive::OpenFile(dir.filePath("BatchTool/Varnel.hmi"));
        EXPECT_NE(archive, nullptr);
        for (int i = 0; archive && i < static_cast<int>(archive->Entries().size()); ++i) {
            QByteArray data;
            EXPECT_TRUE(archive->Extract(i, data));
            files[archive->Entries()[std::size_t(i)].name] = data;
        }
        return files;
    }

    QTemporaryDir dir;
};

TEST_F(Publish, DriversFollowTheProtocol) {
    ASSERT_TRUE(QDir(dir.path()).mkpath("BatchTool/old"));
    Write("BatchTool/old/stale.bin", "stale");
    ASSERT_TRUE(PreparePublish(dir.path(), Project(3)).ok);
    const std::map<QString, QByteArray> integrated{{"Compile/3-qflx_20.bin", Driver("twenty")},
                                                   {"Compile/3-qflx_32.bin", Driver("thirty-two")},
                                                   {"Compile/sheetpara.dat", "image"}};
    EXPECT_EQ(ArchiveFiles(), integrated);
    EXPECT_FALSE(QFile::exists(dir.filePath("BatchTool/old/stale.bin")));
    EXPECT_TRUE(QDir(dir.filePath("BatchTool/old")).exists());
    EXPECT_FALSE(QDir(dir.filePath("BatchTool/Compiler")).exists());

    ASSERT_TRUE(PreparePublish(dir.path(), Project(1)).ok);
    const std::map<QString, QByteArray> other{{"Compile/com1prog.bin", Driver("modbus")},
                                              {"Compile/sheetpara.dat", "image"}};
    EXPECT_EQ(ArchiveFiles(), other);
}

TEST_F(Publish, DamagedDriversAreNamed) {
    const QString damaged =
        "编译出错：驱动文件已损坏，请重新安装软件！\r\n\r\n请联系厂商增加驱动：PLC-X";
    Write("PLC/1-MODBUS_RTU.bin", "no trailer");
    EXPECT_EQ(PreparePublish(dir.path(), Project(1)).message, "7." + damaged);
    Write("PLC/3-QFLX_32.bin", "no trailer");
    EXPECT_EQ(PreparePublish(dir.path(), Project(3)).message, "5." + damaged);
    QFile::remove(dir.filePath("PLC/3-QFLX_20.bin"));
    const PublishResult missing = PreparePublish(dir.path(), Project(3));
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.message, damaged);
}

TEST_F(Publish, LadderProgramOnlyForTheIntegratedPlc) {
    ASSERT_TRUE(PreparePublish(dir.path(), Project(1)).ok);
    ASSERT_TRUE(AddPlcProgram(dir.path(), 1, dir.filePath("ladder.PMW")).ok);
    EXPECT_EQ(ArchiveFiles().count("Compile/rvplc.pwm"), 0u);

    ASSERT_TRUE(PreparePublish(dir.path(), Project(3)).ok);
    ASSERT_TRUE(AddPlcProgram(dir.path(), 3, dir.filePath("missing.pmw")).ok);
    EXPECT_EQ(ArchiveFiles().size(), 3u);
    ASSERT_TRUE(AddPlcProgram(dir.path(), 3, dir.filePath("ladder.PMW")).ok);
    const std::map<QString, QByteArray> files = ArchiveFiles();
    EXPECT_EQ(files.size(), 4u);
    EXPECT_EQ(files.at("Compile/rvplc.pwm"), "ladder");
    EXPECT_EQ(files.at("Compile/sheetpara.dat"), "image");
}

TEST_F(Publish, GenerationChecksTitleArchiveAndPassword) {
    BatchToolRequest request{dir.filePath("tool"), "LOADER", "三号线", false, {}, 1, {}};
    EXPECT_EQ(GenerateBatchTool(dir.path(), request).message, "工程文件不存在，请重新编译工程！");
    ASSERT_TRUE(PreparePublish(dir.path(), Project(1)).ok);

    const std::vector<std::tuple<QString, bool, QString, QString>> refusals{
        {"", false, "", "请输入软件的标题！"},
        {"T", true, "", "请输入软件登录密码！\r\n\r\n(提示：长度为32个字符,若不需要请务打勾！)"},
        {"T", true, "0123456789abcdefg", "密码长度最大为 16 字符！"},
        {"T", true, "一二三四五六七八九", "密码长度最大为 16 字符！"},
    };
    for (const auto& [title, login, password, message] : refusals) {
        BatchToolRequest refused = request;
        refused.title = title;
        refused.login = login;
        refused.password = password;
        const PublishResult result = GenerateBatchTool(dir.path(), refused);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message, message);
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("tool")));

    request.login = true;
    request.password = "0123456789abcdef";
    const PublishResult made = GenerateBatchTool(dir.path(), request);
    EXPECT_TRUE(made.ok);
    EXPECT_EQ(made.message, "生成批量下载器 —— 操作成功！");
    QByteArray file;
    QByteArray archive;
    ASSERT_TRUE(ReadWholeFile(dir.filePath("tool"), file));
    ASSERT_TRUE(ReadWholeFile(dir.filePath("BatchTool/Varnel.hmi"), archive));
    const std::optional<BatchTool> tool = ReadBatchTool(file);
    ASSERT_TRUE(tool);
    EXPECT_EQ(tool->loader, "LOADER");
    EXPECT_EQ(tool->archive, archive);
    EXPECT_EQ(tool->title, QByteArray("\xC8\xFD\xBA\xC5\xCF\xDF")); // GBK
    EXPECT_EQ(tool->password, "0123456789abcdef");

    // Without the login box, the password edit goes into no tool.
    request.login = false;
    ASSERT_TRUE(GenerateBatchTool(dir.path(), request).ok);
    ASSERT_TRUE(ReadWholeFile(dir.filePath("tool"), file));
    EXPECT_FALSE(ReadBatchTool(file)->login);
    EXPECT_FALSE(file.contains("0123456789abcdef"));
}

} // namespace

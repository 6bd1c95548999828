#include "BuildOutputs.h"
#include "AtomicFile.h"
#include "CompilerTestSupport.h"
#include "Crc16.h"
#include "DriverFile.h"
#include "GEPicture.h"
#include "Handover.h"
#include "ImageBytes.h"
#include "Ini.h"
#include "NamedSharedMemory.h"
#include "PLCFactory.h"
#include "ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

TEST(BuildOutputs, SizeLimitAndPadding) {
    struct Case {
        qsizetype size;
        bool accepted;
        qsizetype padded;
    };
    const Case cases[] = {{1001, true, 1004},
                          {1004, true, 1004},
                          {0x100000, true, 0x100000},
                          {0x100000 + 1, false, 0},
                          {0xFFFFF, true, 0x100000}};
    for (const Case& c : cases) {
        const QByteArray image(c.size, '\x5A');
        QByteArray padded;
        QString error;
        EXPECT_EQ(PadImage(image, padded, error), c.accepted) << c.size;
        if (!c.accepted) {
            EXPECT_EQ(error, QStringLiteral("画面数据已经超过容量，请精简画面！"));
            continue;
        }
        EXPECT_EQ(padded.size(), c.padded);
        EXPECT_TRUE(padded.startsWith(image));
        EXPECT_EQ(padded.mid(c.size), QByteArray(c.padded - c.size, '\0'));
    }
}

// What the emulator sees: the object opened by name, read-only.
QByteArray ReadShared(const QString& name, std::size_t length) {
    const QByteArray posix = "/" + name.toUtf8();
    const int fd = shm_open(posix.constData(), O_RDONLY, 0);
    if (fd < 0)
        return {};
    void* data = mmap(nullptr, length, PROT_READ, MAP_SHARED, fd, 0);
    ::close(fd);
    if (data == MAP_FAILED)
        return {};
    QByteArray bytes(static_cast<const char*>(data), static_cast<qsizetype>(length));
    munmap(data, length);
    return bytes;
}

TEST(BuildOutputs, HandoverLayoutReadBackAndRemovedAfterwards) {
    const QString name = QStringLiteral("KV_compiler_test_%1").arg(getpid());
    QByteArray padded("\x01\x02\x03\x80\xFF", 5);
    padded.append(3, '\0');
    for (const std::uint8_t key : {std::uint8_t{0}, std::uint8_t{0x5A}, std::uint8_t{127}}) {
        NamedSharedMemory memory;
        ASSERT_TRUE(memory.Create(name, Handover::kSize));
        ASSERT_TRUE(WriteHandover(memory, padded, key));
        const QByteArray seen = ReadShared(name, 16);
        ASSERT_EQ(seen.size(), 16);
        EXPECT_EQ(seen.left(4), QByteArray("\x00\x00\x00\x08", 4));
        EXPECT_EQ(static_cast<std::uint8_t>(seen[4]), key);
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(static_cast<std::uint8_t>(seen[5 + i]),
                      static_cast<std::uint8_t>(padded[i]) ^ key);
        EXPECT_EQ(seen.mid(13), QByteArray(3, '\0')) << "the rest of the mapping is zero";
    }
    EXPECT_TRUE(ReadShared(name, 16).isEmpty()) << "the creator removes the name";

    NamedSharedMemory small;
    ASSERT_TRUE(small.Create(name, 8));
    EXPECT_FALSE(WriteHandover(small, padded, 1)) << "5 + 8 bytes do not fit into 8";
}

class DriverFiles : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(QDir().mkpath(ProgramFilePath("PLC"))); }
    // Tests run in parallel processes: each removes only the files it wrote.
    void TearDown() override {
        for (const QString& file : m_written)
            QFile::remove(DriverFilePath(file));
    }
    static QByteArray ValidDriver() {
        QByteArray driver("driver body");
        AppendDriverTrailer(driver);
        return driver;
    }
    void Write(const char* file, const QByteArray& bytes) {
        m_written.append(QString::fromLatin1(file));
        QFile out(DriverFilePath(m_written.back()));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    QStringList m_written;
};

TEST_F(DriverFiles, CheckAndLoadWithTheirMessages) {
    const CPLCEntity& plc = *UnitPLC();
    const QString path = DriverFilePath(plc);
    QByteArray driver;
    QString error;
    EXPECT_FALSE(LoadPLCDriver(plc, path, driver, error));
    EXPECT_EQ(error,
              QStringLiteral("编译出错：型号不支持或者驱动文件丢失！\r\n\r\n请联系厂商增加驱动："
                             "units.bin"));
    Write("units.bin", "RV\x01\x02");
    EXPECT_FALSE(LoadPLCDriver(plc, path, driver, error));
    EXPECT_EQ(error, QStringLiteral(
                         "编译出错：驱动文件已损坏，请重新安装软件！\r\n\r\n请联系厂商增加驱动："
                         "units.bin"));
    Write("units.bin", ValidDriver());
    EXPECT_TRUE(LoadPLCDriver(plc, path, driver, error));
    EXPECT_EQ(driver, ValidDriver());
}

TEST_F(DriverFiles, VariantsOfThePLCWithID3) {
    QByteArray driver;
    QString error;
    QStringList log;
    EXPECT_FALSE(LoadDriverVariant20(UnitPLC(), driver, error, log));
    EXPECT_FALSE(LoadDriverVariant32(UnitPLC(), driver, error, log));
    EXPECT_EQ(log, QStringList({"m_pCurrentPLC->GetProtocolID() != 3", "Factor = 1"}));
    EXPECT_TRUE(error.isEmpty());
    EXPECT_FALSE(LoadDriverVariant20(nullptr, driver, error, log));
    EXPECT_EQ(log.size(), 2);

    const CPLCEntity* qflx = UnitPLC(3);
    ASSERT_TRUE(qflx);
    EXPECT_FALSE(LoadDriverVariant20(qflx, driver, error, log));
    EXPECT_EQ(error, QStringLiteral(
                         "编译出错：驱动文件已损坏，请重新安装软件！\r\n\r\n请联系厂商增加驱动："
                         "3-QFLX.bin"));
    Write("3-QFLX_20.bin", ValidDriver());
    QByteArray other = ValidDriver();
    other.prepend('2');
    AppendDriverTrailer(other);
    Write("3-QFLX_32.bin", other);
    EXPECT_TRUE(LoadDriverVariant20(qflx, driver, error, log));
    EXPECT_EQ(driver, ValidDriver());
    EXPECT_TRUE(LoadDriverVariant32(qflx, driver, error, log));
    EXPECT_EQ(driver, other);
}

TEST(BuildOutputs, CompileJobOfThePLCWithID3NeedsNoDriver) {
    auto project = NewProject();
    project->m_pCurrentPLC = UnitPLC(3);
    CompileOutputs outputs;
    QString error;
    EXPECT_TRUE(RunCompileJob(*project, outputs, error)) << error.toStdString();
    EXPECT_EQ(outputs.image.size() % 4, 0);
    EXPECT_TRUE(outputs.driver.isEmpty());

    project->m_pCurrentPLC = UnitPLC(2);
    EXPECT_FALSE(RunCompileJob(*project, outputs, error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("编译出错：型号不支持或者驱动文件丢失！")));
}

TEST(BuildOutputs, CompileJobRefusesAnImageAboveTheLimit) {
    auto project = NewProject();
    project->m_pCurrentPLC = UnitPLC(3);
    // Four full-screen pictures are 4 x 261120 bytes: just below 1 MiB with the rest.
    QImage picture(480, 272, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    for (int i = 0; i < 4; ++i) {
        CGEPicture& element = AddElement<CGEPicture>(*project);
        ASSERT_TRUE(element.SetBitmap(picture));
        element.m_nWidth = 480;
        element.m_nHeight = 272;
    }
    CompileOutputs outputs;
    QString error;
    EXPECT_TRUE(RunCompileJob(*project, outputs, error));
    EXPECT_LT(outputs.image.size(), kMaxImageSize);
    CGEPicture& fifth = AddElement<CGEPicture>(*project);
    ASSERT_TRUE(fifth.SetBitmap(picture.copy(0, 0, 480, 100)));
    fifth.m_nWidth = 480;
    fifth.m_nHeight = 100;
    EXPECT_FALSE(RunCompileJob(*project, outputs, error));
    EXPECT_EQ(error, kImageTooLargeMessage);
}

} // namespace

namespace {

// A stand-in emulator that keeps what it finds under the name it is given.
QString FakeEmulator(const QTemporaryDir& dir) {
    const QString path = dir.filePath("Emulator");
    QFile script(path);
    EXPECT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nhead -c 64 \"/dev/shm/$1\" > \"$(dirname \"$0\")/seen.bin\"\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

// One test for everything that reads "setting.ini": tests run in parallel processes.
TEST(BuildOutputs, EmulatorPathAndHandover) {
    const QString settings = ProgramFilePath("setting.ini");
    QFile::remove(settings);
    const QString fallback = ProgramFilePath("Emulator");
    EXPECT_EQ(EmulatorPath(), fallback);
    EXPECT_EQ(IniReadString("Header", "Monitor", "", settings), fallback) << "written back";

    QTemporaryDir dir;
    const QString emulator = FakeEmulator(dir);
    ASSERT_TRUE(IniWriteString("Header", "Monitor", dir.filePath("missing"), settings));
    EXPECT_EQ(EmulatorPath(), fallback);
    EXPECT_EQ(IniReadString("Header", "Monitor", "", settings), fallback);
    ASSERT_TRUE(IniWriteString("Header", "Monitor", emulator, settings));
    EXPECT_EQ(EmulatorPath(), emulator);

    auto project = NewProject();
    project->m_pCurrentPLC = UnitPLC(3);
    CompileOutputs outputs;
    QString error;
    ASSERT_TRUE(RunCompileJob(*project, outputs, error)) << error.toStdString();
    std::unique_ptr<NamedSharedMemory> handover = CreateHandover(outputs.image);
    ASSERT_TRUE(handover);
    const std::atomic<bool> abort = false;
    RunEmulator(EmulatorPath(), abort);
    handover.reset();
    QByteArray seen;
    ASSERT_TRUE(ReadWholeFile(dir.filePath("seen.bin"), seen)) << "the emulator ran";
    ASSERT_EQ(seen.size(), 64);
    EXPECT_EQ(GetBE32(seen, 0), static_cast<std::uint32_t>(outputs.image.size()));
    const auto key = static_cast<std::uint8_t>(seen[4]);
    EXPECT_LT(key, 128);
    for (int i = 0; i < 59; ++i)
        EXPECT_EQ(static_cast<std::uint8_t>(seen[5 + i]) ^ key,
                  static_cast<std::uint8_t>(outputs.image[i]));
    EXPECT_FALSE(QFile::exists("/dev/shm/" + Handover::kName)) << "removed after the emulator";
    QFile::remove(settings);
}

} // namespace

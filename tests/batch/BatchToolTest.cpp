#include "BatchTool.h"
#include "BatchToolSettings.h"

#include "Crc16.h"
#include "Scramble.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QDateTime kNow(QDate(2026, 12, 10), QTime(11, 45, 7), Qt::UTC);

BatchTool Tool(const QByteArray& title = "Line 3", bool login = false,
               const QByteArray& password = {}) {
    return {QByteArray(321, 'L'), QByteArray(77, 'A'), title, login, password};
}

// Changes payload byte `at` (offset from L) of a tool and makes the CRC fit again, as a
// tool made by someone else's writer would look.
QByteArray WithPayloadByte(QByteArray file, qsizetype L, qsizetype at, char value) {
    const qsizetype trailer = file.size() - 38;
    file[L + at] = static_cast<char>(value ^ kScrambleKey);
    const std::uint16_t crc =
        Crc16(reinterpret_cast<const std::uint8_t*>(file.constData()), std::size_t(trailer));
    file[trailer] = static_cast<char>(crc >> 8);
    file[trailer + 1] = static_cast<char>(crc);
    return file;
}

TEST(BatchTool, SizeIsLoaderArchiveTitleAndFixedBytes) {
    for (const QByteArray& title : {QByteArray("T"), QByteArray("Line 3"), QByteArray(300, 't')}) {
        const QByteArray file = BuildBatchTool(Tool(title), kNow, 1);
        EXPECT_EQ(file.size(), 321 + 77 + title.size() + 209);
    }
    EXPECT_EQ(BuildBatchTool(Tool("T"), kNow, 1).size(), 321 + 77 + 210);
}

TEST(BatchTool, RoundTripsAndLaysOutThePayload) {
    const QByteArray title("\xB2\xE2\xCA\xD4", 4); // "测试" in GBK
    const QByteArray file = BuildBatchTool(Tool(title, true, "secret"), kNow, 7);
    ASSERT_FALSE(file.isEmpty());
    const std::optional<BatchTool> read = ReadBatchTool(file);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->loader, QByteArray(321, 'L'));
    EXPECT_EQ(read->archive, QByteArray(77, 'A'));
    EXPECT_EQ(read->title, title);
    EXPECT_TRUE(read->login);
    EXPECT_EQ(read->password, QByteArray("secret") + QByteArray(10, '\0'));

    QByteArray payload = file.mid(321, file.size() - 321 - 38);
    XorScramble(payload);
    EXPECT_EQ(payload.left(2), "RV");
    EXPECT_EQ(payload.mid(2, 32), QByteArray(1, '\1') + QByteArray(31, '\0'));
    EXPECT_EQ(payload.mid(34, 7), QByteArray("\x07\xEA\x0C\x0A\x0B\x2D\x07", 7));
    EXPECT_EQ(payload.mid(41, 3), QByteArray(3, '\0'));
    EXPECT_EQ(payload.mid(44, 32), QByteArray(1, '\1') + QByteArray(31, '\0'));
    for (char c : payload.mid(76, 32))
        EXPECT_LE(static_cast<std::uint8_t>(c), 127);
    EXPECT_EQ(payload.mid(108, 4), QByteArray("\0\0\0\x4D", 4));
    EXPECT_EQ(payload.mid(189, 2), QByteArray("\0\x04", 2));
    EXPECT_EQ(payload.right(2), "GX");
    // The trailer is plain: CRC high byte first, then the signature, then L.
    const std::uint16_t crc = Crc16(reinterpret_cast<const std::uint8_t*>(file.constData()),
                                    std::size_t(file.size() - 38));
    EXPECT_EQ(static_cast<std::uint8_t>(file[file.size() - 38]), crc >> 8);
    EXPECT_EQ(static_cast<std::uint8_t>(file[file.size() - 37]), crc & 0xFF);
    EXPECT_EQ(file.mid(file.size() - 9, 5), QByteArray(5, '\0'));
    EXPECT_EQ(file.right(4), QByteArray("\0\0\x01\x41", 4));
}

TEST(BatchTool, PasswordFieldAndLoginFlag) {
    const QByteArray sixteen("0123456789abcdef");
    const std::optional<BatchTool> full =
        ReadBatchTool(BuildBatchTool(Tool("T", true, sixteen), kNow, 1));
    ASSERT_TRUE(full);
    EXPECT_EQ(full->password, sixteen);
    EXPECT_FALSE(full->password.contains('\0'));

    const std::optional<BatchTool> none =
        ReadBatchTool(BuildBatchTool(Tool("T", false, "x"), kNow, 1));
    ASSERT_TRUE(none);
    EXPECT_FALSE(none->login);
    EXPECT_EQ(none->password.size(), 16);
    for (char c : none->password)
        EXPECT_NE(static_cast<std::uint8_t>(c), 255);
}

TEST(BatchTool, WriterRefusesMissingOrOversizedInput) {
    BatchTool noLoader = Tool();
    noLoader.loader.clear();
    BatchTool noArchive = Tool();
    noArchive.archive.clear();
    for (const BatchTool& tool :
         {noLoader, noArchive, Tool(""), Tool("T", true, "0123456789abcdefg")})
        EXPECT_TRUE(BuildBatchTool(tool, kNow, 1).isEmpty());
}

TEST(BatchTool, AnyChangedByteBeforeTheTrailerIsRefused) {
    const QByteArray file = BuildBatchTool({"ELF", "Z", "T", true, "pw"}, kNow, 3);
    ASSERT_TRUE(ReadBatchTool(file));
    for (qsizetype i = 0; i < file.size() - 38; ++i) {
        for (char flip : {char(0x01), char(0x80)}) {
            QByteArray damaged = file;
            damaged[i] = static_cast<char>(damaged[i] ^ flip);
            EXPECT_FALSE(ReadBatchTool(damaged)) << "byte " << i;
        }
    }
}

TEST(BatchTool, ReaderRefusesDamagedToolsWithAFittingCrc) {
    const QByteArray file = BuildBatchTool(Tool("T"), kNow, 3);
    const qsizetype L = 321;
    const qsizetype D = 77;
    ASSERT_TRUE(ReadBatchTool(WithPayloadByte(file, L, 76, 5))); // the filler carries nothing

    QByteArray badSignature = file;
    badSignature[badSignature.size() - 30] = 'x';
    QByteArray beyond = file;
    beyond[beyond.size() - 4] = 0x7F;
    QByteArray atEnd = file;
    const qsizetype N = file.size();
    atEnd[N - 4] = static_cast<char>(N >> 24);
    atEnd[N - 3] = static_cast<char>(N >> 16);
    atEnd[N - 2] = static_cast<char>(N >> 8);
    atEnd[N - 1] = static_cast<char>(N);
    const std::vector<std::pair<const char*, QByteArray>> cases{
        {"empty", {}},
        {"four bytes", "\0\0\0\0"},
        {"no RV", WithPayloadByte(file, L, 0, 'X')},
        {"no GX", WithPayloadByte(file, L, 170 + D + 1, 'Y')},
        {"T = 0", WithPayloadByte(file, L, 113 + D, 0)},
        {"T too long", WithPayloadByte(file, L, 112 + D, 1)},
        {"D too long", WithPayloadByte(file, L, 108, 1)},
        {"wrong signature", badSignature},
        {"L beyond the file", beyond},
        {"L at the end", atEnd},
        {"cut", file.left(file.size() - 1)},
    };
    for (const auto& [what, damaged] : cases)
        EXPECT_FALSE(ReadBatchTool(damaged)) << what;
}

TEST(BatchTool, WriteReplacesTheFileWhole) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("tool");
    ASSERT_TRUE(WriteBatchTool(path, Tool()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ReadBatchTool(file.readAll()));
    file.close();
    EXPECT_FALSE(WriteBatchTool(path, Tool("")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ReadBatchTool(file.readAll())); // the old tool is still whole
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"tool"});
}

TEST(BatchToolSettings, RoundTripAndPlcFileOnlyWhenItExists) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("batchtool_config.dll");
    BatchToolSettings s{"标题", "1.2", "pw", true, false, dir.filePath("missing.pmw")};
    ASSERT_TRUE(SaveBatchToolSettings(s, path));
    BatchToolSettings read = LoadBatchToolSettings(path);
    EXPECT_EQ(read.title, "标题");
    EXPECT_EQ(read.version, "1.2");
    EXPECT_EQ(read.password, "pw");
    EXPECT_TRUE(read.bpass);
    EXPECT_FALSE(read.busb);
    EXPECT_EQ(read.plcfile, "");

    s.plcfile = path; // any existing file
    s.busb = true;
    ASSERT_TRUE(SaveBatchToolSettings(s, path));
    read = LoadBatchToolSettings(path);
    EXPECT_EQ(read.plcfile, path);
    EXPECT_TRUE(read.busb);

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("[batchtool]"));
    EXPECT_TRUE(text.contains("bpass=1"));
}

} // namespace

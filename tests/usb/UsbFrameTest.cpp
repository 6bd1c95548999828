#include "UsbFrame.h"

#include "Crc16.h"

#include <QCryptographicHash>

#include <gtest/gtest.h>

namespace {

int Byte(const QByteArray& data, qsizetype i) {
    return static_cast<std::uint8_t>(data[i]);
}

int BE16(const QByteArray& data, qsizetype i) {
    return Byte(data, i) << 8 | Byte(data, i + 1);
}

} // namespace

TEST(UsbFrame, CommandFrameCarriesZeroPayloadAndItsCrcHighByteFirst) {
    const QByteArray frame = BuildCommandFrame(CMD_RESTART);
    ASSERT_EQ(frame.size(), 39);
    EXPECT_EQ(Byte(frame, 0), 0x02);
    EXPECT_EQ(Byte(frame, 1), 0x06);
    EXPECT_EQ(BE16(frame, 2), 32);
    EXPECT_EQ(frame.mid(4, 32), QByteArray(32, '\0'));
    EXPECT_EQ(Byte(frame, 36), 0x03);
    const std::uint16_t crc = Crc16(frame.left(37));
    EXPECT_EQ(Byte(frame, 37), crc >> 8);
    EXPECT_EQ(Byte(frame, 38), crc & 0xFF);
}

TEST(UsbFrame, LengthFieldIsBigEndianAndAFullBlockMakesExactly512Bytes) {
    QByteArray payload(kBlockSize, '\0');
    for (int i = 0; i < kBlockSize; ++i)
        payload[i] = static_cast<char>(i * 7);
    const QByteArray frame = BuildFrame(CMD_FILE_DATA, payload);
    ASSERT_EQ(frame.size(), 512);
    EXPECT_EQ(Byte(frame, 2), 0x01);
    EXPECT_EQ(Byte(frame, 3), 0xF9);
    EXPECT_EQ(frame.mid(4, kBlockSize), payload);
    EXPECT_EQ(Byte(frame, 509), 0x03);
    EXPECT_EQ(BE16(frame, 510), Crc16(frame.left(510)));
}

TEST(UsbFrame, ConnectPayload) {
    const QByteArray frame = BuildConnectFrame(0, 200);
    ASSERT_EQ(frame.size(), 39);
    EXPECT_EQ(Byte(frame, 1), 0x05);
    QByteArray expected(32, '\0');
    expected[1] = static_cast<char>(200);
    expected[2] = 1;
    expected[3] = 1;
    EXPECT_EQ(frame.mid(4, 32), expected);
}

TEST(UsbFrame, FileInfoLayout) {
    QByteArray data(70000, '\0');
    for (int i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i % 251);
    const QByteArray frame = BuildFileInfoFrame(QStringLiteral("sheetpara.dat"), data);
    ASSERT_EQ(frame.size(), 64);
    EXPECT_EQ(Byte(frame, 1), 0x01);
    EXPECT_EQ(BE16(frame, 2), 57);
    const QByteArray payload = frame.mid(4, 57);
    EXPECT_EQ(payload.left(32), QByteArray("sheetpara.dat") + QByteArray(19, '\0'));
    EXPECT_EQ(payload.mid(32, 4), QByteArray::fromHex("00011170"));
    EXPECT_EQ(payload.mid(36, 16), QCryptographicHash::hash(data, QCryptographicHash::Md5));
    EXPECT_EQ(Byte(payload, 52), 0);
    EXPECT_EQ(BE16(payload, 53), Crc16(data));
    EXPECT_EQ(payload.mid(55, 2), QByteArray(2, '\0'));
    EXPECT_EQ(Byte(frame, 61), 0x03);
    EXPECT_EQ(BE16(frame, 62), Crc16(frame.left(62)));
}

TEST(UsbFrame, FileInfoNameIsEightBitAndCutTo32BytesWithoutTerminator) {
    struct Case {
        QString name;
        QByteArray field;
    };
    const QByteArray forty = "0123456789012345678901234567890123456789";
    const Case cases[] = {
        {QString::fromLatin1(forty), forty.left(32)},
        {QString::fromLatin1(forty.left(32)), forty.left(32)},
        {QString::fromLatin1(forty.left(31)), forty.left(31) + '\0'},
        {QStringLiteral("工程.dat"), QByteArray("\xb9\xa4\xb3\xcc.dat") + QByteArray(24, '\0')},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BuildFileInfoFrame(c.name, "x").mid(4, 32), c.field) << c.name.toStdString();
}

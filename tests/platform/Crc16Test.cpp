#include "Crc16.h"

#include <gtest/gtest.h>

TEST(Crc16, KnownValues)
{
    EXPECT_EQ(Crc16(QByteArray("123456789")), 0x4B37);
    EXPECT_EQ(Crc16(QByteArray()), 0xFFFF);
    // A single zero byte, as a frame with an empty payload would have it.
    EXPECT_EQ(Crc16(QByteArray(1, '\0')), 0x40BF);
}

TEST(Crc16, ContinuesOverPieces)
{
    const QByteArray all("123456789");
    EXPECT_EQ(Crc16(all.mid(4), Crc16(all.left(4))), Crc16(all));
}

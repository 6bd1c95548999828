#include "Handover.h"
#include "ImageBuilder.h"
#include "ImageHeader.h"
#include "ImageLoader.h"
#include "NamedSharedMemory.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

TEST(ImageLoader, HandoverIsUnscrambledWithItsKey) {
    const std::optional<PanelImage> image =
        ImageLoader::FromHandover(QByteArray::fromHex("000000045a5a5a5a5a"));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Bytes(), (std::vector<uint8_t>{0, 0, 0, 0}));
}

TEST(ImageLoader, RefusesEmptyShortAndOverlongHandovers) {
    for (const char* hex : {"", "0000", "000000005a", "000000055a5a5a5a5a", "ffffffff00aa"})
        EXPECT_FALSE(ImageLoader::FromHandover(QByteArray::fromHex(hex))) << hex;
}

TEST(ImageLoader, ReadsTheDesignersSharedMemory) {
    ImageBuilder builder;
    builder.Frame(1, 0x1234);
    const std::vector<uint8_t> image = builder.Build();
    const std::vector<uint8_t> handover = HandoverOf(image, 0x37);
    const QString name = QStringLiteral("kv_emulator_test_%1").arg(getpid());
    std::optional<PanelImage> loaded;
    {
        NamedSharedMemory memory;
        ASSERT_TRUE(memory.Create(name, Handover::kSize));
        std::copy(handover.begin(), handover.end(), memory.Data());
        loaded = ImageLoader::FromSharedMemory(name);
    }
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->Bytes(), image);
    EXPECT_FALSE(ImageLoader::FromSharedMemory(name)) << "removed mapping";
}

TEST(ImageLoader, ReadsAnImageFile) {
    QTemporaryDir dir;
    QFile file(dir.filePath("sheetpara.dat"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xAA\x55\x01\x02", 4);
    file.close();
    const std::optional<PanelImage> image = ImageLoader::FromFile(file.fileName());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->BE16(0x8002), 0x0102);
    EXPECT_FALSE(ImageLoader::FromFile(dir.filePath("missing.dat")));
}

TEST(PanelImage, ReadsOutsideTheImageGiveZeroAndAreCounted) {
    const PanelImage image(std::vector<uint8_t>{0x12, 0x34, 0x56, 0x78});
    EXPECT_EQ(image.BE32(0x8000), 0x12345678u);
    EXPECT_EQ(image.LE32(0x8000), 0x78563412u);
    EXPECT_EQ(image.OutsideReads(), 0u);
    EXPECT_EQ(image.BE16(0x8003), 0x7800) << "straddles the end";
    EXPECT_EQ(image.Byte(0x7FFF), 0);
    EXPECT_EQ(image.BE32(0xFFFFFFFE), 0u) << "no wrap-around into the image";
    EXPECT_EQ(image.OutsideReads(), 6u);
}

TEST(ImageHeader, ReadsTheLittleEndianFields) {
    ImageBuilder builder;
    builder.beginFrame = 0x0203;
    builder.password = 4321;
    builder.options = 0x13;
    builder.entryProtection = true;
    builder.setting = {3, 7, 0x1234, 2, 5, 0};
    builder.settingAddrInc = 2;
    builder.Frame(0x0203, 0);
    const PanelImage image(builder.Build());
    ASSERT_TRUE(HasHeaderMagic(image));
    const ImageHeader header = ReadHeader(image);
    EXPECT_EQ(header.fullWidthTable, 0x8044u);
    EXPECT_EQ(header.frameCount, 1);
    EXPECT_EQ(header.beginFrame, 0x0203);
    EXPECT_EQ(header.password, 4321);
    EXPECT_EQ(header.settingStation, 3);
    EXPECT_EQ(header.settingType, 7);
    EXPECT_EQ(header.settingAddress, 0x1234);
    EXPECT_EQ(header.settingAddrInc, 2);
    EXPECT_TRUE(header.Has(kAutoChange));
    EXPECT_TRUE(header.Has(kUseFrame));
    EXPECT_FALSE(header.Has(kCanOffline));
    EXPECT_TRUE(header.entryProtection);
    EXPECT_FALSE(header.alarms);
    EXPECT_FALSE(HasHeaderMagic(PanelImage(std::vector<uint8_t>{0xAA, 0x55}))) << "too short";
}

} // namespace

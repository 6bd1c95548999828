#include "BuiltinImages.h"
#include "EngineHarness.h"
#include "PanelDrawing.h"

#include <gtest/gtest.h>

namespace {

constexpr uint16_t kBackground = 0x1111;

TEST(DisplayMemory, ExpandsRgb565AndIgnoresWritesOffScreen) {
    DisplayMemory display;
    display.Pixel(479, 271, 0xF800);
    display.Pixel(480, 0, 0x07E0);
    display.Pixel(-1, 5, 0x07E0);
    display.FillRect(470, 260, 100000, 100000, 0x001F);
    EXPECT_EQ(display.At(479, 271), 0x001F);
    EXPECT_EQ(DisplayMemory::Expand(0xF800), 0xF80000u);
    EXPECT_EQ(DisplayMemory::Expand(0x07E0), 0x00FC00u);
    EXPECT_EQ(DisplayMemory::Expand(0x001F), 0x0000F8u);
    EXPECT_EQ(display.Pixels32()[271 * 480 + 479], 0x0000F8u);
    EXPECT_EQ(display.ToImage().pixel(479, 271) & 0xFFFFFFu, 0x0000F8u);
}

TEST(FrameDrawing, EmptyFrameShowsOnlyItsBackground) {
    ImageBuilder builder;
    builder.Frame(1, kBackground);
    auto started = Started(builder);
    Engine& engine = *started;
    for (auto [x, y] : {std::pair{0, 0}, {479, 271}, {240, 136}})
        EXPECT_EQ(engine.Screen().At(x, y), kBackground);
}

TEST(FrameDrawing, StaticTextHalfAndFullWidthGlyphs) {
    ImageBuilder builder;
    builder.Frame(1, kBackground);
    // Half-width glyph 3, then full-width glyph 0x102 (bytes 81 02), then half-width 4.
    builder.Element(kTypeStaticText, StaticText(20, 30, 0xFFFF, 0x0000, true, {3, 0x81, 0x02, 4}));
    auto started = Started(builder);
    Engine& engine = *started;
    const DisplayMemory& d = engine.Screen();
    EXPECT_EQ(Shown(d, 20, 30, 1), "3");
    int top = 0;
    for (int x = 0; x < 16; ++x)
        top = top << 1 | (d.At(28 + x, 30) == 0xFFFF);
    EXPECT_EQ(top, 0x103) << "full-width glyph 0x102 carries 0x103 in its top row";
    EXPECT_EQ(Shown(d, 44, 30, 1), "4") << "the pen advanced 8 + 16 pixels";
    EXPECT_EQ(d.At(20, 31), 0x0000) << "background flag paints clear bits";
}

TEST(FrameDrawing, TextWithoutBackgroundLeavesThePictureVisible) {
    ImageBuilder builder;
    builder.Frame(1, kBackground);
    std::vector<uint16_t> pixels(16 * 16);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<uint16_t>(0x0100 + i);
    const uint16_t number = builder.Picture(16, 16, pixels);
    builder.Element(kTypePicture, Picture(100, 50, 16, 16, number));
    builder.Element(kTypeStaticText, StaticText(100, 50, 0xF800, 0x0000, false, {0, 1}));
    builder.Element(kTypeStaticText, StaticText(100, 60, 0xF800, 0x0000, true, {0}));
    auto started = Started(builder);
    Engine& engine = *started;
    const DisplayMemory& d = engine.Screen();
    EXPECT_EQ(d.At(107, 50), 0xF800) << "glyph 0's top row has bit 0 set (value 1)";
    EXPECT_EQ(d.At(100, 50), 0x0100) << "picture between the strokes, little-endian pixels";
    EXPECT_EQ(d.At(115, 52), 0x0100 + 2 * 16 + 15);
    EXPECT_EQ(d.At(100, 61), 0x0000) << "with the flag the background covers the picture";
}

TEST(FrameDrawing, PictureOffScreenIsClipped) {
    ImageBuilder builder;
    builder.Frame(1, kBackground);
    const uint16_t number = builder.Picture(4, 2, std::vector<uint16_t>(8, 0x07E0));
    builder.Element(kTypePicture, Picture(478, 270, 4, 2, number));
    auto started = Started(builder);
    Engine& engine = *started;
    EXPECT_EQ(engine.Screen().At(479, 271), 0x07E0);
    EXPECT_EQ(engine.Screen().At(477, 271), kBackground);
}

TEST(FrameDrawing, FunctionKeysUseTheBuiltinButtonsWithTransparency) {
    ImageBuilder builder;
    builder.Frame(1, kBackground);
    builder.Element(kTypeFunctionKey, KeyHead(0, 0, 0x00, 0x81, Key::kSet));
    builder.Element(kTypeFunctionKey, KeyHead(100, 0, 0x0A, 0x81, 0x0A));      // double size, hand
    builder.Element(kTypeFunctionKey, KeyHead(300, 0, 0x04, 0x81, Key::kEsc)); // hidden
    auto started = Started(builder);
    Engine& engine = *started;
    const DisplayMemory& d = engine.Screen();
    const Rgb565Image& key = KeyImage(Key::kSet, false);
    int transparent = 0, drawn = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const uint16_t colour = key.pixels[static_cast<size_t>(y * 32 + x)];
            if (colour == kTransparent)
                transparent += d.At(x, y) == kBackground;
            else
                drawn += d.At(x, y) == colour;
        }
    }
    EXPECT_GT(transparent, 0);
    EXPECT_EQ(drawn + transparent, 32 * 32);
    const Rgb565Image& large = KeyImage(0x0A, true);
    EXPECT_EQ(d.At(100 + 64 + 32, 32), large.pixels[32 * 64 + 32]) << "button right of the hand";
    for (int x = 300; x < 332; ++x)
        EXPECT_EQ(d.At(x, 16), kBackground) << "hidden key";
}

TEST(FrameDrawing, DamagedImagesDoNotCrash) {
    ImageBuilder builder;
    builder.Frame(1, kBackground);
    builder.Element(kTypeStaticText, StaticText(0, 0, 0xFFFF, 0, true, {0x7F, 0xFF, 0xFF}));
    builder.Element(kTypePicture, Picture(0, 0, 0xFFFF, 0xFFFF, 0x7777));
    builder.Element(99, {1, 2, 3});
    std::vector<uint8_t> image = builder.Build();
    image.resize(image.size() - 8); // cut into the last record
    Engine engine{PanelImage(image)};
    engine.Advance(2000);
    EXPECT_TRUE(engine.Running());
    EXPECT_GT(engine.Image().OutsideReads(), 0u);
}

} // namespace

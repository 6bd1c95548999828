#include "BuiltinImages.h"
#include "EngineHarness.h"
#include "RegisterFormat.h"

#include <gtest/gtest.h>

namespace {

constexpr uint16_t kBackground = 0x1111;

std::string Format(int64_t value, int width, int pointBits, bool decimal = true) {
    static const char kGlyphs[] = "0123456789ABCDEF? -.";
    std::string text;
    for (uint8_t glyph : RegisterGlyphs(value, width, pointBits, decimal))
        text += kGlyphs[glyph];
    return text;
}

TEST(RegisterFormat, RightAlignedWithPointSignAndBase) {
    struct Case {
        int64_t value;
        int width, pointBits;
        bool decimal;
        const char* shown;
    } cases[] = {
        {5, 4, 1, true, " 0.5"},     {-5, 5, 2, true, "-0.05"},      {1234, 4, 0, true, "1234"},
        {12345, 4, 0, true, "????"}, {0xBEEF, 5, 0, false, " BEEF"}, {0, 3, 0, true, "  0"},
        {-1, 4, 0, true, "  -1"},    {150, 5, 1, true, " 15.0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Format(c.value, c.width, c.pointBits, c.decimal), c.shown) << c.value;
}

TEST(RegisterFormat, RawValuesAndScaling) {
    EXPECT_EQ(RawValue(0xFFFF, 16, true), -1);
    EXPECT_EQ(RawValue(0xFFFF, 16, false), 0xFFFF);
    EXPECT_EQ(RawValue(0x1FF, 8, true), -1) << "8 bits read the low byte";
    EXPECT_EQ(RawValue(0xFFFFFFFE, 32, true), -2);
    RegisterRecord reg;
    reg.flags = kRegHaveLimit | kRegScaling;
    reg.address.units = 2;
    reg.rawLower = 0, reg.rawUpper = 4000, reg.engLower = 0, reg.engUpper = 1000;
    EXPECT_EQ(DisplayValue(reg, 2002), 501) << "500.5 rounds away from zero";
    EXPECT_EQ(DisplayValue(reg, 2001), 500);
    reg.rawUpper = 0;
    EXPECT_EQ(DisplayValue(reg, 7), 7) << "an empty raw range leaves the value unscaled";
}

TEST(Refresh, RegistersShowThePlcValue) {
    ImageBuilder builder;
    builder.Frame(1, kBackground);
    RegisterSpec minusOne;
    minusOne.left = 10, minusOne.top = 10, minusOne.flags = 0x30, minusOne.address = Word(100);
    RegisterSpec half;
    half.left = 10, half.top = 40, half.pointBits = 1, half.address = Word(101);
    RegisterSpec wide;
    wide.left = 10, wide.top = 70, wide.width = 6, wide.address = Word(102, 4);
    wide.border = 1;
    builder.Element(kTypeRegister, Register(minusOne));
    builder.Element(kTypeRegister, Register(half));
    builder.Element(kTypeRegister, Register(wide));
    auto started = Started(builder);
    Engine& engine = *started;
    engine.Memory().Plc().SetWord(100, 16, 0xFFFF);
    engine.Memory().Plc().SetWord(101, 16, 5);
    engine.Memory().Plc().SetWord(102, 32, 123456);
    engine.Advance(2);
    const DisplayMemory& d = engine.Screen();
    EXPECT_EQ(Shown(d, 10, 10, 4), "  -1");
    EXPECT_EQ(Shown(d, 10, 40, 4), " 0.5");
    EXPECT_EQ(Shown(d, 10, 70, 6), "123456");
    EXPECT_EQ(d.At(9, 69), 0x07E0) << "plain border";
    EXPECT_EQ(d.At(10 + 48, 70 + 16), 0x07E0);
}

TEST(Refresh, RequestCacheShowsTheValueOnceServed) {
    ImageBuilder builder;
    builder.options = 0; // through the request queue
    builder.Frame(1, kBackground);
    RegisterSpec reg;
    reg.address = Word(7);
    builder.Element(kTypeRegister, Register(reg));
    auto started = Started(builder);
    Engine& engine = *started;
    engine.Memory().Plc().SetWord(7, 16, 42);
    engine.Advance(1);
    EXPECT_EQ(Shown(engine.Screen(), 0, 0, 4), "   0") << "the cached value until served";
    engine.Advance(1);
    EXPECT_EQ(Shown(engine.Screen(), 0, 0, 4), "  42");
}

TEST(Refresh, LampOnAndOff) {
    ImageBuilder builder;
    builder.Frame(1, kBackground);
    builder.Element(kTypeIndicator, Indicator(0, 0, 0x08, BitAt(5)));  // square, lit by a 1
    builder.Element(kTypeIndicator, Indicator(40, 0, 0x18, BitAt(5))); // round, lit by a 1
    builder.Element(kTypeIndicator, Indicator(80, 0, 0x00, BitAt(5))); // square, lit by a 0
    auto started = Started(builder);
    Engine& engine = *started;
    const DisplayMemory& d = engine.Screen();
    auto matches = [&](int x, int shape, bool transparent) {
        const Rgb565Image& lamp = LampImage(shape, false);
        for (int y = 0; y < 32; ++y) {
            for (int c = 0; c < 32; ++c) {
                uint16_t want = lamp.pixels[static_cast<size_t>(y * 32 + c)];
                if (transparent && want == kTransparent)
                    want = kBackground;
                if (d.At(x + c, y) != want)
                    return false;
            }
        }
        return true;
    };
    EXPECT_TRUE(matches(0, 1, false)) << "square off, opaque";
    EXPECT_TRUE(matches(40, 0, true)) << "round off, transparent";
    EXPECT_TRUE(matches(80, 3, false)) << "without 0x08 a 0 lights it";
    EXPECT_NE(d.At(0, 0), kBackground) << "a square lamp fills its corners";
    EXPECT_EQ(d.At(40, 0), kBackground) << "a round lamp shows the frame in its corners";
    engine.Memory().Plc().SetBit(5, true);
    engine.Advance(2);
    EXPECT_TRUE(matches(0, 3, false));
    EXPECT_TRUE(matches(40, 2, true));
    EXPECT_TRUE(matches(80, 1, false));
    EXPECT_NE(LampImage(1, false).pixels[16 * 32 + 16], LampImage(3, false).pixels[16 * 32 + 16]);
}

int FilledRows(const DisplayMemory& d, int x, int top, int height, uint16_t fg) {
    int rows = 0;
    for (int y = top; y < top + height; ++y)
        rows += d.At(x, y) == fg;
    return rows;
}

TEST(Refresh, BarFillsItsShareOfTheLength) {
    ImageBuilder builder;
    builder.Frame(1, kBackground);
    builder.Element(kTypeBar, Bar(0, 0, 20, 100, Word(9), 200, 100, 1, 0xF800, 0x001F));   // up
    builder.Element(kTypeBar, Bar(30, 0, 20, 100, Word(9), 200, 100, 2, 0xF800, 0x001F));  // down
    builder.Element(kTypeBar, Bar(60, 0, 100, 20, Word(9), 200, 100, 8, 0xF800, 0x001F));  // right
    builder.Element(kTypeBar, Bar(60, 30, 100, 20, Word(9), 200, 100, 4, 0xF800, 0x001F)); // left
    auto started = Started(builder);
    Engine& engine = *started;
    const DisplayMemory& d = engine.Screen();
    EXPECT_EQ(FilledRows(d, 5, 0, 100, 0xF800), 0) << "below the lower limit";
    engine.Memory().Plc().SetWord(9, 16, 125);
    engine.Advance(2);
    EXPECT_EQ(FilledRows(d, 5, 0, 100, 0xF800), 25);
    EXPECT_EQ(d.At(5, 99), 0xF800) << "up fills from the bottom";
    EXPECT_EQ(d.At(35, 0), 0xF800) << "down fills from the top";
    EXPECT_EQ(d.At(60, 5), 0xF800) << "right fills from the left";
    EXPECT_EQ(d.At(84, 5), 0xF800);
    EXPECT_EQ(d.At(85, 5), 0x001F);
    EXPECT_EQ(d.At(159, 35), 0xF800) << "left fills from the right";
    engine.Memory().Plc().SetWord(9, 16, 5000);
    engine.Advance(2);
    EXPECT_EQ(FilledRows(d, 5, 0, 100, 0xF800), 100) << "clamped to the upper limit";
}

TEST(Refresh, DynamicTextShowsTheMatchingItemOrBlanks) {
    ImageBuilder builder;
    builder.Frame(1, kBackground);
    builder.Element(kTypeDynamicText,
                    DynamicText(0, 0, Word(3), 0xFFFF, 0x0000, true, {{1, {1}}, {2, {2, 3, 4}}}));
    auto started = Started(builder);
    Engine& engine = *started;
    const DisplayMemory& d = engine.Screen();
    EXPECT_EQ(Shown(d, 0, 0, 3), "   ") << "value 0 matches no item";
    for (int x = 0; x < 24; ++x)
        EXPECT_EQ(d.At(x, 8), 0x0000) << "blanks are background only";
    engine.Memory().Plc().SetWord(3, 16, 2);
    engine.Advance(2);
    EXPECT_EQ(Shown(d, 0, 0, 3), "234");
    engine.Memory().Plc().SetWord(3, 16, 1);
    engine.Advance(2);
    EXPECT_EQ(Shown(d, 0, 0, 3), "1  ") << "the longer item is blanked out";
}

TEST(Refresh, TrendSamplesAndScrolls) {
    ImageBuilder builder;
    builder.Frame(1, kBackground);
    // 43 wide, 4 points: a step of 10 pixels; samples every 200 ms.
    builder.Element(kTypeTrend, Trend(0, 0, 43, 52, Word(4), 4, 100, 0, 1, 0x0000, 0x07E0, 0xF800));
    auto started = Started(builder);
    Engine& engine = *started;
    const DisplayMemory& d = engine.Screen();
    EXPECT_EQ(d.At(0, 0), 0x07E0) << "frame in the fore colour";
    EXPECT_EQ(d.At(20, 20), 0x0000);
    engine.Memory().Plc().SetWord(4, 16, 50);
    engine.Advance(400);
    // Height (52 - 2) * 50 / 100 = 25 above the bottom row 51.
    EXPECT_EQ(d.At(1, 26), 0xF800);
    EXPECT_EQ(d.At(11, 26), 0xF800);
    engine.Memory().Plc().SetWord(4, 16, 100);
    engine.Advance(1200);
    EXPECT_EQ(d.At(41, 1), 0xF800) << "newest sample at the right edge, at the top";
    EXPECT_NE(d.At(1, 26), 0xF800) << "the first samples scrolled out";
}

} // namespace

namespace {

TEST(Refresh, ErrorTextWhileCyclesStayIncomplete) {
    ImageBuilder builder;
    builder.options = 0; // through the 99-request queue
    builder.Frame(1, kBackground);
    // 120 distinct addresses: the queue never holds them all, so no cycle completes.
    for (uint16_t i = 0; i < 120; ++i)
        builder.Element(kTypeIndicator, Indicator(0, 0, 0x08, BitAt(i)));
    auto started = Started(builder);
    Engine& engine = *started;
    engine.Advance(20);
    int red = 0;
    for (int y = 250; y < 266; ++y) {
        for (int x = 380; x < 468; ++x)
            red += engine.Screen().At(x, y) == 0xF800;
    }
    EXPECT_GT(red, 100) << "the built-in error text in red at (380, 250)";
}

} // namespace

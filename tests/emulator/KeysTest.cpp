#include "EngineHarness.h"

#include <gtest/gtest.h>

namespace {

constexpr uint8_t kDigit7 = 0x0F;
constexpr uint8_t kDigit1 = 0x0D;
constexpr uint8_t kDigit2 = 0x0C;

// Frames 1 -> 2 -> 3 linked by their next and previous IDs.
ImageBuilder ThreeFrames() {
    ImageBuilder builder;
    builder.Frame(1, 0x0001, 3, 2);
    builder.Frame(2, 0x0002, 1, 3);
    builder.Frame(3, 0x0003, 2, 1);
    return builder;
}

TEST(Keys, BuiltinNavigation) {
    auto started = Started(ThreeFrames());
    Engine& engine = *started;
    EXPECT_EQ(engine.CurrentFrame(), 1);
    Press(engine, Key::kDown);
    EXPECT_EQ(engine.CurrentFrame(), 2);
    EXPECT_EQ(engine.Screen().At(0, 0), 0x0002);
    Press(engine, Key::kDown);
    EXPECT_EQ(engine.CurrentFrame(), 3);
    Press(engine, Key::kUp);
    EXPECT_EQ(engine.CurrentFrame(), 2);
    Press(engine, Key::kEsc);
    EXPECT_EQ(engine.CurrentFrame(), 1);
    Press(engine, Key::kLeft); // no function key, no built-in action
    Press(engine, Key::kAlm);  // no alarm list
    Press(engine, Key::kEnt);  // no entry protection
    EXPECT_EQ(engine.CurrentFrame(), 1);
    EXPECT_EQ(engine.Screen().At(0, 0), 0x0001);
}

TEST(Keys, JumpKeyReplacesTheBuiltinAction) {
    ImageBuilder builder = ThreeFrames();
    builder.Element(kTypeFunctionKey, JumpKey(Key::kDown, 3)); // on frame 3
    builder.Element(kTypeFunctionKey, JumpKey(kDigit7, 77));   // a frame that does not exist
    builder.beginFrame = 3;
    auto started = Started(builder);
    Engine& engine = *started;
    Press(engine, Key::kDown);
    EXPECT_EQ(engine.CurrentFrame(), 3) << "the key jumps to its own frame, not NextID 1";
    Press(engine, kDigit7);
    EXPECT_EQ(engine.CurrentFrame(), 3);
}

TEST(Keys, BitActions) {
    ImageBuilder builder;
    builder.Frame(1, 0);
    builder.Element(kTypeFunctionKey, BitKey(kDigit1, 0x10, BitAt(10)));
    builder.Element(kTypeFunctionKey, BitKey(kDigit2, 0x11, BitAt(10)));
    builder.Element(kTypeFunctionKey, BitKey(kDigit7, 0x12, BitAt(11)));
    builder.Element(kTypeFunctionKey, BitKey(Key::kSet, 0x13, BitAt(12)));
    auto started = Started(builder);
    Engine& engine = *started;
    PlcMemory& plc = engine.Memory().Plc();
    Press(engine, kDigit1);
    EXPECT_EQ(plc.Bit(10), 1);
    Press(engine, kDigit2);
    EXPECT_EQ(plc.Bit(10), 0);
    Press(engine, kDigit7);
    EXPECT_EQ(plc.Bit(11), 1);
    Press(engine, kDigit7);
    EXPECT_EQ(plc.Bit(11), 0);
    engine.SetKey(Key::kSet);
    engine.Advance(50);
    EXPECT_EQ(plc.Bit(12), 1) << "pulse: set while held";
    engine.SetKey(Key::kNone);
    engine.Advance(2);
    EXPECT_EQ(plc.Bit(12), 0) << "and reset on release";
}

TEST(Keys, SetRegisterAndMultiStatusStopAtTheirLimits) {
    struct Case {
        uint8_t action, units;
        uint32_t start;
        uint16_t step;
        uint32_t limit;
        uint32_t written;
    } cases[] = {
        {0x31, 2, 3, 5, 0, 0},         // 3 - 5 stops at 0, no wrap to 0xFFFE
        {0x30, 1, 250, 10, 255, 255},  // 8 bits: 260 stops at 255
        {0x30, 2, 100, 10, 1000, 110}, // within the limit
        {0x30, 4, 0xFFFFFFF0u, 0x20, 0xFFFFFFFFu, 0xFFFFFFFFu}, // 32 bits, no overflow
    };
    for (const Case& c : cases) {
        ImageBuilder builder;
        builder.Frame(1, 0);
        builder.Element(kTypeFunctionKey,
                        MultiStatusKey(kDigit1, c.action, Word(20, c.units), c.step, c.limit));
        builder.Element(kTypeFunctionKey, SetRegisterKey(kDigit2, Word(30), 0x1234));
        auto started = Started(builder);
        Engine& engine = *started;
        engine.Memory().Plc().SetWord(20, 32, c.start);
        Press(engine, kDigit1);
        EXPECT_EQ(engine.Memory().Plc().Word(20, c.units == 4 ? 32 : c.units * 8), c.written)
            << int{c.action} << " from " << c.start;
        Press(engine, kDigit2);
        EXPECT_EQ(engine.Memory().Plc().Word(30, 16), 0x1234u);
    }
}

TEST(Keys, FrameCommandSwitchesAndIsAcknowledged) {
    ImageBuilder builder = ThreeFrames();
    builder.options = 0x01 | 0x02; // AutoChange and ReportFrame, through the request queue
    builder.setting = Word(500);
    auto started = Started(builder);
    Engine& engine = *started;
    PlcMemory& plc = engine.Memory().Plc();
    EXPECT_EQ(plc.Word(501, 16), 1u) << "frame report after the command register";
    plc.SetWord(500, 16, 0x8003);
    engine.Advance(20);
    EXPECT_EQ(engine.CurrentFrame(), 3);
    EXPECT_EQ(plc.Word(500, 16), 0u);
    EXPECT_EQ(plc.Word(501, 16), 3u);
    plc.SetWord(500, 16, 9); // no such frame: ignored and left alone
    engine.Advance(20);
    EXPECT_EQ(engine.CurrentFrame(), 3);
    EXPECT_EQ(plc.Word(500, 16), 9u);
}

ImageBuilder ProtectedKeyImage() {
    ImageBuilder builder;
    builder.entryProtection = true;
    builder.password = 1234;
    builder.Frame(1, 0x0001);
    builder.Element(kTypeFunctionKey, BitKey(kDigit1, 0x10, BitAt(40), kKeyProtected));
    return builder;
}

void Login(Engine& engine, const std::string& password) {
    Press(engine, Key::kEnt); // password screen
    Press(engine, Key::kEnt); // first choice: enter the password
    Type(engine, password);
    Press(engine, Key::kEnt);
}

TEST(Keys, ProtectedKeyNeedsTheRightPassword) {
    auto started = Started(ProtectedKeyImage());
    Engine& engine = *started;
    PlcMemory& plc = engine.Memory().Plc();
    Press(engine, kDigit1);
    EXPECT_EQ(plc.Bit(40), 0);
    EXPECT_EQ(engine.Screen().At(160, 110), 0xF800) << "the notice box";
    engine.Advance(250);
    EXPECT_EQ(engine.Screen().At(160, 110), 0x0001) << "the frame is back";

    Login(engine, "4321");
    EXPECT_FALSE(engine.LoggedIn());
    Press(engine, Key::kEsc); // message -> choices
    Press(engine, Key::kEsc); // choices -> frame
    Login(engine, "1234");
    EXPECT_TRUE(engine.LoggedIn());
    Press(engine, Key::kEsc);
    Press(engine, Key::kEsc);
    Press(engine, kDigit1);
    EXPECT_EQ(plc.Bit(40), 1);

    Press(engine, Key::kEnt);
    Press(engine, Key::kDown); // second choice: log out
    Press(engine, Key::kEnt);
    EXPECT_FALSE(engine.LoggedIn());
}

TEST(Keys, PasswordEntryEdges) {
    auto started = Started(ProtectedKeyImage());
    Engine& engine = *started;
    Press(engine, Key::kEnt);
    Press(engine, Key::kEnt);
    Press(engine, Key::kEnt); // nothing typed
    EXPECT_FALSE(engine.LoggedIn());
    Press(engine, Key::kEsc);
    Press(engine, Key::kEnt);
    Type(engine, "9");
    Press(engine, Key::kClr);
    Type(engine, "123456"); // only four digits count
    Press(engine, Key::kEnt);
    EXPECT_TRUE(engine.LoggedIn());
}

ImageBuilder EntryImage() {
    ImageBuilder builder;
    builder.Frame(1, 0x0001);
    RegisterSpec limited;
    limited.address = Word(60);
    limited.flags = 0x20 | 0x04; // decimal, limits
    limited.rawUpper = 500;
    limited.rawLower = 10;
    RegisterSpec second;
    second.left = 100;
    second.address = Word(61);
    RegisterSpec readOnly;
    readOnly.left = 200;
    readOnly.flags2 = 0;
    readOnly.address = Word(62);
    builder.Element(kTypeRegister, Register(limited));
    builder.Element(kTypeRegister, Register(readOnly));
    builder.Element(kTypeRegister, Register(second));
    return builder;
}

TEST(RegisterEntry, RefusesValuesOutsideTheLimits) {
    auto started = Started(EntryImage());
    Engine& engine = *started;
    PlcMemory& plc = engine.Memory().Plc();
    Press(engine, Key::kSet);
    EXPECT_EQ(engine.Screen().At(16, 18), 0xF800) << "the selection frame";
    Type(engine, "0999"); // 999 > 500
    Press(engine, Key::kEnt);
    EXPECT_EQ(plc.Word(60, 16), 0u);
    engine.Advance(250);
    Press(engine, Key::kClr);
    Type(engine, "0005"); // 5 < 10
    Press(engine, Key::kEnt);
    engine.Advance(250);
    EXPECT_EQ(plc.Word(60, 16), 0u);
    Press(engine, Key::kClr);
    Type(engine, "0420");
    Press(engine, Key::kEnt);
    EXPECT_EQ(plc.Word(60, 16), 420u);
    // Now on the second settable register, the read-only one is skipped.
    for (int i = 0; i < 3; ++i)
        Press(engine, Key::kRight);
    Press(engine, Key::kUp); // the last digit 0 -> 1
    Press(engine, Key::kLeft);
    Press(engine, Key::kUp);
    Press(engine, Key::kUp); // the tens 0 -> 2
    Press(engine, Key::kEnt);
    EXPECT_EQ(plc.Word(61, 16), 21u);
    EXPECT_EQ(plc.Word(62, 16), 0u);
    engine.Advance(10);
    EXPECT_EQ(Shown(engine.Screen(), 0, 0, 4), " 420") << "entry ended, values shown";
    EXPECT_EQ(Shown(engine.Screen(), 100, 0, 4), "  21");
}

TEST(RegisterEntry, ProtectedRegistersWaitForTheLogin) {
    ImageBuilder builder;
    builder.entryProtection = true;
    builder.password = 7;
    builder.Frame(1, 0);
    RegisterSpec secret;
    secret.flags = 0x20 | 0x40; // Encrypt
    secret.address = Word(80);
    builder.Element(kTypeRegister, Register(secret));
    auto started = Started(builder);
    Engine& engine = *started;
    Press(engine, Key::kSet);
    EXPECT_NE(engine.Screen().At(16, 18), 0xF800) << "no entry before the login";
    Login(engine, "7");
    Press(engine, Key::kEsc);
    Press(engine, Key::kEsc);
    Press(engine, Key::kSet);
    Type(engine, "0009");
    Press(engine, Key::kEnt);
    EXPECT_EQ(engine.Memory().Plc().Word(80, 16), 9u);
}

TEST(RegisterEntry, ScaledSignedValueIsConvertedBack) {
    ImageBuilder builder;
    builder.Frame(1, 0);
    RegisterSpec reg;
    reg.address = Word(70);
    reg.width = 5;
    reg.flags = 0x30 | 0x04 | 0x08; // signed decimal, scaled
    reg.rawLower = 0, reg.rawUpper = 1000, reg.engLower = static_cast<uint32_t>(-100),
    reg.engUpper = 100;
    builder.Element(kTypeRegister, Register(reg));
    auto started = Started(builder);
    Engine& engine = *started;
    engine.Advance(5);
    EXPECT_EQ(Shown(engine.Screen(), 0, 0, 5), " -100") << "raw 0 is engineering -100";
    Press(engine, Key::kSet);
    Press(engine, Key::kClr);
    Type(engine, "0050");
    Press(engine, Key::kPlusMinus);
    Press(engine, Key::kEnt); // -50 -> raw 250
    EXPECT_EQ(engine.Memory().Plc().Word(70, 16), 250u);
}

TEST(Recipes, BaseIncreaseStopsAtItsLimit) {
    ImageBuilder builder;
    builder.Frame(1, 0);
    builder.Element(kTypeFunctionKey, RecipeKey(kDigit1, 0x42, Word(0), 10, 15));
    builder.Element(kTypeFunctionKey, RecipeKey(kDigit2, 0x43, Word(0), 10, 0));
    RegisterSpec index;
    index.address = {0, 115, 0, 2, 0, 0}; // the recipe index register
    builder.Element(kTypeRegister, Register(index));
    auto started = Started(builder);
    Engine& engine = *started;
    Press(engine, kDigit1);
    EXPECT_EQ(engine.Memory().RecipeIndex(), 10);
    EXPECT_EQ(Shown(engine.Screen(), 0, 0, 4), "  10");
    Press(engine, kDigit1);
    EXPECT_EQ(engine.Memory().RecipeIndex(), 10);
    Press(engine, kDigit2);
    EXPECT_EQ(engine.Memory().RecipeIndex(), 0);
    Press(engine, kDigit2);
    EXPECT_EQ(engine.Memory().RecipeIndex(), 0) << "never below the limit";
}

TEST(Alarms, RaisedBitsAreListedOnTheAlarmScreen) {
    ImageBuilder builder;
    builder.Frame(1, 0x0001);
    builder.Alarms(BitAt(200), {{1}, {2}, {3}}, 0x0000, 0xFFFF);
    auto started = Started(builder);
    Engine& engine = *started;
    engine.Memory().Plc().SetBit(200, true);
    engine.Memory().Plc().SetBit(202, true);
    engine.Advance(3);
    Press(engine, Key::kAlm);
    const DisplayMemory& d = engine.Screen();
    EXPECT_EQ(Shown(d, 10, 10, 1), "1");
    EXPECT_EQ(Shown(d, 10, 31, 1), "3") << "one line of 16 + 5 pixels further";
    EXPECT_EQ(d.At(479, 28), 0xFFFF) << "separating line across the screen";
    engine.Memory().Plc().SetBit(201, true);
    engine.Advance(3);
    EXPECT_EQ(Shown(d, 10, 31, 1), "2") << "the list follows the bits";
    Press(engine, Key::kEsc);
    EXPECT_EQ(d.At(10, 10), 0x0001);
}

TEST(Alarms, PagesHoldWhatFitsInto222Pixels) {
    ImageBuilder builder;
    builder.Frame(1, 0x0001);
    std::vector<std::vector<uint8_t>> texts;
    for (uint8_t i = 0; i < 12; ++i)
        texts.push_back({static_cast<uint8_t>(i % 10)});
    builder.Alarms(BitAt(0), texts, 0x0000, 0xFFFF);
    auto started = Started(builder);
    Engine& engine = *started;
    for (uint16_t i = 0; i < 12; ++i)
        engine.Memory().Plc().SetBit(i, true);
    engine.Advance(3);
    Press(engine, Key::kAlm);
    EXPECT_EQ(Shown(engine.Screen(), 10, 10 + 9 * 21, 1), "9") << "ten lines of 21 pixels";
    EXPECT_EQ(Shown(engine.Screen(), 10, 10 + 10 * 21, 1), " ");
    Press(engine, Key::kDown);
    EXPECT_EQ(Shown(engine.Screen(), 10, 10, 1), "0") << "alarm 10 opens the next page";
    EXPECT_EQ(Shown(engine.Screen(), 10, 31, 1), "1");
}

TEST(StartUp, ShowsTheStartupFrameThenTheBeginFrame) {
    ImageBuilder builder = ThreeFrames();
    builder.options = 0x20 | 0x10;
    builder.useFrameIndex = 2;
    builder.useFrameSecond = 30; // 3 s
    Engine engine{PanelImage(builder.Build())};
    engine.Advance(100);
    EXPECT_EQ(engine.CurrentFrame(), 2);
    engine.Advance(2800);
    EXPECT_FALSE(engine.Running());
    engine.Advance(200);
    EXPECT_TRUE(engine.Running());
    EXPECT_EQ(engine.CurrentFrame(), 1);
}

TEST(StartUp, BadMagicAndHeldEnterStopTheRuntime) {
    ImageBuilder builder = ThreeFrames();
    builder.magic = false;
    Engine bad{PanelImage(builder.Build())};
    bad.Advance(3000);
    EXPECT_FALSE(bad.Running());
    EXPECT_EQ(bad.Screen().At(100, 100), 0x001F);

    Engine held{PanelImage(ThreeFrames().Build())};
    held.SetKey(Key::kEnt);
    held.Advance(3000);
    EXPECT_FALSE(held.Running());
    EXPECT_EQ(held.Screen().At(100, 100), 0xF800);
}

} // namespace

namespace {

TEST(Reports, ClockWriteRequestsTheClockRegisters) {
    struct Case {
        uint8_t options;
        uint16_t yearAt;
        uint32_t year;
    } cases[] = {
        {0x20 | 0x01 | 0x04, 106, 2000},            // AutoChange 100, clock from 101, year at +5
        {0x20 | 0x01 | 0x02 | 0x04 | 0x08, 105, 0}, // old layout from 102: year/weekday at +3
    };
    for (const Case& c : cases) {
        ImageBuilder builder;
        builder.options = c.options;
        builder.setting = Word(100);
        builder.Frame(1, 0);
        builder.Element(kTypeFunctionKey, SetRegisterKey(kDigit1, {0, 116, 0, 2, 0, 0}, 1));
        auto started = Started(builder);
        Engine& engine = *started;
        PlcMemory& plc = engine.Memory().Plc();
        plc.SetWord(c.yearAt, 16, 0x5555);
        engine.Advance(10);
        EXPECT_EQ(plc.Word(c.yearAt, 16), 0x5555u) << "a still clock reports nothing by itself";
        Press(engine, kDigit1);
        EXPECT_EQ(plc.Word(c.yearAt, 16), c.year) << int{c.options};
    }
}

} // namespace

namespace {

TEST(Recipes, DownloadWritesTheStoreToTheRegistersBehindANotice) {
    ImageBuilder builder;
    builder.Frame(1, 0x0001);
    builder.Element(kTypeFunctionKey, RecipeKey(kDigit1, 0x41, Word(300, 4), 2, 0));
    auto started = Started(builder);
    Engine& engine = *started;
    PlcMemory& plc = engine.Memory().Plc();
    for (uint16_t a = 300; a < 306; ++a)
        plc.SetWord(a, 16, 0x7777);
    engine.SetKey(kDigit1);
    engine.Advance(5);
    EXPECT_EQ(engine.Screen().At(160, 110), 0xF800) << "the notice while the transfer runs";
    engine.SetKey(Key::kNone);
    engine.Advance(250);
    EXPECT_EQ(engine.Screen().At(160, 110), 0x0001);
    // Two 32-bit values take four registers; the Emulator's store holds zeros.
    for (uint16_t a = 300; a < 304; ++a)
        EXPECT_EQ(plc.Word(a, 16), 0u) << a;
    EXPECT_EQ(plc.Word(304, 16), 0x7777u);
}

TEST(Keys, AHeldFunctionKeyIsDrawnPressed) {
    ImageBuilder builder;
    builder.Frame(1, 0x0001);
    builder.Element(kTypeFunctionKey, BitKey(kDigit1, 0x10, BitAt(1)));
    auto started = Started(builder);
    Engine& engine = *started;
    // BitKey places the button at (50, 200); its middle is inside the key face.
    const uint16_t normal = engine.Screen().At(66, 216);
    ASSERT_NE(normal & 0x07E0, normal);
    engine.SetKey(kDigit1);
    engine.Advance(5);
    EXPECT_EQ(engine.Screen().At(66, 216), normal & 0x07E0);
    engine.SetKey(Key::kNone);
    engine.Advance(5);
    EXPECT_EQ(engine.Screen().At(66, 216), normal);
}

} // namespace

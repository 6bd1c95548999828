// The Emulator's runtime cost: refresh cycles per second of a busy frame, the cost of a full
// frame draw, and the share of one core the 1 ms main loop takes at that cost. The frame is a
// worst case built here: 40 registers, 24 lamps, 8 bars, 8 dynamic texts and 2 trends, with
// every value changing on every cycle so every element is redrawn each time; then the same
// frame with values that stay put.

#include "Engine.h"
#include "ImageBuilder.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace {

std::vector<uint8_t> BusyFrame() {
    ImageBuilder builder;
    builder.Frame(1, 0x0000, 1, 1); // DOWN shows the same frame again: a full redraw
    for (int i = 0; i < 40; ++i) {
        RegisterSpec reg;
        reg.left = (i % 4) * 120;
        reg.top = (i / 4) * 20;
        reg.width = 6;
        reg.pointBits = 1;
        reg.border = static_cast<uint8_t>(i % 3);
        reg.address = {0, 1, static_cast<uint16_t>(i), 2, 0, 0};
        builder.Element(2, Register(reg));
    }
    for (int i = 0; i < 24; ++i)
        builder.Element(3, Indicator((i % 12) * 40, 200 + (i / 12) * 36, 0x08,
                                     {0, 0, static_cast<uint16_t>(i), 0, 0, 0}));
    for (int i = 0; i < 8; ++i)
        builder.Element(
            6, Bar(300 + i * 20, 100, 16, 90, {0, 1, 100, 2, 0, 0}, 1000, 0, 1, 0xF800, 0x001F));
    for (int i = 0; i < 8; ++i)
        builder.Element(8, DynamicText(i * 36, 180, {0, 1, 101, 2, 0, 0}, 0xFFFF, 0, true,
                                       {{0, {1, 2, 3}}, {1, {4, 5}}}));
    for (int i = 0; i < 2; ++i)
        builder.Element(7, Trend(i * 150, 100, 140, 78, {0, 1, 100, 2, 0, 0}, 50, 1000, 0, 1,
                                 0x0000, 0x07E0, 0xFFE0));
    return builder.Build();
}

double CpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

} // namespace

int main() {
    Engine engine{PanelImage(BusyFrame())};
    while (!engine.Running())
        engine.Advance(1);

    constexpr int kCycles = 20000;
    double start = CpuSeconds();
    for (int i = 0; i < kCycles; ++i) {
        PlcMemory& plc = engine.Memory().Plc();
        for (uint16_t a = 0; a < 40; ++a)
            plc.SetWord(a, 16, static_cast<uint32_t>(i + a));
        for (uint16_t a = 0; a < 24; ++a)
            plc.SetBit(a, ((i + a) & 1) != 0);
        plc.SetWord(100, 16, static_cast<uint32_t>(i % 1000));
        plc.SetWord(101, 16, static_cast<uint32_t>(i & 1));
        engine.Advance(1);
    }
    const double cycleSeconds = (CpuSeconds() - start) / kCycles;

    start = CpuSeconds();
    engine.Advance(kCycles); // the same values: nothing to redraw
    const double steadySeconds = (CpuSeconds() - start) / kCycles;

    constexpr int kDraws = 2000;
    start = CpuSeconds();
    for (int i = 0; i < kDraws; ++i) {
        engine.SetKey(Key::kDown);
        engine.Advance(1); // the key's pass draws the frame anew
        engine.SetKey(Key::kNone);
        engine.Advance(1);
    }
    const double drawSeconds = (CpuSeconds() - start) / kDraws;

    const double cyclesPerSecond = 1.0 / cycleSeconds;
    const double coreShare = 1000.0 * cycleSeconds * 100.0; // at 1000 cycles a second
    std::printf("busy frame, every element redrawn each cycle:\n");
    std::printf("  refresh cycles per second      %10.0f\n", cyclesPerSecond);
    std::printf("  one cycle                      %10.1f us\n", cycleSeconds * 1e6);
    std::printf("  core share of the 1 ms loop    %10.2f %%   (goal < 10 %%)\n", coreShare);
    std::printf("  one cycle, values unchanged    %10.1f us\n", steadySeconds * 1e6);
    std::printf("  full frame draw (+ 2 cycles)   %10.1f us\n", drawSeconds * 1e6);
    std::printf("  goal met: %s\n", cyclesPerSecond >= 1000 && coreShare < 10 ? "yes" : "NO");
    return 0;
}

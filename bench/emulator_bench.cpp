// The Emulator's runtime cost: refresh cycles per second, the cost of a full frame draw, and
// the share of one core the 1 ms main loop takes at that cost (goal: at least 1000 cycles a
// second using under 10 % of a core).
//   emulator_bench [IMAGE]
// First the demo project's frames as the designer compiles them (IMAGE, or the demo compiled
// here with the designer of the program folder), with every shown value changing on every cycle;
// then a worst case built here: 40 registers, 24 lamps, 8 bars, 8 dynamic texts and 2 trends.

#include "Engine.h"
#include "ImageBuilder.h"
#include "ImageLoader.h"

#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>
#include <functional>

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

// The demo compiled by the designer, as the Emulator gets it.
std::optional<PanelImage> CompiledDemo() {
    QTemporaryDir dir;
    const QString image = dir.filePath(QStringLiteral("sheetpara.dat"));
    QProcess designer;
    designer.start(QStringLiteral(KV_BIN_DIR "/designer"),
                   {QStringLiteral("--compile"), QStringLiteral(KV_BIN_DIR "/demo/demo.kvpr"),
                    QStringLiteral("--output"), image});
    if (!designer.waitForFinished(60000) || designer.exitCode() != 0)
        return std::nullopt;
    return ImageLoader::FromFile(image);
}

// One measured frame: `change` sets new values for cycle i, `redraw` presses the key that draws
// the frame anew (and `back` the key that leaves it again), so a draw costs one main loop pass.
struct Workload {
    const char* name;
    std::function<void(PlcMemory&, int)> change;
    uint8_t redraw;
    uint8_t back;
};

void Press(Engine& engine, uint8_t key) {
    engine.SetKey(key);
    engine.Advance(1);
    engine.SetKey(Key::kNone);
    engine.Advance(1);
}

void Measure(Engine& engine, const Workload& work) {
    constexpr int kCycles = 20000;
    double start = CpuSeconds();
    for (int i = 0; i < kCycles; ++i) {
        work.change(engine.Memory().Plc(), i);
        engine.Advance(1);
    }
    const double cycleSeconds = (CpuSeconds() - start) / kCycles;

    start = CpuSeconds();
    engine.Advance(kCycles); // the same values: nothing to redraw
    const double steadySeconds = (CpuSeconds() - start) / kCycles;

    // A press and a release are two passes; the pass of the press draws the whole frame.
    constexpr int kDraws = 2000;
    double drawSeconds = 0;
    for (int i = 0; i < kDraws; ++i) {
        if (work.back != work.redraw)
            Press(engine, work.back);
        start = CpuSeconds();
        Press(engine, work.redraw);
        drawSeconds += CpuSeconds() - start;
    }
    drawSeconds /= kDraws;

    const double cyclesPerSecond = 1.0 / cycleSeconds;
    const double coreShare = 1000.0 * cycleSeconds * 100.0; // at 1000 cycles a second
    std::printf("%s, every shown value changing each cycle:\n", work.name);
    std::printf("  refresh cycles per second      %10.0f\n", cyclesPerSecond);
    std::printf("  one cycle                      %10.1f us\n", cycleSeconds * 1e6);
    std::printf("  core share of the 1 ms loop    %10.2f %%   (goal < 10 %%)\n", coreShare);
    std::printf("  one cycle, values unchanged    %10.1f us\n", steadySeconds * 1e6);
    std::printf("  full frame draw (+ 2 cycles)   %10.1f us\n", drawSeconds * 1e6);
    std::printf("  goal met: %s\n", cyclesPerSecond >= 1000 && coreShare < 10 ? "yes" : "NO");
}

void Start(Engine& engine) {
    while (!engine.Running())
        engine.Advance(1);
}

} // namespace

int main(int argc, char** argv) {
    std::optional<PanelImage> demo =
        argc > 1 ? ImageLoader::FromFile(QString::fromLocal8Bit(argv[1])) : CompiledDemo();
    if (!demo) {
        std::fprintf(stderr, "emulator_bench: cannot compile or load the demo image\n");
        return 1;
    }
    {
        // The demo's start frame (speed D100, state D101, lamp M12) is its busiest: three
        // refreshed elements, a picture and two keys. Its trend frame (D200) samples every
        // 400 ms. Each is drawn anew through the demo's own jump keys (RIGHT and ESC).
        Engine engine(std::move(*demo));
        Start(engine);
        Measure(engine, {"demo start frame",
                         [](PlcMemory& plc, int i) {
                             plc.SetWord(100, 16, static_cast<uint32_t>(i & 0x7FFF));
                             plc.SetWord(101, 16, static_cast<uint32_t>(i & 1));
                             plc.SetBit(12, (i & 1) != 0);
                         },
                         Key::kEsc, Key::kRight});
        Press(engine, Key::kRight);
        Measure(engine, {"demo trend frame",
                         [](PlcMemory& plc, int i) {
                             plc.SetWord(200, 16, static_cast<uint32_t>(i % 1000));
                         },
                         Key::kRight, Key::kEsc});
    }
    Engine engine{PanelImage(BusyFrame())};
    Start(engine);
    Measure(engine, {"built worst case",
                     [](PlcMemory& plc, int i) {
                         for (uint16_t a = 0; a < 40; ++a)
                             plc.SetWord(a, 16, static_cast<uint32_t>(i + a));
                         for (uint16_t a = 0; a < 24; ++a)
                             plc.SetBit(a, ((i + a) & 1) != 0);
                         plc.SetWord(100, 16, static_cast<uint32_t>(i % 1000));
                         plc.SetWord(101, 16, static_cast<uint32_t>(i & 1));
                     },
                     Key::kDown, Key::kDown});
    return 0;
}

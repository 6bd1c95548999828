// The compile of a large project: 100 frames of 30 elements, 3000 distinct Chinese characters
// spread over 4 sizes and 2 faces, 10 pictures of 480 x 272. Prints the time of every compile
// phase (best of several runs), the glyph cost per glyph for 750, 1500 and 3000 glyphs (it
// should stay flat), and with --glyphs FACE SIZE N the time of rasterising N characters of one
// face and size alone, which lv_font_conv_compare.sh sets against lv_font_conv.

#include "CompileHelper.h"
#include "GlyphRaster.h"
#include "LargeProject.h"
#include "TextFont.h"

#include <QGuiApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Phase names in compile order with their best time over `runs` compiles, then the total.
std::vector<std::pair<QString, double>> BestPhaseTimes(CKoravelProject& project, int runs,
                                                       int* size) {
    std::vector<std::pair<QString, double>> best;
    for (int run = 0; run < runs; ++run) {
        CCompileHelper compiler;
        QByteArray image;
        QString error;
        if (!compiler.Compile(project, image, error)) {
            std::fprintf(stderr, "compile failed: %s\n", error.toUtf8().constData());
            std::exit(1);
        }
        *size = static_cast<int>(image.size());
        std::vector<std::pair<QString, double>> times;
        double total = 0;
        for (const PhaseTime& phase : compiler.PhaseTimes()) {
            const double ms = static_cast<double>(phase.time.count()) / 1e6;
            total += ms;
            times.emplace_back(phase.phase, ms);
        }
        times.emplace_back(QStringLiteral("total"), total);
        if (best.empty())
            best = times;
        for (std::size_t i = 0; i < best.size(); ++i)
            best[i].second = std::min(best[i].second, times[i].second);
    }
    return best;
}

int GlyphsOnly(const QString& face, int size, int count) {
    std::vector<char16_t> chars;
    for (int k = 0; k < count; ++k)
        chars.push_back(Han(k));
    QByteArray warm;
    RasteriseGlyphs(face, size, size, {chars.front()}, warm); // the font search is cached
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        QByteArray out;
        const auto start = Clock::now();
        RasteriseGlyphs(face, size, size, chars, out);
        best =
            std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::printf("%.3f\n", best);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    RegisterFontSubstitutions();
    if (argc == 5 && QByteArray(argv[1]) == "--glyphs")
        return GlyphsOnly(QString::fromUtf8(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]));

    int size = 0;
    auto project = LargeProject(3000);
    const auto phases = BestPhaseTimes(*project, 5, &size);
    std::printf("large project: %d frames x %d elements, 3000 glyphs, image %d bytes\n",
                kLargeFrames, kLargeElementsPerFrame, size);
    for (const auto& [phase, ms] : phases)
        std::printf("  %8.2f ms  %s\n", ms, phase.toUtf8().constData());
    std::printf("  goal: total under 500 ms\n");

    std::printf("glyph phase per glyph (should stay flat):\n");
    for (const int glyphs : {750, 1500, 3000}) {
        auto sized = LargeProject(glyphs);
        const auto times = BestPhaseTimes(*sized, 3, &size);
        double glyphMs = 0;
        for (const auto& [phase, ms] : times) {
            if (phase == QStringLiteral("全角字库") || phase == QStringLiteral("半角字库"))
                glyphMs += ms;
        }
        std::printf("  %5d glyphs  %8.2f ms  %6.2f us/glyph\n", glyphs, glyphMs,
                    glyphMs * 1000 / glyphs);
    }
    return 0;
}

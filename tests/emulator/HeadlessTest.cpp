#include "EngineHarness.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Outcome {
    int exitCode = -1;
    QString errors;
};

Outcome Emulator(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(KV_BIN_DIR "/Emulator"), arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardError())};
}

QString WriteImage(const QTemporaryDir& dir, const ImageBuilder& builder) {
    const std::vector<uint8_t> image = builder.Build();
    QFile file(dir.filePath("sheetpara.dat"));
    file.open(QIODevice::WriteOnly);
    file.write(reinterpret_cast<const char*>(image.data()), static_cast<qint64>(image.size()));
    return file.fileName();
}

uint32_t Rgb(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFF;
}

TEST(Headless, PokesAndPressesShowInTheScreenshots) {
    QTemporaryDir dir;
    ImageBuilder builder;
    builder.Frame(1, 0x001F, 0, 2);
    RegisterSpec reg;
    reg.left = 16, reg.top = 16, reg.address = Word(0x10);
    builder.Element(kTypeRegister, Register(reg));
    builder.Element(kTypeIndicator, Indicator(100, 16, 0x18, BitAt(3)));
    builder.Frame(2, 0x07E0, 1, 0);
    const QString image = WriteImage(dir, builder);
    const QString shot = dir.filePath("display.png");
    const QString window = dir.filePath("window.png");

    const Outcome run = Emulator({"--image", image, "--poke", "word:0x10=42", "--poke", "bit:3=1",
                                  "--press", "DOWN@100", "--run-ms", "500", "--screenshot", shot,
                                  "--window-screenshot", window});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    const QImage display(shot);
    ASSERT_EQ(display.size(), QSize(480, 272));
    EXPECT_EQ(Rgb(display, 0, 0), 0x00FC00u) << "DOWN went to frame 2";
    const QImage panel(window);
    EXPECT_EQ(Rgb(panel, 135, 75), 0x00FC00u) << "the display sits at (135, 75)";
    EXPECT_EQ(qAlpha(panel.pixel(0, 0)), 0) << "outside the window's shape";

    const Outcome still =
        Emulator({"--image", image, "--poke", "word:0x10=42", "--screenshot", shot});
    ASSERT_EQ(still.exitCode, 0);
    const QImage first(shot);
    EXPECT_EQ(Rgb(first, 0, 0), 0x0000F8u);
    // The register's test glyphs: "4" then "2" in the last two of its four cells.
    int bits = 0;
    for (int x = 0; x < 8; ++x)
        bits = bits << 1 | (Rgb(first, 16 + 16 + x, 16) == 0xF8FCF8u);
    EXPECT_EQ(bits, 5) << "glyph 4 carries 5 in its top row";
}

TEST(Headless, RefusesBadArgumentsAndMissingImages) {
    QTemporaryDir dir;
    const QString shot = dir.filePath("x.png");
    for (const QStringList& arguments :
         {QStringList{"--screenshot", shot},
          {"--image", "x", "--poke", "word:70000=1", "--screenshot", shot},
          {"--image", "x", "--poke", "bit:1=2", "--screenshot", shot},
          {"--image", "x", "--press", "F9@10", "--screenshot", shot},
          {"--image", "x", "--run-ms", "-5"},
          {"--image", "x", "--frobnicate", "1", "--run-ms", "1"}})
        EXPECT_EQ(Emulator(arguments).exitCode, 2) << arguments.join(' ').toStdString();
    EXPECT_EQ(Emulator({"--image", dir.filePath("missing.dat"), "--screenshot", shot}).exitCode, 1);
    EXPECT_FALSE(QFile::exists(shot));
}

} // namespace

// The Emulator's window: its shape keeps the panel's case and cuts away the outside, and the
// window screenshot shows the same shape.

#include "EmulatorWindow.h"
#include "ImageBuilder.h"
#include "PanelKeys.h"
#include "PanelSkin.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace {

QPoint KeyCentre(const char* name) {
    const std::optional<uint8_t> code = KeyCodeByName(QString::fromLatin1(name));
    for (const PanelKey& key : PanelKeys()) {
        if (code && key.code == *code)
            return key.area.center();
    }
    return {-1, -1};
}

TEST(Window, TheShapeKeepsTheCaseAndCutsAwayTheOutside) {
    ImageBuilder builder;
    builder.Frame(1, 0x001F, 0, 0);
    EmulatorWindow window{PanelImage(builder.Build())};
    const QRegion shape = window.mask();
    const int right = window.width() - 1;
    const int bottom = window.height() - 1;
    const QImage shot = ComposePanel(QImage(480, 272, QImage::Format_RGB32));
    ASSERT_EQ(shot.size(), window.size());
    const struct {
        const char* what;
        QPoint point;
        bool inside;
    } points[] = {
        {"the display's centre", {kDisplayLeft + 240, kDisplayTop + 136}, true},
        {"the key 5", KeyCentre("5"), true},
        {"the key ESC", KeyCentre("ESC"), true},
        {"the middle of the left edge of the case", {10, window.height() / 2}, true},
        {"the top-left corner", {0, 0}, false},
        {"the top-right corner", {right, 0}, false},
        {"the bottom-left corner", {0, bottom}, false},
        {"the bottom-right corner", {right, bottom}, false},
    };
    for (const auto& p : points) {
        EXPECT_EQ(shape.contains(p.point), p.inside) << p.what;
        EXPECT_EQ(qAlpha(shot.pixel(p.point)), p.inside ? 255 : 0) << p.what;
    }
}

} // namespace

// Widgets need an application; the tests run on the offscreen platform.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#include "EmulatorWindow.h"
#include "HeadlessRun.h"
#include "ImageLoader.h"
#include "SystemTexts.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>

#include <cstdio>

namespace {

const QString kCaption = QStringLiteral("提示");

int RunHeadlessProgram(int argc, char** argv) {
    // No display needed: the skin and the screenshots are drawn offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QString error;
    const std::optional<HeadlessOptions> options = ParseHeadless(app.arguments().mid(1), &error);
    if (!options) {
        std::fprintf(
            stderr,
            "Emulator: %s\nusage: Emulator --image FILE [--poke bit:ADDR=V|word:ADDR=V]... "
            "[--press KEY@MS]... [--run-ms N] [--screenshot OUT.png] "
            "[--window-screenshot OUT.png]\n",
            qPrintable(error));
        return 2;
    }
    return RunHeadless(*options);
}

int RunWindow(int argc, char** argv) {
    QApplication app(argc, argv);
    InstallSystemTexts(app);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 2) {
        QMessageBox::critical(nullptr, kCaption,
                              QStringLiteral("[1000] 启动模拟器操作失败！请从菜单启动模拟器！"));
        return 0;
    }
    // The designer passes the mapping name; "--image FILE" shows an image file instead.
    std::optional<PanelImage> image =
        arguments[1] == QLatin1String("--image") && arguments.size() > 2
            ? ImageLoader::FromFile(arguments[2])
            : ImageLoader::FromSharedMemory(arguments[1]);
    if (!image) {
        QMessageBox::information(nullptr, kCaption, QStringLiteral("[1001] 加载工程文件出错！"));
        return 0;
    }
    EmulatorWindow window(std::move(*image));
    window.show();
    return app.exec();
}

} // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (WantsHeadless(arguments))
        return RunHeadlessProgram(argc, argv);
    return RunWindow(argc, argv);
}

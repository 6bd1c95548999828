#include "CommandLine.h"
#include "TextFont.h"

#include <QGuiApplication>

int main(int argc, char** argv) {
    // The command-line verbs need no display.
    if (IsCommandLineVerb(argc, argv) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    RegisterFontSubstitutions();
    return RunCommandLine(QGuiApplication::arguments());
}

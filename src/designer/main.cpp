#include "CommandLine.h"
#include "LumoKoravel.h"
#include "TextFont.h"

#include <QApplication>

int main(int argc, char** argv) {
    // The command-line verbs need no display.
    const bool verb = IsCommandLineVerb(argc, argv);
    if (verb && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RegisterFontSubstitutions();
    if (verb)
        return RunCommandLine(QApplication::arguments());
    CKoravelApp designer;
    if (!designer.InitInstance(QApplication::arguments()))
        return 1;
    return designer.Run();
}

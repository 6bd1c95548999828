#include "CommandLine.h"
#include "CrashReporter.h"
#include "LumoKoravel.h"
#include "SystemTexts.h"
#include "TextFont.h"

#include <QApplication>

int main(int argc, char** argv) {
    // The command-line verbs need no display.
    const bool headless = IsCommandLineVerb(argc, argv);
    if (headless && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!headless)
        InstallSystemTexts(app);
    // The process telling of a crash reports none of its own, so one crash never starts a chain.
    if (!IsCrashNoticeVerb(argc, argv))
        InstallCrashReporter(headless ? CrashNotice::StandardError : CrashNotice::Box);
    RegisterFontSubstitutions();
    if (HasVerb(argc, argv))
        return RunCommandLine(QApplication::arguments());
    CKoravelApp designer;
    if (!designer.InitInstance(QApplication::arguments()))
        return 1;
    return designer.Run();
}

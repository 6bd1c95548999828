#include "CommandLine.h"
#include "CrashReporter.h"
#include "TextFont.h"

#include <QApplication>

int main(int argc, char** argv) {
    // The command-line verbs need no display.
    const bool verb = IsCommandLineVerb(argc, argv);
    if (verb && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The process telling of a crash reports none of its own, so one crash never starts a chain.
    if (!IsCrashNoticeVerb(argc, argv))
        InstallCrashReporter(verb ? CrashNotice::StandardError : CrashNotice::Box);
    RegisterFontSubstitutions();
    return RunCommandLine(QApplication::arguments());
}

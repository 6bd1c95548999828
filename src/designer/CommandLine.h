#pragma once

#include "PublishCommand.h"

#include <QString>
#include <QStringList>

// The designer's command-line verbs, which run without a window:
//   --save-plain IN OUT   load a project as the open command does and write it as plain XML
//   --compile PROJECT [--output IMAGE]   compile it into the padded panel image
//   --download PROJECT [--force]   compile it and download it into the first panel on the USB
//   --publish PROJECT --output TOOL [...]   compile it and write a batch tool
//   --check PROJECT [--json]   check it and print the findings and the image budget
// and the two that stand for the window's start-up and need a display:
//   --crash-test   crash by a write to address 0, to see the crash reporter at work
//   --crash-notice REPORT   the message box that tells of a crash (started by the reporter)
// Returns the process exit code.
int RunCommandLine(const QStringList& arguments);

// Whether the arguments name a verb at all; without one the designer opens its window.
bool HasVerb(int argc, char** argv);

// What the arguments (the program name first) ask for; Usage when they make no verb.
struct CommandLineRequest {
    enum class Verb {
        Usage,
        SavePlain,
        Compile,
        Download,
        Publish,
        WindowScreenshot,
        CrashTest,
        CrashNotice,
        Check
    };
    Verb verb = Verb::Usage;
    QString project; // the project; for --crash-notice the report
    QString output;  // OUT of --save-plain, IMAGE of --compile --output ("" for the default)
    bool force = false; // --download --force; --check --json
    PublishOptions publish;
};
CommandLineRequest ParseCommandLine(const QStringList& arguments);

// Whether the arguments ask for a verb that runs without a display.
bool IsCommandLineVerb(int argc, char** argv);

bool IsCrashNoticeVerb(int argc, char** argv);

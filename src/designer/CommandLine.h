#pragma once

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
// Whether the arguments ask for a verb that runs without a display.
bool IsCommandLineVerb(int argc, char** argv);

bool IsCrashNoticeVerb(int argc, char** argv);

#pragma once

#include <QStringList>

// The designer's command-line verbs, which run without a window:
//   --save-plain IN OUT   load a project as the open command does and write it as plain XML
//   --compile PROJECT [--output IMAGE]   compile it into the padded panel image
//   --download PROJECT [--force]   compile it and download it into the first panel on the USB
//   --publish PROJECT --output TOOL [...]   compile it and write a batch tool
//   --check PROJECT [--json]   check it and print the findings and the image budget
// Returns the process exit code.
int RunCommandLine(const QStringList& arguments);

// Whether the arguments ask for a verb, so that the program can start without a display.
bool IsCommandLineVerb(int argc, char** argv);

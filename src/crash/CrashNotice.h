#pragma once

#include <QString>

// The message box of `designer --crash-notice REPORT`, shown by a process of its own while the
// crashed one ends: caption "提示", Yes and No, the report's text in the details. Returns the
// exit code.
int ShowCrashNotice(const QString& reportPath);

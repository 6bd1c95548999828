#pragma once

#include <QDateTime>
#include <QString>

// Appends one entry to "Log/debug.log" in the program folder: a CR LF first when the file
// exists already, then "YYYY-MM-DD hh:mm:ss  text" in local time, UTF-8. The file is opened
// and closed for every entry; a log that cannot be written is ignored.
void DebugLogLine(const QString& text);

// A log that has reached this size is moved to "debug.old.log" (replacing the one before)
// and a new one is begun: every opened picture writes its whole pixel data, so the log would
// otherwise grow by megabytes with each project opened, for ever.
constexpr qint64 kDebugLogLimit = 16 * 1024 * 1024;

// The same into `folder`/debug.log at time `when`; returns whether the entry was written.
bool AppendDebugLogLine(const QString& folder, const QString& text, const QDateTime& when);

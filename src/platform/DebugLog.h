#pragma once

#include <QDateTime>
#include <QString>

// Appends one entry to "Log/debug.log" in the program folder: a CR LF first when the file
// exists already, then "YYYY-MM-DD hh:mm:ss  text" in local time, UTF-8. The file is opened
// and closed for every entry; a log that cannot be written is ignored.
void DebugLogLine(const QString& text);

// The same into `folder`/debug.log at time `when`; returns whether the entry was written.
bool AppendDebugLogLine(const QString& folder, const QString& text, const QDateTime& when);

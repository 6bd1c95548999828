#pragma once

#include <QByteArray>
#include <QString>

// Writes `data` to `path` through a temporary file in the same folder and an atomic rename,
// so a failed or interrupted write leaves the previous file intact. On failure returns false
// and, when `error` is given, the system's message.
bool WriteFileAtomically(const QString& path, const QByteArray& data, QString* error = nullptr);

// Reads a whole file; false (with the system's message) when it cannot be opened or read.
bool ReadWholeFile(const QString& path, QByteArray& data, QString* error = nullptr);

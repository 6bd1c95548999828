#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QFileDevice;

// Writes `data` to `path` through a temporary file in the same folder and an atomic rename,
// so a failed or interrupted write leaves the previous file intact. On failure returns false
// and, when `error` is given, the system's message.
bool WriteFileAtomically(const QString& path, const QByteArray& data, QString* error = nullptr);
// The same for content that `write` produces piece by piece into the temporary file; when it
// returns false nothing is replaced.
bool WriteFileAtomically(const QString& path, const std::function<bool(QFileDevice&)>& write,
                         QString* error = nullptr);

// Reads a whole file; false (with the system's message) when it cannot be opened or read.
bool ReadWholeFile(const QString& path, QByteArray& data, QString* error = nullptr);

#pragma once

#include <QString>

// INI files with the semantics of Windows private-profile files ("config.dll", "setting.ini",
// "batchtool_config.dll"): sections and keys compared case-insensitively, blanks around keys
// and values ignored, one pair of enclosing quotes removed from a value, and every other line
// of the file (comments, foreign sections, unknown keys) preserved when writing.

// The value of `key` in `section`, at most 255 characters; `def` when the file, the section or
// the key is missing.
QString IniReadString(const QString& section, const QString& key, const QString& def,
                      const QString& path);

// The value as an integer (decimal, or with a 0x prefix hexadecimal); `def` when the key is
// missing or empty, 0 when the value does not start with a number.
int IniReadInt(const QString& section, const QString& key, int def, const QString& path);

// Sets `key` in `section`, creating the file, the section or the key as needed. The file is
// replaced atomically; returns false (with the path and the system's reason in `error`) when
// it cannot be written.
bool IniWriteString(const QString& section, const QString& key, const QString& value,
                    const QString& path, QString* error = nullptr);

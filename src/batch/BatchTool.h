#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>

// A batch tool: the batchloader program followed by its payload (package archive, title,
// login password), scrambled, and a trailer with the CRC-16, a signature and the payload's
// offset L. Its size is L + D + T + 209 for an archive of D and a title of T bytes.

inline constexpr qsizetype kBatchToolOverhead = 209;
inline constexpr qsizetype kLoginPasswordBytes = 16;

struct BatchTool {
    QByteArray loader;   // the batchloader program, L bytes
    QByteArray archive;  // the package archive
    QByteArray title;    // 8-bit text in the system code page, at least 1 byte
    bool login = false;  // a login password is required
    QByteArray password; // at most 16 bytes; zero-padded to 16 when read back
};

// The tool's bytes; empty when the loader, the archive or the title is missing, the title or
// password is too long, or the CRC comes out 0 (which the reader could not tell from none).
// `now` is the creation time; `seed` drives the filler bytes, which carry nothing.
QByteArray BuildBatchTool(const BatchTool& tool, const QDateTime& now, std::uint32_t seed);

// Builds the tool with the current time and writes it through a temporary file, so a failed
// write leaves no truncated tool.
bool WriteBatchTool(const QString& path, const BatchTool& tool, QString* error = nullptr);

// The fields of a tool file; nullopt for anything that is not an intact tool.
std::optional<BatchTool> ReadBatchTool(const QByteArray& file);

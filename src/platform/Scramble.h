#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// Stored project files, the PLC catalog and the batch tool payload are XORed byte by byte
// with one fixed key.
inline constexpr std::uint8_t kScrambleKey = 0x6B;

void XorScramble(std::uint8_t* data, std::size_t size, std::uint8_t key = kScrambleKey);
void XorScramble(QByteArray& data, std::uint8_t key = kScrambleKey);

// Scrambles (or unscrambles: the operation is its own inverse) a whole file, replacing it
// atomically; on failure the file is unchanged and `error` holds the system's message.
bool XorScrambleFile(const QString& path, QString* error = nullptr,
                     std::uint8_t key = kScrambleKey);

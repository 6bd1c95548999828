#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>

// The traditional ZIP password encryption of entry data. The minizip of the platform leaves it
// out of reading and gets it wrong in writing, so the archive code stores entries raw and
// encrypts them here: a 12-byte header whose last byte is the entry's CRC-32 high byte,
// followed by the encrypted data.

inline constexpr int kZipCryptoHeader = 12;

QByteArray ZipEncrypt(const QByteArray& data, const char* password, std::uint32_t crc);

// The plain data; nullopt when the data is shorter than the header or the header's check byte
// is not `check` (a wrong password, almost always).
std::optional<QByteArray> ZipDecrypt(const QByteArray& data, const char* password,
                                     std::uint8_t check);

// Raw deflate streams, as ZIP entries hold them.
QByteArray RawDeflate(const QByteArray& data);
// The inflated data of exactly `size` bytes; nullopt when the stream is damaged or its length
// differs.
std::optional<QByteArray> RawInflate(const QByteArray& data, qint64 size);

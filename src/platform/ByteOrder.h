#pragma once

#include <QByteArray>

#include <cstdint>

// Multi-byte fields of the panel's formats (USB frames, the image, the batch tool, bitmap
// headers). Put writes into a buffer already large enough, Append adds to its end, Get reads
// where the caller has checked there are enough bytes.

inline void PutBE16(QByteArray& out, qsizetype at, std::uint16_t value) {
    out[at] = static_cast<char>(value >> 8);
    out[at + 1] = static_cast<char>(value);
}

inline void PutBE32(QByteArray& out, qsizetype at, std::uint32_t value) {
    PutBE16(out, at, static_cast<std::uint16_t>(value >> 16));
    PutBE16(out, at + 2, static_cast<std::uint16_t>(value));
}

inline void PutLE16(QByteArray& out, qsizetype at, std::uint16_t value) {
    out[at] = static_cast<char>(value);
    out[at + 1] = static_cast<char>(value >> 8);
}

inline void PutLE32(QByteArray& out, qsizetype at, std::uint32_t value) {
    PutLE16(out, at, static_cast<std::uint16_t>(value));
    PutLE16(out, at + 2, static_cast<std::uint16_t>(value >> 16));
}

inline std::uint16_t GetBE16(const QByteArray& in, qsizetype at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(in[at]) << 8 |
                                      static_cast<std::uint8_t>(in[at + 1]));
}

inline std::uint32_t GetBE32(const QByteArray& in, qsizetype at) {
    return std::uint32_t{GetBE16(in, at)} << 16 | GetBE16(in, at + 2);
}

inline std::uint16_t GetLE16(const QByteArray& in, qsizetype at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(in[at]) |
                                      static_cast<std::uint8_t>(in[at + 1]) << 8);
}

inline std::uint32_t GetLE32(const QByteArray& in, qsizetype at) {
    return GetLE16(in, at) | std::uint32_t{GetLE16(in, at + 2)} << 16;
}

inline void AppendBE16(QByteArray& out, std::uint32_t value) {
    out.append(static_cast<char>(value >> 8));
    out.append(static_cast<char>(value));
}

inline void AppendBE32(QByteArray& out, std::uint32_t value) {
    AppendBE16(out, value >> 16);
    AppendBE16(out, value);
}

inline void AppendLE16(QByteArray& out, std::uint32_t value) {
    out.append(static_cast<char>(value));
    out.append(static_cast<char>(value >> 8));
}

inline void AppendLE32(QByteArray& out, std::uint32_t value) {
    AppendLE16(out, value);
    AppendLE16(out, value >> 16);
}

// The same into plain memory, for writers that must not allocate (the crash reporter).
inline void PutLE16(std::uint8_t* out, std::uint16_t value) {
    out[0] = static_cast<std::uint8_t>(value);
    out[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void PutLE32(std::uint8_t* out, std::uint32_t value) {
    PutLE16(out, static_cast<std::uint16_t>(value));
    PutLE16(out + 2, static_cast<std::uint16_t>(value >> 16));
}

inline void PutLE64(std::uint8_t* out, std::uint64_t value) {
    PutLE32(out, static_cast<std::uint32_t>(value));
    PutLE32(out + 4, static_cast<std::uint32_t>(value >> 32));
}

inline std::uint16_t GetLE16(const std::uint8_t* in) {
    return static_cast<std::uint16_t>(in[0] | in[1] << 8);
}

inline std::uint32_t GetLE32(const std::uint8_t* in) {
    return std::uint32_t{GetLE16(in)} | std::uint32_t{GetLE16(in + 2)} << 16;
}

inline std::uint64_t GetLE64(const std::uint8_t* in) {
    return std::uint64_t{GetLE32(in)} | std::uint64_t{GetLE32(in + 4)} << 32;
}

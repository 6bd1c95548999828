#pragma once

#include <QByteArray>

#include <cstdint>

// Field writers for the image buffers. Sections are big-endian; the header and the picture
// pixels are the two little-endian places.

inline void PutU8(QByteArray& out, std::uint32_t value) {
    out.append(static_cast<char>(value & 0xFF));
}

inline void PutBE16(QByteArray& out, std::uint32_t value) {
    PutU8(out, value >> 8);
    PutU8(out, value);
}

inline void PutBE32(QByteArray& out, std::uint32_t value) {
    PutBE16(out, value >> 16);
    PutBE16(out, value);
}

inline void PutLE16(QByteArray& out, std::uint32_t value) {
    PutU8(out, value);
    PutU8(out, value >> 8);
}

inline void PutLE32(QByteArray& out, std::uint32_t value) {
    PutLE16(out, value);
    PutLE16(out, value >> 16);
}

inline std::uint32_t ReadBE32(const QByteArray& in, qsizetype at) {
    const auto byte = [&](qsizetype i) { return static_cast<std::uint8_t>(in[at + i]); };
    return std::uint32_t{byte(0)} << 24 | std::uint32_t{byte(1)} << 16 |
           std::uint32_t{byte(2)} << 8 | byte(3);
}

inline void SetBE32(QByteArray& out, qsizetype at, std::uint32_t value) {
    out[at] = static_cast<char>(value >> 24);
    out[at + 1] = static_cast<char>(value >> 16);
    out[at + 2] = static_cast<char>(value >> 8);
    out[at + 3] = static_cast<char>(value);
}

// A colour reference 0x00BBGGRR as the panel's 16-bit colour.
inline std::uint16_t Rgb565(std::uint32_t colour) {
    const std::uint32_t red = colour & 0xFF;
    const std::uint32_t green = (colour >> 8) & 0xFF;
    const std::uint32_t blue = (colour >> 16) & 0xFF;
    return static_cast<std::uint16_t>((red >> 3) << 11 | (green >> 2) << 5 | (blue >> 3));
}

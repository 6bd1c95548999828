#pragma once

#include "ByteOrder.h"

#include <QByteArray>

#include <cstdint>

// Field writers for the image buffers (the byte-order helpers come from ByteOrder.h). Sections
// are big-endian; the header and the picture pixels are the two little-endian places. A record
// of fixed layout is a zero-filled buffer of its size whose fields are put at their offsets.

inline void PutU8(QByteArray& out, qsizetype at, std::uint32_t value) {
    out[at] = static_cast<char>(value & 0xFF);
}

inline void AppendU8(QByteArray& out, std::uint32_t value) {
    out.append(static_cast<char>(value & 0xFF));
}

// A colour reference 0x00BBGGRR as the panel's 16-bit colour.
inline std::uint16_t Rgb565(std::uint32_t colour) {
    const std::uint32_t red = colour & 0xFF;
    const std::uint32_t green = (colour >> 8) & 0xFF;
    const std::uint32_t blue = (colour >> 16) & 0xFF;
    return static_cast<std::uint16_t>((red >> 3) << 11 | (green >> 2) << 5 | (blue >> 3));
}

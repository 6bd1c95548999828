#pragma once

#include <cstdint>

// The two sections that are not element records. Multi-byte fields are big-endian, except the
// picture pixels.

// Empty when there are no pictures; otherwise the count, one entry per picture, the pixels.
namespace PictureSectionLayout {
inline constexpr std::uint32_t kCount = 0; // BE16
inline constexpr std::uint32_t kEntries = 2;
inline constexpr std::uint32_t kEntryOffset = 0; // BE32, from the section's first byte
inline constexpr std::uint32_t kEntryLength = 4; // BE32, bytes
inline constexpr std::uint32_t kEntrySize = 8;
// Pixels are RGB565, low byte first, rows from the top.
inline constexpr std::uint32_t kPixelSize = 2;
} // namespace PictureSectionLayout

// The alarm bit address and the look of the alarm screen, the text offsets, the texts
// (TextItemLayout). Its first twelve bytes have the layout of a lamp's record.
namespace AlarmSectionLayout {
inline constexpr std::uint32_t kAddress = 5; // BitAddressLayout
inline constexpr std::uint32_t kCount = 12;
inline constexpr std::uint32_t kLongest = 13; // text bytes of the longest text
inline constexpr std::uint32_t kBackground = 14;
inline constexpr std::uint32_t kTextBackground = 16;
inline constexpr std::uint32_t kTextColour = 18;
inline constexpr std::uint32_t kTextBackgroundFlag = 20;
inline constexpr std::uint32_t kFont = 21;
inline constexpr std::uint32_t kSizeIndex = 22;
inline constexpr std::uint32_t kOffsets = 27; // BE32 each
inline constexpr std::uint32_t kOffsetSize = 4;
// Text offsets count from this byte of the section.
inline constexpr std::uint32_t kOffsetBase = 1;
} // namespace AlarmSectionLayout

#pragma once

#include <array>
#include <cstdint>

// How texts reach the panel: as glyph numbers into the glyph sections, one block of glyphs per
// font and size, found through the section's offset table.

// The eight glyph sizes in pixels, by size index.
inline constexpr int kSizeCount = 8;
inline constexpr std::array<int, kSizeCount> kGlyphPixelSizes{16, 24, 32, 48, 64, 80, 96, 112};

// An offset table holds, per font, one BE32 block offset per size index, counted from the
// table's first byte.
inline constexpr std::uint32_t kGlyphBlockOffsetSize = 4;
inline constexpr std::uint32_t kGlyphTableFontSize = kGlyphBlockOffsetSize * kSizeCount;

// Text bytes: a byte with the top bit clear is a half-width glyph number; a set top bit starts
// a two-byte full-width glyph number, its low six bits the number's high bits.
inline constexpr std::uint8_t kFullWidthBit = 0x80;
inline constexpr std::uint8_t kFullWidthLead = 0xC0; // what the compiler writes
inline constexpr std::uint8_t kFullWidthHighBits = 0x3F;
inline constexpr int kMaxFullWidthGlyphs = 0x4000;
// Counts of text bytes are one byte in every record.
inline constexpr int kMaxTextBytes = 255;

// The half-width glyphs 0-19 of every font and size a register uses, in this order: the panel
// draws register values with these fixed numbers.
inline constexpr char16_t kRegisterGlyphs[] = u"0123456789ABCDEF? -.";
namespace RegisterGlyph {
inline constexpr std::uint8_t kOverflow = 16;
inline constexpr std::uint8_t kBlank = 17;
inline constexpr std::uint8_t kMinus = 18;
inline constexpr std::uint8_t kPoint = 19;
} // namespace RegisterGlyph

static_assert(kRegisterGlyphs[RegisterGlyph::kOverflow] == u'?' &&
              kRegisterGlyphs[RegisterGlyph::kBlank] == u' ' &&
              kRegisterGlyphs[RegisterGlyph::kMinus] == u'-' &&
              kRegisterGlyphs[RegisterGlyph::kPoint] == u'.');

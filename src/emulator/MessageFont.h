#pragma once

#include <cstddef>
#include <cstdint>

class DisplayMemory;

// One glyph of the built-in message font: 16 rows of 16 bits, the leftmost pixel in the top bit.
struct MessageGlyph {
    char16_t code;
    uint8_t width; // 8 for ASCII, 16 for Chinese
    uint8_t rows[32];
};

extern const MessageGlyph kMessageGlyphs[];
extern const size_t kMessageGlyphCount;

// Draws a built-in text at (x, y); a character missing from the font leaves a blank cell.
// Returns the x after the text.
int DrawMessage(DisplayMemory& display, int x, int y, const char16_t* text, uint16_t colour);
// Width of the text in pixels.
int MessageWidth(const char16_t* text);

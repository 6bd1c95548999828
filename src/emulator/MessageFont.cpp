#include "MessageFont.h"

#include "DisplayMemory.h"

#include <algorithm>

namespace {

// The table is sorted by code (ASCII first, then the Chinese characters in code order).
const MessageGlyph* FindGlyph(char16_t code) {
    const MessageGlyph* end = kMessageGlyphs + kMessageGlyphCount;
    const MessageGlyph* found = std::lower_bound(
        kMessageGlyphs, end, code, [](const MessageGlyph& g, char16_t c) { return g.code < c; });
    return found != end && found->code == code ? found : nullptr;
}

int CellWidth(char16_t code) {
    return code < 128 ? 8 : 16;
}

} // namespace

int DrawMessage(DisplayMemory& display, int x, int y, const char16_t* text, uint16_t colour) {
    for (const char16_t* c = text; *c; ++c) {
        if (const MessageGlyph* glyph = FindGlyph(*c)) {
            for (int row = 0; row < 16; ++row) {
                const int bits = glyph->rows[2 * row] << 8 | glyph->rows[2 * row + 1];
                for (int column = 0; column < glyph->width; ++column) {
                    if (bits & (0x8000 >> column))
                        display.Pixel(x + column, y + row, colour);
                }
            }
        }
        x += CellWidth(*c);
    }
    return x;
}

int MessageWidth(const char16_t* text) {
    int width = 0;
    for (const char16_t* c = text; *c; ++c)
        width += CellWidth(*c);
    return width;
}

#pragma once

#include "FontRegistry.h"

#include <QByteArray>
#include <QString>

#include <vector>

// Appends one bitmap per character of `chars`: `width` x `size` pixels drawn in the face's
// screen font, rows top to bottom, most significant bit leftmost, a set bit for every pixel
// that is not pure white.
void RasteriseGlyphs(const QString& face, int size, int width, const std::vector<char16_t>& chars,
                     QByteArray& out);

// A glyph section and its offset table: for every font in registry order and every size index,
// the block offset (counted from the start of the table) as BE32, and the blocks behind it.
struct GlyphSection {
    QByteArray table;
    QByteArray glyphs;
};

GlyphSection BuildFullWidthSection(const CFontRegistry& fonts);
GlyphSection BuildHalfWidthSection(const CFontRegistry& fonts);

#pragma once

#include "FontRegistry.h"

#include <QByteArray>
#include <QFont>
#include <QString>

#include <vector>

// The font the glyphs of (face, size) are drawn in: the designer's screen font of that line
// height; a face that is not installed draws in the default face at that height.
QFont GlyphFont(const QString& face, int size);

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

// With `rasterise` false the glyphs are left blank: the section has its size and layout at a
// fraction of the cost.
GlyphSection BuildFullWidthSection(const CFontRegistry& fonts, bool rasterise = true);
GlyphSection BuildHalfWidthSection(const CFontRegistry& fonts, bool rasterise = true);

// Whether the character, drawn as RasteriseGlyphs draws it, has strokes outside its
// `width` x `size` cell, which the panel's glyph cuts off.
bool GlyphOverflowsCell(const QString& face, int size, int width, char16_t c);

#pragma once

#include <QPainterPath>

// The letters, digits and plus-minus sign of the key labels, drawn as strokes rather than text so
// that the pictures need no font and come out the same everywhere.
//
// A glyph is the centre line of its strokes in a box `advance` units wide and 10 units high,
// origin at the top left, to be stroked 2 units wide and clipped to the box. Straight strokes sit
// on whole units, so they stay crisp at the scales the keys use.
struct KeyGlyph {
    QPainterPath strokes;
    qreal advance = 0;
};

constexpr qreal kGlyphHeight = 10;
constexpr qreal kGlyphStroke = 2;

// The glyph of one of "ACELMNRST", "0".."9" or '~' (plus-minus); an empty glyph otherwise.
KeyGlyph GlyphFor(char c);

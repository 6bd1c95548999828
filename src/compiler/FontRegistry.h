#pragma once

#include "GlyphLayout.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

// Texts reach the panel as glyph numbers: the compile collects, per face and size, exactly the
// characters its texts use, and the records carry each character's position in those lists.

// The size index of a pixel size; sizes outside the table use index 0.
int SizeIndex(int pixelSize);
int PixelSize(int sizeIndex);

// The bytes that encoding `text` gives: 1 per character below 128, 2 for the others.
int EncodedLength(const QString& text);
// `text` shortened to at most `limit` encoded bytes without splitting a surrogate pair.
QString CutToTextBytes(const QString& text, int limit = kMaxTextBytes);

// The characters one face uses at one size, in order of first use.
struct GlyphList {
    std::vector<char16_t> chars;
    QHash<char16_t, int> positions;

    // The character's position, appending it when it is new.
    int Add(char16_t c);
};

struct FontEntry {
    QString face;
    std::array<GlyphList, kSizeCount> full;
    std::array<GlyphList, kSizeCount> half;
};

// The font registry of one compile; an entry's position is the font number of the records.
class CFontRegistry {
public:
    void Clear() { m_Entries.clear(); }
    // Finds or appends the entry of `face` (exact, case-sensitive name).
    int FontNumber(const QString& face);
    // The font number of a face that some text has registered; 0 for any other face, which
    // has no glyphs to draw.
    int RegisteredFontNumber(const QString& face) const;
    // Appends the glyph numbers of `text` to `out`, registering new characters. False when a
    // full-width list would pass 0x3FFF glyphs or the registry 256 fonts; `out` is then
    // incomplete and the compile must stop.
    bool Encode(const QString& text, const QString& face, int pixelSize, QByteArray& out);
    const std::vector<FontEntry>& Entries() const { return m_Entries; }

private:
    std::vector<FontEntry> m_Entries;
};

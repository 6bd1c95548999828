#include "FontRegistry.h"

int SizeIndex(int pixelSize) {
    for (int i = 0; i < kSizeCount; ++i) {
        if (kGlyphPixelSizes[static_cast<std::size_t>(i)] == pixelSize)
            return i;
    }
    return 0;
}

int PixelSize(int sizeIndex) {
    return kGlyphPixelSizes[static_cast<std::size_t>(sizeIndex)];
}

int EncodedLength(const QString& text) {
    int length = 0;
    for (const QChar c : text)
        length += c.unicode() < 128 ? 1 : 2;
    return length;
}

QString CutToTextBytes(const QString& text, int limit) {
    int length = 0;
    qsizetype end = 0;
    for (; end < text.size(); ++end) {
        const int bytes = text[end].unicode() < 128 ? 1 : 2;
        if (length + bytes > limit)
            break;
        length += bytes;
    }
    if (end > 0 && end < text.size() && text[end - 1].isHighSurrogate())
        --end;
    return text.left(end);
}

int GlyphList::Add(char16_t c) {
    const auto it = positions.constFind(c);
    if (it != positions.constEnd())
        return it.value();
    const int position = static_cast<int>(chars.size());
    chars.push_back(c);
    positions.insert(c, position);
    return position;
}

int CFontRegistry::FontNumber(const QString& face) {
    for (std::size_t i = 0; i < m_Entries.size(); ++i) {
        if (m_Entries[i].face == face)
            return static_cast<int>(i);
    }
    m_Entries.push_back(FontEntry{face, {}, {}});
    return static_cast<int>(m_Entries.size() - 1);
}

int CFontRegistry::RegisteredFontNumber(const QString& face) const {
    for (std::size_t i = 0; i < m_Entries.size(); ++i) {
        if (m_Entries[i].face == face)
            return static_cast<int>(i);
    }
    return 0;
}

bool CFontRegistry::Encode(const QString& text, const QString& face, int pixelSize,
                           QByteArray& out) {
    const int font = FontNumber(face);
    if (font > 0xFF)
        return false;
    const auto size = static_cast<std::size_t>(SizeIndex(pixelSize));
    FontEntry& entry = m_Entries[static_cast<std::size_t>(font)];
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code < 128) {
            out.append(static_cast<char>(entry.half[size].Add(code)));
            continue;
        }
        GlyphList& list = entry.full[size];
        if (!list.positions.contains(code) &&
            list.chars.size() >= static_cast<std::size_t>(kMaxFullWidthGlyphs))
            return false;
        const int k = list.Add(code);
        out.append(static_cast<char>(kFullWidthLead + (k >> 8)));
        out.append(static_cast<char>(k & 0xFF));
    }
    return true;
}

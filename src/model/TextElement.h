#pragma once

#include "GraphBase.h"

#include <QString>

#include <cstdint>

// What the static text, the register and the dynamic text share: a text drawn in a font with a
// foreground and a background colour. The panels' font and colour controls edit any of the
// three through this class.
class CTextElement : public CGraphBase {
public:
    // Each recomputes the element's size.
    void SetFontName(const QString& face);
    void SetFontSize(int size);
    // Width and Height become the extent of what the element shows, in its font.
    virtual void RecalcSize() = 0;

    std::uint32_t m_nBkColor = 0x00FFFFFF;
    std::uint32_t m_nForeColor = 0x00FF0000;
    QString m_strFontName;
    std::int32_t m_nFontSize = 32;

protected:
    explicit CTextElement(int typeCode);

    // Draws `text` in the element's rectangle: font search, reverse video, background fill when
    // the background flag is set, word wrapping.
    void DrawText(QPainter& painter, const QString& text) const;
    // `Attrib` with Double, Reverse, ForeColor and BkColor, which the three kinds begin with.
    void SaveTextAttrib(CMarkup& xml) const;
};

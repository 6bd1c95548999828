#pragma once

#include "GraphBase.h"

#include <QString>

#include <cstdint>

// A fixed caption. Its rectangle always follows its text.
class CGEStaticTxt : public CGraphBase {
public:
    CGEStaticTxt();

    // The caption a text drawn with the tool starts with.
    static QString DefaultCaption();

    void SetText(const QString& text);
    void SetFontName(const QString& face);
    void SetFontSize(int size);
    // Width and Height become the extent of one line of the text in its font.
    void RecalcSize();

    void Draw(QPainter& painter) override;
    void DrawLabel(QPainter& painter) override;
    std::unique_ptr<CGraphBase> Clone() const override;
    bool LoadXml(CMarkup& xml, const CPLCEntity* plc) override;
    bool SaveXml(CMarkup& xml) const override;

    QString m_strText;
    std::uint32_t m_nBkColor = 0x00FFFFFF;
    std::uint32_t m_nForeColor = 0x00FF0000;
    QString m_strFontName;
    std::int32_t m_nFontSize = 32;
};

// Draws `text` in the rectangle of `element` the way the text-like elements do: font search,
// reverse video, background fill when the background flag is set, word wrapping.
void DrawElementText(QPainter& painter, const CGraphBase& element, const QString& text,
                     const QString& face, int size, std::uint32_t foreColor, std::uint32_t bkColor);

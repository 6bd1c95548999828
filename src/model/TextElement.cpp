#include "TextElement.h"

#include "Markup.h"
#include "TextFont.h"

#include <QPainter>

CTextElement::CTextElement(int typeCode) : CGraphBase(typeCode), m_strFontName(kDefaultFaceName) {}

void CTextElement::SetFontName(const QString& face) {
    m_strFontName = face;
    RecalcSize();
}

void CTextElement::SetFontSize(int size) {
    m_nFontSize = size;
    RecalcSize();
}

void CTextElement::DrawText(QPainter& painter, const QString& text) const {
    painter.save();
    QFont font = painter.font();
    font.setStyleStrategy(QFont::NoAntialias);
    FindFontForSize(font, m_strFontName, m_nFontSize);
    painter.setFont(font);
    const QRect rect = GetRect();
    if (m_nSameColor != 0)
        painter.fillRect(rect, ColorFromRef(m_nBkColor));
    if (m_bReverse) {
        // Reverse video: the text takes the background colour on a foreground-coloured ground.
        painter.setBackgroundMode(Qt::OpaqueMode);
        painter.setBackground(ColorFromRef(m_nForeColor));
        painter.setPen(ColorFromRef(m_nBkColor));
    } else {
        painter.setBackgroundMode(Qt::TransparentMode);
        painter.setPen(ColorFromRef(m_nForeColor));
    }
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
    painter.restore();
}

void CTextElement::SaveTextAttrib(CMarkup& xml) const {
    SaveAttrib(xml);
    SaveColours(xml, m_nForeColor, m_nBkColor);
}

#include "GEStaticTxt.h"

#include "Markup.h"
#include "TextFont.h"
#include "XmlValue.h"

#include <QPainter>

CGEStaticTxt::CGEStaticTxt() : CGraphBase(kTypeStaticText), m_strFontName(kDefaultFaceName) {}

QString CGEStaticTxt::DefaultCaption() {
    return QStringLiteral("静态文本");
}

void CGEStaticTxt::SetText(const QString& text) {
    m_strText = text;
    RecalcSize();
}

void CGEStaticTxt::SetFontName(const QString& face) {
    m_strFontName = face;
    RecalcSize();
}

void CGEStaticTxt::SetFontSize(int size) {
    m_nFontSize = size;
    RecalcSize();
}

void CGEStaticTxt::RecalcSize() {
    const QSize extent = TextExtent(m_strText, m_strFontName, m_nFontSize);
    m_nWidth = extent.width();
    m_nHeight = extent.height();
}

void DrawElementText(QPainter& painter, const CGraphBase& element, const QString& text,
                     const QString& face, int size, std::uint32_t foreColor,
                     std::uint32_t bkColor) {
    painter.save();
    QFont font = painter.font();
    font.setStyleStrategy(QFont::NoAntialias);
    FindFontForSize(font, face, size);
    painter.setFont(font);
    const QRect rect = element.GetRect();
    if (element.m_nSameColor != 0)
        painter.fillRect(rect, ColorFromRef(bkColor));
    if (element.m_bReverse) {
        // Reverse video: the text takes the background colour on a foreground-coloured ground.
        painter.setBackgroundMode(Qt::OpaqueMode);
        painter.setBackground(ColorFromRef(foreColor));
        painter.setPen(ColorFromRef(bkColor));
    } else {
        painter.setBackgroundMode(Qt::TransparentMode);
        painter.setPen(ColorFromRef(foreColor));
    }
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
    painter.restore();
}

void CGEStaticTxt::Draw(QPainter& painter) {
    DrawElementText(painter, *this, m_strText, m_strFontName, m_nFontSize, m_nForeColor,
                    m_nBkColor);
    DrawLabel(painter);
}

void CGEStaticTxt::DrawLabel(QPainter& painter) {
    DrawAnnotation(painter, nullptr);
}

std::unique_ptr<CGraphBase> CGEStaticTxt::Clone() const {
    auto copy = std::make_unique<CGEStaticTxt>();
    copy->CopyFrom(*this);
    copy->m_strText = m_strText;
    copy->m_nBkColor = m_nBkColor;
    copy->m_nForeColor = m_nForeColor;
    copy->m_strFontName = m_strFontName;
    copy->m_nFontSize = m_nFontSize;
    return copy;
}

bool CGEStaticTxt::SaveXml(CMarkup& xml) const {
    CGraphBase::SaveXml(xml);
    xml.AppendChild(u"Attrib");
    xml.SetChildAttribute(u"Double", BoolText(m_bDouble));
    xml.SetChildAttribute(u"Reverse", BoolText(m_bReverse));
    xml.SetChildAttribute(u"ForeColor", ColourText(m_nForeColor));
    xml.SetChildAttribute(u"BkColor", ColourText(m_nBkColor));
    xml.SetChildAttribute(u"FontName", m_strFontName);
    xml.SetChildAttribute(u"FontSize", m_nFontSize);
    xml.SetChildAttribute(u"Back", BoolText(m_nSameColor != 0));
    xml.SetChildAttribute(u"SameColor", m_nSameColor);
    xml.AppendChild(u"Text", m_strText);
    return true;
}

bool CGEStaticTxt::LoadXml(CMarkup& xml, const CPLCEntity*) {
    LoadCommon(xml);
    if (xml.NextChild(u"Attrib")) {
        ReadBool(xml.ChildAttribute(u"Double"), m_bDouble);
        ReadBool(xml.ChildAttribute(u"Reverse"), m_bReverse);
        const QString back = xml.ChildAttribute(u"Back");
        if (!back.isEmpty())
            m_nSameColor = IsTrueText(back) ? 1 : 0;
        ReadColour(xml.ChildAttribute(u"BkColor"), m_nBkColor);
        ReadColour(xml.ChildAttribute(u"ForeColor"), m_nForeColor);
        m_strFontName = TextOr(xml.ChildAttribute(u"FontName"), kDefaultFaceName);
        m_nFontSize = IntOr(xml.ChildAttribute(u"FontSize"), 16);
        m_nSameColor = IntOr(xml.ChildAttribute(u"SameColor"), 0);
    }
    if (xml.NextChild(u"Text"))
        m_strText = xml.ChildText();
    RecalcSize();
    return true;
}

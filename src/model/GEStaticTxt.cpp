#include "GEStaticTxt.h"

#include "Markup.h"
#include "TextFont.h"
#include "XmlValue.h"

CGEStaticTxt::CGEStaticTxt() : CTextElement(kTypeStaticText) {}

QString CGEStaticTxt::DefaultCaption() {
    return QStringLiteral("静态文本");
}

void CGEStaticTxt::SetText(const QString& text) {
    m_strText = text;
    RecalcSize();
}

void CGEStaticTxt::RecalcSize() {
    const QSize extent = TextExtent(m_strText, m_strFontName, m_nFontSize);
    m_nWidth = extent.width();
    m_nHeight = extent.height();
}

void CGEStaticTxt::Draw(QPainter& painter) const {
    DrawText(painter, m_strText);
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

bool CGEStaticTxt::SaveXml(CMarkup& xml, const QString& labelName) const {
    CGraphBase::SaveXml(xml, labelName);
    SaveTextAttrib(xml);
    xml.SetChildAttribute(u"FontName", m_strFontName);
    xml.SetChildAttribute(u"FontSize", m_nFontSize);
    xml.SetChildAttribute(u"Back", BoolText(m_nSameColor != 0));
    xml.SetChildAttribute(u"SameColor", m_nSameColor);
    xml.AppendChild(u"Text", m_strText);
    return true;
}

bool CGEStaticTxt::LoadXml(CMarkup& xml, const CPLCEntity*) {
    LoadCommon(xml);
    if (LoadAttrib(xml)) {
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

std::unique_ptr<CGraphBase> CGEStaticTxt::ExactCopy() const {
    return std::unique_ptr<CGraphBase>(new CGEStaticTxt(*this));
}

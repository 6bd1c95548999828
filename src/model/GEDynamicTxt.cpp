#include "GEDynamicTxt.h"

#include "Markup.h"
#include "TextFont.h"
#include "XmlValue.h"

CGEDynamicTxt::CGEDynamicTxt(const CPLCEntity* plc)
    : CTextElement(kTypeDynamicText), m_Reg(NewAddress(PLC_WORD, PLC_ANY, plc)),
      m_pTexts(std::make_unique<CTextList>()) {
    CTextItem& first = (*m_pTexts)[0];
    first.m_nValue = 0;
    first.m_strValueText = QStringLiteral("0");
    first.m_strContent = QStringLiteral("动态文字串");
    first.m_bUsed = true;
}

void CGEDynamicTxt::RecalcSize() {
    QFont font;
    font.setStyleStrategy(QFont::NoAntialias);
    FindFontForSize(font, m_strFontName, m_nFontSize);
    QRect bounds;
    for (const CTextItem& item : *m_pTexts) {
        if (item.m_strContent.isEmpty())
            continue;
        bounds = bounds.united(QRect(QPoint(0, 0), TextExtent(item.m_strContent, font)));
    }
    m_nWidth = bounds.width();
    m_nHeight = bounds.height();
}

ValueRange CGEDynamicTxt::GetValueRange() const {
    return RangeForUnits(UnitCount(m_Reg), m_nDataFormat == kFormatDecSign);
}

void CGEDynamicTxt::Draw(QPainter& painter) const {
    DrawText(painter, FirstText().m_strContent);
}

std::unique_ptr<CGraphBase> CGEDynamicTxt::Clone() const {
    // The copy keeps its own new text list: the texts belong to the source.
    auto copy = std::make_unique<CGEDynamicTxt>(nullptr);
    copy->CopyFrom(*this);
    copy->m_nDataFormat = m_nDataFormat;
    copy->m_nBkColor = m_nBkColor;
    copy->m_nForeColor = m_nForeColor;
    copy->m_strFontName = m_strFontName;
    copy->m_nFontSize = m_nFontSize;
    copy->m_Reg = m_Reg;
    return copy;
}

bool CGEDynamicTxt::SaveXml(CMarkup& xml, const QString& labelName) const {
    CGraphBase::SaveXml(xml, labelName);
    SaveTextAttrib(xml);
    xml.SetChildAttribute(u"SameColor", m_nSameColor);
    xml.SetChildAttribute(u"FontName", m_strFontName);
    xml.SetChildAttribute(u"FontSize", m_nFontSize);
    xml.AppendChild(u"Reg");
    m_Reg.SaveXml(xml);
    xml.AppendChild(u"Show");
    SetChildDataFormat(xml, m_nDataFormat);
    m_pTexts->SaveXml(xml);
    return true;
}

bool CGEDynamicTxt::LoadXml(CMarkup& xml, const CPLCEntity* plc) {
    LoadCommon(xml);
    if (LoadAttrib(xml)) {
        m_nBkColor = ColourOr(xml.ChildAttribute(u"BkColor"), 0);
        m_nForeColor = ColourOr(xml.ChildAttribute(u"ForeColor"), 0);
        m_nSameColor = IntOr(xml.ChildAttribute(u"SameColor"), 0);
        m_strFontName = TextOr(xml.ChildAttribute(u"FontName"), kDefaultFaceName);
        m_nFontSize = IntOr(xml.ChildAttribute(u"FontSize"), 16);
    }
    if (xml.NextChild(u"Reg"))
        m_Reg.LoadXml(xml, PLCOrNone(plc));
    if (xml.NextChild(u"Show"))
        ReadInt(xml.ChildAttribute(u"DataFormat"), m_nDataFormat);
    if (xml.NextChild(u"TextList"))
        m_pTexts->LoadXml(xml);
    return true;
}

CGEDynamicTxt::CGEDynamicTxt(const CGEDynamicTxt& other)
    : CTextElement(other), m_Reg(other.m_Reg),
      m_pTexts(std::make_unique<CTextList>(*other.m_pTexts)), m_nDataFormat(other.m_nDataFormat) {}

std::unique_ptr<CGraphBase> CGEDynamicTxt::ExactCopy() const {
    return std::unique_ptr<CGraphBase>(new CGEDynamicTxt(*this));
}

#include "GERegister.h"

#include "Markup.h"
#include "TextFont.h"
#include "XmlValue.h"

#include <QPainter>

CGERegister::CGERegister(const CPLCEntity* plc)
    : CTextElement(kTypeRegister), m_Reg(NewAddress(PLC_WORD, PLC_ANY, plc)) {}

QString CGERegister::SampleText() const {
    // Digits 1, 2, ... 9, 0, 1, ... held in 64 bits: more digits than fit are cut off by the
    // wrap of the multiplication, as the panel's own sample would be.
    std::uint64_t value = 0;
    for (int i = 1; i <= m_byIntegerBits; ++i)
        value = value * 10 + static_cast<std::uint64_t>(i % 10);
    std::uint64_t divisor = 1;
    for (int i = 0; i < m_byPointBits && divisor <= UINT64_MAX / 10; ++i)
        divisor *= 10;
    const auto integerPart = static_cast<std::int64_t>(value / divisor);
    const auto fraction = static_cast<std::int64_t>(value % divisor);
    QString text;
    if (m_nDataFormat == kFormatDecSign)
        text += u'-';
    text += QString::number(integerPart);
    if (m_byPointBits != 0)
        text += u'.' + QString::number(fraction);
    return text;
}

void CGERegister::RecalcSize() {
    const QSize extent = TextExtent(SampleText(), m_strFontName, m_nFontSize);
    m_nWidth = extent.width();
    m_nHeight = extent.height();
}

ValueRange CGERegister::GetValueRange() const {
    return RangeForUnits(UnitCount(m_Reg), m_nDataFormat == kFormatDecSign);
}

void CGERegister::NormalizeUpperLimits() {
    const std::int64_t max = GetValueRange().max;
    if (m_nRawUpperLimit > max)
        m_nRawUpperLimit = max;
    if (m_nEngUpperLimit > max)
        m_nEngUpperLimit = max;
    if (m_nRawLowerLimit > m_nRawUpperLimit)
        m_nRawUpperLimit = m_nRawLowerLimit;
    if (m_nEngLowerLimit > m_nEngUpperLimit)
        m_nEngUpperLimit = m_nEngLowerLimit;
}

void CGERegister::NormalizeLowerLimits() {
    const std::int64_t min = GetValueRange().min;
    if (m_nRawLowerLimit < min)
        m_nRawLowerLimit = min;
    if (m_nEngLowerLimit < min)
        m_nEngLowerLimit = min;
    if (m_nRawLowerLimit > m_nRawUpperLimit)
        m_nRawUpperLimit = m_nRawLowerLimit;
    if (m_nEngLowerLimit > m_nEngUpperLimit)
        m_nEngUpperLimit = m_nEngLowerLimit;
}

void CGERegister::Draw(QPainter& painter) const {
    DrawText(painter, SampleText());
    DrawBorder(painter);
}

void CGERegister::DrawBorder(QPainter& painter) const {
    if (m_nUseBorder == 0)
        return;
    painter.save();
    painter.setPen(QPen(ColorFromRef(m_nBorderColor), m_nUseBorder == 1 ? 1 : 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(GetRect().adjusted(0, 0, -1, -1));
    painter.restore();
}

std::unique_ptr<CGraphBase> CGERegister::Clone() const {
    // Colours, border, font, style, encryption and leading zeros stay at their defaults.
    auto copy = std::make_unique<CGERegister>(nullptr);
    copy->CopyFrom(*this);
    copy->m_nDataFormat = m_nDataFormat;
    copy->m_byIntegerBits = m_byIntegerBits;
    copy->m_byPointBits = m_byPointBits;
    copy->m_nComboBoxID = m_nComboBoxID;
    copy->m_nRawUpperLimit = m_nRawUpperLimit;
    copy->m_nRawLowerLimit = m_nRawLowerLimit;
    copy->m_nEngUpperLimit = m_nEngUpperLimit;
    copy->m_nEngLowerLimit = m_nEngLowerLimit;
    copy->m_bFillZero = m_bFillZero;
    copy->m_bHaveLimit = m_bHaveLimit;
    copy->m_bSetting = m_bSetting;
    copy->m_byGrade = m_byGrade;
    copy->m_Reg = m_Reg;
    return copy;
}

bool CGERegister::SaveXml(CMarkup& xml, const QString& labelName) const {
    CGraphBase::SaveXml(xml, labelName);
    SaveTextAttrib(xml);
    xml.SetChildAttribute(u"SameColor", m_nSameColor);
    xml.SetChildAttribute(u"Style", m_nStyle);
    xml.SetChildAttribute(u"BorderColor", ColourText(m_nBorderColor));
    xml.SetChildAttribute(u"UseBorder", m_nUseBorder);
    xml.SetChildAttribute(u"FontName", m_strFontName);
    xml.SetChildAttribute(u"FontSize", m_nFontSize);
    xml.SetChildAttribute(u"Back", BoolText(m_nSameColor != 0));
    xml.SetChildAttribute(u"FrontZero", m_nFrontZero);
    xml.SetChildAttribute(u"IntegerBits", m_byIntegerBits);
    xml.SetChildAttribute(u"PointBits", m_byPointBits);
    xml.SetChildAttribute(u"FillZero", BoolText(m_bFillZero));
    xml.SetChildAttribute(u"Setting", BoolText(m_bSetting));
    xml.SetChildAttribute(u"Grade", m_byGrade);
    xml.SetChildAttribute(u"HaveLimit", BoolText(m_bHaveLimit));
    xml.SetChildAttribute(u"Encrypt", BoolText(m_bEncrypt));
    xml.AppendChild(u"Reg");
    m_Reg.SaveXml(xml);
    xml.AppendChild(u"Limitation");
    xml.SetChildAttribute(u"ComboBoxID", m_nComboBoxID);
    xml.SetChildAttribute(u"Type", m_nComboBoxID == 1 ? u"Project" : u"Raw");
    SetChildDataFormat(xml, m_nDataFormat);
    xml.SetChildAttribute(u"RawUpperLimit", Int64Text(m_nRawUpperLimit));
    xml.SetChildAttribute(u"RawLowerLimit", Int64Text(m_nRawLowerLimit));
    xml.SetChildAttribute(u"EngUpperLimit", Int64Text(m_nEngUpperLimit));
    xml.SetChildAttribute(u"EngLowerLimit", Int64Text(m_nEngLowerLimit));
    return true;
}

bool CGERegister::LoadXml(CMarkup& xml, const CPLCEntity* plc) {
    LoadCommon(xml);
    if (LoadAttrib(xml)) {
        const QString back = xml.ChildAttribute(u"Back");
        if (!back.isEmpty())
            m_nSameColor = IsTrueText(back) ? 1 : 0;
        m_nFrontZero = IntOr(xml.ChildAttribute(u"FrontZero"), 0);
        m_nBkColor = ColourOr(xml.ChildAttribute(u"BkColor"), 0);
        m_nBorderColor = ColourOr(xml.ChildAttribute(u"BorderColor"), 0);
        // Older files wrote the border as a boolean.
        const QString border = xml.ChildAttribute(u"UseBorder");
        if (border.compare(u"TRUE", Qt::CaseInsensitive) == 0 ||
            border.compare(u"FALSE", Qt::CaseInsensitive) == 0)
            m_nUseBorder = IsTrueText(border) ? 1 : 0;
        else
            m_nUseBorder = IntOr(border, 0);
        m_nSameColor = IntOr(xml.ChildAttribute(u"SameColor"), 0);
        m_nForeColor = ColourOr(xml.ChildAttribute(u"ForeColor"), 0);
        ReadInt(xml.ChildAttribute(u"Style"), m_nStyle);
        m_strFontName = TextOr(xml.ChildAttribute(u"FontName"), kDefaultFaceName);
        m_nFontSize = IntOr(xml.ChildAttribute(u"FontSize"), 16);
        ReadUInt8(xml.ChildAttribute(u"IntegerBits"), m_byIntegerBits);
        ReadUInt8(xml.ChildAttribute(u"PointBits"), m_byPointBits);
        ReadBool(xml.ChildAttribute(u"FillZero"), m_bFillZero);
        ReadBool(xml.ChildAttribute(u"Setting"), m_bSetting);
        ReadUInt8(xml.ChildAttribute(u"Grade"), m_byGrade);
        ReadBool(xml.ChildAttribute(u"HaveLimit"), m_bHaveLimit);
        ReadBool(xml.ChildAttribute(u"Encrypt"), m_bEncrypt);
    }
    if (xml.NextChild(u"Reg"))
        m_Reg.LoadXml(xml, PLCOrNone(plc));
    if (xml.NextChild(u"Limitation")) {
        ReadInt(xml.ChildAttribute(u"ComboBoxID"), m_nComboBoxID);
        ReadInt(xml.ChildAttribute(u"DataFormat"), m_nDataFormat);
        ReadInt64(xml.ChildAttribute(u"RawUpperLimit"), m_nRawUpperLimit);
        ReadInt64(xml.ChildAttribute(u"RawLowerLimit"), m_nRawLowerLimit);
        ReadInt64(xml.ChildAttribute(u"EngUpperLimit"), m_nEngUpperLimit);
        ReadInt64(xml.ChildAttribute(u"EngLowerLimit"), m_nEngLowerLimit);
    }
    return true;
}

std::unique_ptr<CGraphBase> CGERegister::ExactCopy() const {
    return std::unique_ptr<CGraphBase>(new CGERegister(*this));
}

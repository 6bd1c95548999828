#include "GEBar.h"

#include "Markup.h"
#include "XmlValue.h"

#include <QPainter>

#include <array>

namespace {

const std::array<const char16_t*, 4> kDirectionNames{u"Up", u"Down", u"Left", u"Right"};

bool IsVertical(int direction) {
    return direction == 0 || direction == 1;
}
bool IsHorizontal(int direction) {
    return direction == 2 || direction == 3;
}

} // namespace

void NormalizeUpper(std::int64_t& upper, std::int64_t lower, const ValueRange& range) {
    if (upper > range.max)
        upper = range.max;
    if (lower > upper)
        upper = lower;
}

void NormalizeLower(std::int64_t& upper, std::int64_t& lower, const ValueRange& range) {
    if (lower < range.min)
        lower = range.min;
    if (lower > upper)
        upper = lower;
}

CGEBar::CGEBar(const CPLCEntity* plc)
    : CGraphBase(kTypeBar), m_Reg(NewAddress(PLC_WORD, PLC_READ, plc)) {}

void CGEBar::SetDrawDir(int direction) {
    if ((IsVertical(m_nDrawDir) && IsHorizontal(direction)) ||
        (IsHorizontal(m_nDrawDir) && IsVertical(direction)))
        std::swap(m_nWidth, m_nHeight);
    m_nDrawDir = direction;
}

ValueRange CGEBar::GetValueRange() const {
    return RangeForUnits(UnitCount(m_Reg), m_nDataFormat == kFormatDecSign);
}

void CGEBar::NormalizeUpperLimit() {
    NormalizeUpper(m_nUpperLimit, m_nLowerLimit, GetValueRange());
}

void CGEBar::NormalizeLowerLimit() {
    NormalizeLower(m_nUpperLimit, m_nLowerLimit, GetValueRange());
}

void CGEBar::Draw(QPainter& painter) {
    const QRect r = GetRect();
    painter.fillRect(r, ColorFromRef(m_nBkColor));
    const int left = r.left();
    const int top = r.top();
    const int right = r.left() + r.width();
    const int bottom = r.top() + r.height();
    QRect filled;
    switch (m_nDrawDir) {
    case 0:
        filled = QRect(QPoint(left, bottom - r.height() / 3), QPoint(right - 1, bottom - 1));
        break;
    case 1:
        filled = QRect(QPoint(left, top), QPoint(right - 1, top + r.height() / 3 - 1));
        break;
    case 2:
        filled = QRect(QPoint(right - r.width() / 3, top), QPoint(right - 1, bottom - 1));
        break;
    case 3:
        filled = QRect(QPoint(left, top), QPoint(left + r.width() / 3 - 1, bottom - 1));
        break;
    default:
        break;
    }
    if (filled.isValid())
        painter.fillRect(filled, ColorFromRef(m_nForeColor));
    painter.save();
    painter.setPen(QPen(ColorFromRef(0x00FFFFFF), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(r.adjusted(0, 0, -1, -1));
    painter.restore();
    DrawLabel(painter);
}

void CGEBar::DrawLabel(QPainter& painter) {
    DrawAnnotation(painter, &m_Reg);
}

std::unique_ptr<CGraphBase> CGEBar::Clone() const {
    auto copy = std::make_unique<CGEBar>(nullptr);
    copy->CopyFrom(*this);
    copy->m_Reg = m_Reg;
    copy->m_nDataFormat = m_nDataFormat;
    copy->m_nDrawDir = m_nDrawDir;
    copy->m_nUpperLimit = m_nUpperLimit;
    copy->m_nLowerLimit = m_nLowerLimit;
    copy->m_nBkColor = m_nBkColor;
    copy->m_nForeColor = m_nForeColor;
    return copy;
}

void CGEBar::RebindAddresses(const CPLCEntity* plc) {
    RebindAddress(m_Reg, plc);
}

bool CGEBar::SaveXml(CMarkup& xml) const {
    CGraphBase::SaveXml(xml);
    xml.AppendChild(u"Attrib");
    xml.SetChildAttribute(u"Double", BoolText(m_bDouble));
    xml.SetChildAttribute(u"Reverse", BoolText(m_bReverse));
    xml.SetChildAttribute(u"ForeColor", ColourText(m_nForeColor));
    xml.SetChildAttribute(u"BkColor", ColourText(m_nBkColor));
    xml.AppendChild(u"Reg");
    m_Reg.SaveXml(xml);
    xml.AppendChild(u"Show");
    xml.SetChildAttribute(u"DataFormat", m_nDataFormat);
    xml.SetChildAttribute(u"Desc", QString::fromLatin1(DataFormatName(m_nDataFormat)));
    xml.SetChildAttribute(u"UpperLimit", Int64Text(m_nUpperLimit));
    xml.SetChildAttribute(u"LowerLimit", Int64Text(m_nLowerLimit));
    xml.SetChildAttribute(u"DrawDir", m_nDrawDir);
    const bool named = m_nDrawDir >= 0 && m_nDrawDir < 4;
    xml.SetChildAttribute(u"Comment",
                          named ? kDirectionNames[static_cast<std::size_t>(m_nDrawDir)] : u"");
    return true;
}

bool CGEBar::LoadXml(CMarkup& xml, const CPLCEntity* plc) {
    LoadCommon(xml);
    if (xml.NextChild(u"Attrib")) {
        ReadBool(xml.ChildAttribute(u"Double"), m_bDouble);
        ReadBool(xml.ChildAttribute(u"Reverse"), m_bReverse);
        ReadColour(xml.ChildAttribute(u"BkColor"), m_nBkColor);
        ReadColour(xml.ChildAttribute(u"ForeColor"), m_nForeColor);
    }
    if (xml.NextChild(u"Reg"))
        m_Reg.LoadXml(xml, PLCOrNone(plc));
    if (xml.NextChild(u"Show")) {
        ReadInt(xml.ChildAttribute(u"DataFormat"), m_nDataFormat);
        ReadInt64(xml.ChildAttribute(u"UpperLimit"), m_nUpperLimit);
        ReadInt64(xml.ChildAttribute(u"LowerLimit"), m_nLowerLimit);
        ReadInt(xml.ChildAttribute(u"DrawDir"), m_nDrawDir);
    }
    return true;
}

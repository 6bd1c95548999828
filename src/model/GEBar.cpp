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

void SaveShowLimits(CMarkup& xml, int dataFormat, std::int64_t upper, std::int64_t lower) {
    xml.AppendChild(u"Show");
    SetChildDataFormat(xml, dataFormat);
    xml.SetChildAttribute(u"UpperLimit", Int64Text(upper));
    xml.SetChildAttribute(u"LowerLimit", Int64Text(lower));
}

void LoadShowLimits(const CMarkup& xml, std::int32_t& dataFormat, std::int64_t& upper,
                    std::int64_t& lower) {
    ReadInt(xml.ChildAttribute(u"DataFormat"), dataFormat);
    ReadInt64(xml.ChildAttribute(u"UpperLimit"), upper);
    ReadInt64(xml.ChildAttribute(u"LowerLimit"), lower);
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

void CGEBar::Draw(QPainter& painter) const {
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

bool CGEBar::SaveXml(CMarkup& xml, const QString& labelName) const {
    CGraphBase::SaveXml(xml, labelName);
    SaveAttrib(xml);
    SaveColours(xml, m_nForeColor, m_nBkColor);
    xml.AppendChild(u"Reg");
    m_Reg.SaveXml(xml);
    SaveShowLimits(xml, m_nDataFormat, m_nUpperLimit, m_nLowerLimit);
    xml.SetChildAttribute(u"DrawDir", m_nDrawDir);
    const bool named = m_nDrawDir >= 0 && m_nDrawDir < 4;
    xml.SetChildAttribute(u"Comment",
                          named ? kDirectionNames[static_cast<std::size_t>(m_nDrawDir)] : u"");
    return true;
}

bool CGEBar::LoadXml(CMarkup& xml, const CPLCEntity* plc) {
    LoadCommon(xml);
    if (LoadAttrib(xml)) {
        ReadColour(xml.ChildAttribute(u"BkColor"), m_nBkColor);
        ReadColour(xml.ChildAttribute(u"ForeColor"), m_nForeColor);
    }
    if (xml.NextChild(u"Reg"))
        m_Reg.LoadXml(xml, PLCOrNone(plc));
    if (xml.NextChild(u"Show")) {
        LoadShowLimits(xml, m_nDataFormat, m_nUpperLimit, m_nLowerLimit);
        ReadInt(xml.ChildAttribute(u"DrawDir"), m_nDrawDir);
    }
    return true;
}

std::unique_ptr<CGraphBase> CGEBar::ExactCopy() const {
    return std::unique_ptr<CGraphBase>(new CGEBar(*this));
}

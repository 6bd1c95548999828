#include "GETrend.h"

#include "GEBar.h"
#include "Markup.h"
#include "XmlValue.h"

#include <QPainter>

CGETrend::CGETrend(const CPLCEntity* plc)
    : CGraphBase(kTypeTrend), m_Reg(NewAddress(PLC_WORD, PLC_READ, plc)) {}

ValueRange CGETrend::GetValueRange() const {
    return RangeForUnits(UnitCount(m_Reg), m_nDataFormat == kFormatDecSign);
}

void CGETrend::NormalizeUpperLimit() {
    NormalizeUpper(m_nUpperLimit, m_nLowerLimit, GetValueRange());
}

void CGETrend::NormalizeLowerLimit() {
    NormalizeLower(m_nUpperLimit, m_nLowerLimit, GetValueRange());
}

void CGETrend::Draw(QPainter& painter) const {
    const QRect e = GetRect();
    painter.fillRect(e, ColorFromRef(m_nBackColor));
    // R: the element without a 6-pixel strip on the left and at the bottom; right and bottom
    // are exclusive coordinates.
    const int left = e.left() + 6;
    const int top = e.top();
    const int right = e.left() + e.width();
    const int bottom = e.top() + e.height() - 6;
    const int width = right - left;
    const int height = bottom - top;

    painter.save();
    painter.setPen(QPen(ColorFromRef(m_nForeColor), 2, Qt::SolidLine, Qt::FlatCap));
    for (int i = 0; i <= 4; ++i) {
        const int y = top + (height / 4) * i;
        painter.drawLine(left, y, i == 2 ? e.left() : left - 3, y);
    }
    const QPoint axes[] = {{left, top}, {left, bottom}, {right, bottom}};
    painter.drawPolyline(axes, 3);
    painter.fillRect(QRect(QPoint(left, top + 2), QPoint(right - 3, bottom - 1)),
                     ColorFromRef(m_nForeColor));

    painter.setPen(QPen(ColorFromRef(m_nPenColor), 2));
    const QPoint curve[] = {{left, bottom - height / 3},
                            {left + width / 4, top + height / 4},
                            {left + width / 2, bottom - height / 4},
                            {left + 3 * width / 4, bottom - height / 2},
                            {right - 4, top + 3 * height / 4}};
    painter.drawPolyline(curve, 5);
    painter.restore();
}

std::unique_ptr<CGraphBase> CGETrend::Clone() const {
    // The three colours of the copy stay at their defaults.
    auto copy = std::make_unique<CGETrend>(nullptr);
    copy->CopyFrom(*this);
    copy->m_nDataFormat = m_nDataFormat;
    copy->m_nUpperLimit = m_nUpperLimit;
    copy->m_nLowerLimit = m_nLowerLimit;
    copy->m_nSamplingPoint = m_nSamplingPoint;
    copy->m_nSamplingTime = m_nSamplingTime;
    copy->m_Reg = m_Reg;
    return copy;
}

bool CGETrend::SaveXml(CMarkup& xml, const QString& labelName) const {
    CGraphBase::SaveXml(xml, labelName);
    SaveAttrib(xml);
    xml.AppendChild(u"Reg");
    m_Reg.SaveXml(xml);
    SaveShowLimits(xml, m_nDataFormat, m_nUpperLimit, m_nLowerLimit);
    xml.SetChildAttribute(u"SamplingPoint", m_nSamplingPoint);
    xml.SetChildAttribute(u"SamplingTime", QString::number(m_nSamplingTime));
    xml.SetChildAttribute(u"BackColor", ColourText(m_nBackColor));
    xml.SetChildAttribute(u"ForeColor", ColourText(m_nForeColor));
    xml.SetChildAttribute(u"PenColor", ColourText(m_nPenColor));
    return true;
}

bool CGETrend::LoadXml(CMarkup& xml, const CPLCEntity* plc) {
    LoadCommon(xml);
    LoadAttrib(xml);
    if (xml.NextChild(u"Reg"))
        m_Reg.LoadXml(xml, PLCOrNone(plc));
    if (xml.NextChild(u"Show")) {
        LoadShowLimits(xml, m_nDataFormat, m_nUpperLimit, m_nLowerLimit);
        ReadInt(xml.ChildAttribute(u"SamplingPoint"), m_nSamplingPoint);
        ReadUInt32(xml.ChildAttribute(u"SamplingTime"), m_nSamplingTime);
        m_nBackColor = ColourOr(xml.ChildAttribute(u"BackColor"), 0);
        ReadColour(xml.ChildAttribute(u"ForeColor"), m_nForeColor);
        ReadColour(xml.ChildAttribute(u"PenColor"), m_nPenColor);
    }
    return true;
}

std::unique_ptr<CGraphBase> CGETrend::ExactCopy() const {
    return std::unique_ptr<CGraphBase>(new CGETrend(*this));
}

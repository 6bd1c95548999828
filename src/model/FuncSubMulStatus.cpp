#include "FuncSubMulStatus.h"

#include "Markup.h"
#include "XmlValue.h"

namespace {

// The step of a multi-state key is at most 16 bits whatever the register's size.
ValueRange DeltaRange(int unitCount, bool isSigned) {
    return RangeForUnits(unitCount == 1 ? 1 : 2, isSigned);
}

void ClampBelow(std::int32_t& value, std::int64_t min) {
    if (static_cast<std::int64_t>(value) < min)
        value = static_cast<std::int32_t>(min);
}

// Compared in 64 bits: a 32-bit value never exceeds the unsigned 32-bit maximum, so the
// assignment always fits.
void ClampAbove(std::int32_t& value, std::int64_t max) {
    if (static_cast<std::int64_t>(value) > max)
        value = static_cast<std::int32_t>(max);
}

} // namespace

CFuncSubMulStatus::CFuncSubMulStatus(const CPLCEntity* plc)
    : m_Reg(NewAddress(PLC_WORD, PLC_READWRITE, plc)) {}

void CFuncSubMulStatus::NormalizeLowerLimit() {
    ClampBelow(m_nLowerLimit, RangeForUnits(UnitCount(m_Reg), IsSigned()).min);
}

void CFuncSubMulStatus::NormalizeUpperLimit() {
    ClampAbove(m_nUpperLimit, RangeForUnits(UnitCount(m_Reg), IsSigned()).max);
}

void CFuncSubMulStatus::NormalizeSubDelta() {
    ClampBelow(m_nSubDelta, DeltaRange(UnitCount(m_Reg), IsSigned()).min);
}

void CFuncSubMulStatus::NormalizeAddDelta() {
    ClampAbove(m_nAddDelta, DeltaRange(UnitCount(m_Reg), IsSigned()).max);
}

void CFuncSubMulStatus::SaveXml(CMarkup& xml) const {
    xml.AppendChild(u"MultiStatusSet");
    xml.SetChildAttribute(u"RadioID", m_nRadioID);
    xml.SetChildAttribute(u"Caption", ChoiceName({u"Add", u"Sub"}, m_nRadioID));
    SetChildDataFormat(xml, m_nDataFormat);
    if (m_nRadioID == 0) {
        xml.SetChildAttribute(u"UpperLimit", m_nUpperLimit);
        xml.SetChildAttribute(u"AddDelta", m_nAddDelta);
    } else {
        xml.SetChildAttribute(u"LowerLimit", m_nLowerLimit);
        xml.SetChildAttribute(u"SubDelta", m_nSubDelta);
    }
    xml.EnterElement();
    xml.AppendChild(u"Reg");
    m_Reg.SaveXml(xml);
    xml.LeaveElement();
}

void CFuncSubMulStatus::LoadXml(CMarkup& xml, const CPLCEntity* plc) {
    ReadInt(xml.ChildAttribute(u"RadioID"), m_nRadioID);
    ReadInt(xml.ChildAttribute(u"DataFormat"), m_nDataFormat);
    if (m_nRadioID == 0) {
        ReadInt(xml.ChildAttribute(u"UpperLimit"), m_nUpperLimit);
        ReadInt(xml.ChildAttribute(u"AddDelta"), m_nAddDelta);
    } else {
        ReadInt(xml.ChildAttribute(u"LowerLimit"), m_nLowerLimit);
        ReadInt(xml.ChildAttribute(u"SubDelta"), m_nSubDelta);
    }
    xml.EnterElement();
    if (xml.NextChild(u"Reg"))
        m_Reg.LoadXml(xml, PLCOrNone(plc));
    xml.LeaveElement();
}

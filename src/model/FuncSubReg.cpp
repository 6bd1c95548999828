#include "FuncSubReg.h"

#include "Markup.h"
#include "XmlValue.h"

CFuncSubReg::CFuncSubReg(const CPLCEntity* plc) : m_Reg(NewAddress(PLC_WORD, PLC_READWRITE, plc)) {}

void CFuncSubReg::SaveXml(CMarkup& xml) const {
    xml.AppendChild(u"SetRegister");
    SetChildDataFormat(xml, m_nDataFormat);
    xml.SetChildAttribute(u"Parameter", m_nParameter);
    xml.EnterElement();
    xml.AppendChild(u"Reg");
    m_Reg.SaveXml(xml);
    xml.LeaveElement();
}

void CFuncSubReg::LoadXml(CMarkup& xml, const CPLCEntity* plc) {
    ReadInt(xml.ChildAttribute(u"DataFormat"), m_nDataFormat);
    ReadInt(xml.ChildAttribute(u"Parameter"), m_nParameter);
    xml.EnterElement();
    if (xml.NextChild(u"Reg"))
        m_Reg.LoadXml(xml, PLCOrNone(plc));
    xml.LeaveElement();
}

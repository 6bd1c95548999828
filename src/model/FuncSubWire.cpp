#include "FuncSubWire.h"

#include "Markup.h"
#include "XmlValue.h"

CFuncSubWire::CFuncSubWire(const CPLCEntity* plc)
    : m_Wire(NewAddress(PLC_BIT, PLC_READWRITE, plc)) {}

void CFuncSubWire::SaveXml(CMarkup& xml) const {
    xml.AppendChild(u"SetWire");
    xml.SetChildAttribute(u"RadioID", m_nRadioID);
    xml.SetChildAttribute(u"Caption",
                          ChoiceName({u"ON", u"OFF", u"REVERSE", u"PULSE"}, m_nRadioID));
    xml.EnterElement();
    xml.AppendChild(u"Wire");
    m_Wire.SaveXml(xml);
    xml.LeaveElement();
}

void CFuncSubWire::LoadXml(CMarkup& xml, const CPLCEntity* plc) {
    ReadInt(xml.ChildAttribute(u"RadioID"), m_nRadioID);
    xml.EnterElement();
    if (xml.NextChild(u"Wire"))
        m_Wire.LoadXml(xml, PLCOrNone(plc));
    xml.LeaveElement();
}

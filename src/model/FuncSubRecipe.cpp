#include "FuncSubRecipe.h"

#include "Markup.h"
#include "XmlValue.h"

CFuncSubRecipe::CFuncSubRecipe(const CPLCEntity* plc)
    : m_Reg(NewAddress(PLC_WORD, PLC_READWRITE, plc)) {}

void CFuncSubRecipe::SaveXml(CMarkup& xml) const {
    xml.AppendChild(u"Recipe");
    xml.SetChildAttribute(u"RadioID", m_nRadioID);
    xml.SetChildAttribute(u"Caption",
                          ChoiceName({u"UpLoad", u"DownLoad", u"BaseAdd", u"BaseSub"}, m_nRadioID));
    xml.SetChildAttribute(u"TransferLen", QString::number(m_nTransferLen));
    xml.SetChildAttribute(u"TransferLimitUp", QString::number(m_nTransferLimitUp));
    xml.SetChildAttribute(u"TransferLimitDown", QString::number(m_nTransferLimitDown));
    xml.EnterElement();
    xml.AppendChild(u"Reg");
    m_Reg.SaveXml(xml);
    xml.LeaveElement();
}

void CFuncSubRecipe::LoadXml(CMarkup& xml, const CPLCEntity* plc) {
    ReadInt(xml.ChildAttribute(u"RadioID"), m_nRadioID);
    ReadUInt32(xml.ChildAttribute(u"TransferLen"), m_nTransferLen);
    ReadUInt32(xml.ChildAttribute(u"TransferLimitUp"), m_nTransferLimitUp);
    ReadUInt32(xml.ChildAttribute(u"TransferLimitDown"), m_nTransferLimitDown);
    xml.EnterElement();
    if (xml.NextChild(u"Reg"))
        m_Reg.LoadXml(xml, PLCOrNone(plc));
    xml.LeaveElement();
}

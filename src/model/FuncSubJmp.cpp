#include "FuncSubJmp.h"

#include "Markup.h"
#include "XmlValue.h"

void CFuncSubJmp::SaveXml(CMarkup& xml) const {
    xml.AppendChild(u"JumpFrame");
    xml.SetChildAttribute(u"RadioID", m_nRadioID);
    xml.SetChildAttribute(u"Caption", ChoiceName({u"JumpFrame", u"PushJump", u"ReturnFrame",
                                                  u"AlarmList", u"PasswordList"},
                                                 m_nRadioID));
    xml.SetChildAttribute(u"Number", m_nNumber);
}

void CFuncSubJmp::LoadXml(CMarkup& xml) {
    ReadInt(xml.ChildAttribute(u"RadioID"), m_nRadioID);
    ReadUInt16(xml.ChildAttribute(u"Number"), m_nNumber);
}

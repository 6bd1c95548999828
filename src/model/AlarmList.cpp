#include "AlarmList.h"

#include "Markup.h"
#include "TextFont.h"
#include "XmlValue.h"

CAlarmList::CAlarmList(const CPLCEntity* plc)
    : m_pTexts(std::make_unique<CTextList>()), m_Alarm(NewAddress(PLC_ALARM, PLC_ANY, plc)),
      m_strFontName(kDefaultFaceName) {}

CAlarmList::CAlarmList(const CAlarmList& other)
    : m_pTexts(std::make_unique<CTextList>(*other.m_pTexts)), m_Alarm(other.m_Alarm),
      m_strFontName(other.m_strFontName), m_nFontSize(other.m_nFontSize),
      m_nBkColor(other.m_nBkColor), m_nTxtBkColor(other.m_nTxtBkColor),
      m_nTxtForeColor(other.m_nTxtForeColor), m_bTextBackground(other.m_bTextBackground) {}

bool CAlarmList::SaveXml(CMarkup& xml) const {
    xml.AppendChild(u"Attrib");
    xml.SetChildAttribute(u"FontName", m_strFontName);
    xml.SetChildAttribute(u"FontSize", m_nFontSize);
    xml.SetChildAttribute(u"BkColor", ColourText(m_nBkColor));
    xml.SetChildAttribute(u"TxtBkColor", ColourText(m_nTxtBkColor));
    xml.SetChildAttribute(u"TxtForeColor", ColourText(m_nTxtForeColor));
    xml.AppendChild(u"Alarm");
    m_Alarm.SaveXml(xml);
    if (AnyTextInUse())
        m_pTexts->SaveXml(xml);
    return true;
}

bool CAlarmList::LoadXml(CMarkup& xml, const CPLCEntity* plc) {
    m_bTextBackground = false;
    if (xml.NextChild(u"Attrib")) {
        m_strFontName = TextOr(xml.ChildAttribute(u"FontName"), kDefaultFaceName);
        m_nFontSize = IntOr(xml.ChildAttribute(u"FontSize"), 32);
        m_nBkColor = ColourOr(xml.ChildAttribute(u"BkColor"), 16777215);
        m_nTxtBkColor = ColourOr(xml.ChildAttribute(u"TxtBkColor"), 16777215);
        m_nTxtForeColor = ColourOr(xml.ChildAttribute(u"TxtForeColor"), 16711680);
    }
    if (xml.NextChild(u"Alarm"))
        m_Alarm.LoadXml(xml, PLCOrNone(plc));
    if (xml.NextChild(u"TextList"))
        m_pTexts->LoadXml(xml);
    return true;
}

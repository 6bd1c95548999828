#include "CommPara.h"

#include "Markup.h"
#include "XmlValue.h"

namespace {

// The index of `text` in `names` (exact comparison); `current` when none matches.
std::int32_t IndexOfName(const QString& text, std::initializer_list<const char16_t*> names,
                         std::int32_t current) {
    std::int32_t index = 0;
    for (const char16_t* name : names) {
        if (text == QStringView(name))
            return index;
        ++index;
    }
    return current;
}

} // namespace

bool CCommPara::SaveXml(CMarkup& xml) const {
    xml.SetAttribute(u"DisplayID", m_nDisplayID);
    xml.SetAttribute(u"BaudRate", m_nBaudRate);
    xml.SetAttribute(u"DataBit", ChoiceName({u"7", u"8"}, m_nDataBit));
    xml.SetAttribute(u"StopBit", ChoiceName({u"1", u"2"}, m_nStopBit));
    xml.SetAttribute(u"ParityBit", m_nParityBit);
    xml.SetAttribute(u"SerialType", ChoiceName({u"RS232", u"RS422", u"RS485"}, m_nSerialType));
    return true;
}

bool CCommPara::LoadXml(CMarkup& xml) {
    m_nDisplayID = static_cast<std::uint16_t>(IntOr(xml.Attribute(u"DisplayID"), 0));
    m_nBaudRate = IntOr(xml.Attribute(u"BaudRate"), 0);
    m_nParityBit = IntOr(xml.Attribute(u"ParityBit"), 0);
    m_nDataBit = IndexOfName(xml.Attribute(u"DataBit"), {u"7", u"8"}, m_nDataBit);
    m_nStopBit = IndexOfName(xml.Attribute(u"StopBit"), {u"1", u"2"}, m_nStopBit);
    m_nSerialType =
        IndexOfName(xml.Attribute(u"SerialType"), {u"RS232", u"RS422", u"RS485"}, m_nSerialType);
    return true;
}

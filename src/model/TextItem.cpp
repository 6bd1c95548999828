#include "TextItem.h"

#include "Markup.h"
#include "XmlValue.h"

CTextList::CTextList() {
    for (int k = 0; k < kTextListSize; ++k)
        m_items[static_cast<std::size_t>(k)].m_nID = k;
}

bool CTextList::AnyInUse() const {
    for (const CTextItem& item : m_items) {
        if (item.IsInUse())
            return true;
    }
    return false;
}

bool CTextList::IsValueUsed(std::int64_t value) const {
    for (const CTextItem& item : m_items) {
        if (item.m_nValue == value)
            return true;
    }
    return false;
}

void CTextList::SaveXml(CMarkup& xml) const {
    xml.AppendChild(u"TextList");
    xml.EnterElement();
    for (const CTextItem& item : m_items) {
        xml.AppendChild(u"Text");
        xml.SetChildAttribute(u"ID", item.m_nID);
        xml.SetChildAttribute(u"Value", static_cast<std::int32_t>(item.m_nValue));
        xml.SetChildAttribute(u"Content", item.m_strContent);
    }
    xml.LeaveElement();
}

void CTextList::LoadXml(CMarkup& xml) {
    xml.EnterElement();
    for (CTextItem& item : m_items) {
        if (!xml.NextChild(u"Text"))
            break;
        ReadInt(xml.ChildAttribute(u"ID"), item.m_nID);
        const QString value = xml.ChildAttribute(u"Value");
        if (!value.isEmpty())
            item.m_nValue = ParseDecimal32(value);
        item.m_strContent = xml.ChildAttribute(u"Content");
    }
    xml.LeaveElement();
}

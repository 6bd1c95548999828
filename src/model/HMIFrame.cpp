#include "HMIFrame.h"

#include "GEPicture.h"
#include "Markup.h"
#include "XmlValue.h"

#include <algorithm>

namespace {

// A picture takes its decoded pixel bytes from what the project may still hold.
bool TakePictureBytes(const CGraphBase& element, qsizetype& bytesLeft) {
    if (element.m_nTypeCode != kTypePicture)
        return true;
    const qsizetype size = static_cast<const CGEPicture&>(element).PixelData().size();
    if (size > bytesLeft)
        return false;
    bytesLeft -= size;
    return true;
}

} // namespace

CGraphBase* CHMIFrame::AddElement(std::unique_ptr<CGraphBase> element) {
    CGraphBase* added = element.get();
    m_Parts.push_back(std::move(element));
    m_pCurrentElement = added;
    if (added->m_nTypeCode == kTypePicture)
        MoveToBack(added);
    return added;
}

int CHMIFrame::IndexOf(const CGraphBase* element) const {
    for (std::size_t i = 0; i < m_Parts.size(); ++i) {
        if (m_Parts[i].get() == element)
            return static_cast<int>(i);
    }
    return -1;
}

CGraphBase* CHMIFrame::InsertElement(int position, std::unique_ptr<CGraphBase> element) {
    CGraphBase* inserted = element.get();
    const auto at = std::clamp(position, 0, static_cast<int>(m_Parts.size()));
    m_Parts.insert(m_Parts.begin() + at, std::move(element));
    m_pCurrentElement = inserted;
    return inserted;
}

std::unique_ptr<CGraphBase> CHMIFrame::TakeElement(int position) {
    if (position < 0 || position >= static_cast<int>(m_Parts.size()))
        return nullptr;
    const auto index = static_cast<std::size_t>(position);
    if (index > 0)
        m_pCurrentElement = m_Parts[index - 1].get();
    else if (index + 1 < m_Parts.size())
        m_pCurrentElement = m_Parts[index + 1].get();
    else
        m_pCurrentElement = nullptr;
    std::unique_ptr<CGraphBase> taken = std::move(m_Parts[index]);
    m_Parts.erase(m_Parts.begin() + position);
    return taken;
}

void CHMIFrame::MoveToBack(CGraphBase* element) {
    const int index = IndexOf(element);
    if (m_Parts.size() < 2 || index <= 0)
        return;
    std::rotate(m_Parts.begin(), m_Parts.begin() + index, m_Parts.begin() + index + 1);
}

CGraphBase* CHMIFrame::ElementAt(QPoint point) const {
    for (auto it = m_Parts.rbegin(); it != m_Parts.rend(); ++it) {
        if ((*it)->HitTest(point))
            return it->get();
    }
    return nullptr;
}

std::uint8_t CHMIFrame::CountTrends() const {
    return static_cast<std::uint8_t>(
        std::count_if(m_Parts.begin(), m_Parts.end(),
                      [](const auto& part) { return part->m_nTypeCode == kTypeTrend; }));
}

std::unique_ptr<CHMIFrame> CHMIFrame::CloneFrame() const {
    auto copy = std::make_unique<CHMIFrame>();
    copy->m_strDesc = m_strDesc;
    for (const auto& part : m_Parts)
        copy->AddElement(part->Clone());
    return copy;
}

bool CHMIFrame::SaveXml(CMarkup& xml, AnnotationFlags annotations) const {
    xml.EnterElement();
    xml.AppendElement(u"Frame");
    xml.SetAttribute(u"Name", m_strName);
    xml.SetAttribute(u"PrevID", m_nPrevID);
    xml.SetAttribute(u"ID", m_nID);
    xml.SetAttribute(u"NextID", m_nNextID);
    xml.SetAttribute(u"Desc", m_strDesc);
    xml.SetAttribute(u"ListOrder", m_nListOrder);
    xml.SetAttribute(u"BkColor", ColourText(m_nBkColor));
    xml.EnterElement();
    xml.AppendElement(u"Parts");
    for (std::size_t layer = 0; layer < m_Parts.size(); ++layer) {
        const CGraphBase& part = *m_Parts[layer];
        xml.EnterElement();
        xml.AppendElement(u"Part");
        part.SaveXml(xml, part.AnnotationText(annotations, static_cast<int>(layer)));
        xml.LeaveElement();
    }
    xml.LeaveElement();
    xml.LeaveElement();
    return true;
}

bool CHMIFrame::LoadXml(CMarkup& xml, const CPLCEntity* plc, qsizetype& pictureBytesLeft) {
    xml.EnterElement();
    m_strName = xml.Attribute(u"Name");
    ReadInt(xml.Attribute(u"PrevID"), m_nPrevID);
    ReadUInt16(xml.Attribute(u"ID"), m_nID);
    ReadInt(xml.Attribute(u"NextID"), m_nNextID);
    m_strDesc = xml.Attribute(u"Desc");
    ReadUInt16(xml.Attribute(u"ListOrder"), m_nListOrder);
    ReadColour(xml.Attribute(u"BkColor"), m_nBkColor);
    bool ok = xml.NextChild(u"Parts");
    if (ok) {
        xml.EnterElement();
        while (ok && xml.NextChild(u"Part")) {
            const int typeCode = ParseDecimal32(xml.ChildAttribute(u"ID"));
            std::unique_ptr<CGraphBase> element = CGraphBase::CreateByType(typeCode, plc);
            if (!element) {
                ok = false;
                break;
            }
            xml.EnterElement();
            const bool read =
                element->LoadXml(xml, plc) && TakePictureBytes(*element, pictureBytesLeft);
            xml.LeaveElement();
            if (read)
                AddElement(std::move(element));
        }
        xml.LeaveElement();
    }
    xml.LeaveElement();
    return ok;
}

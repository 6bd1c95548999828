#include "GEIndicator.h"

#include "Artwork.h"
#include "Markup.h"
#include "XmlValue.h"

#include <QPainter>

CGEIndicator::CGEIndicator(const CPLCEntity* plc)
    : CGraphBase(kTypeIndicator), m_Wire(NewAddress(PLC_BIT, PLC_READ, plc)) {}

int CGEIndicator::LampBitmapId() const {
    int id = 0;
    if (m_nShape == 0)
        id = m_bDouble ? 144 : 244;
    else if (m_nShape == 1)
        id = m_bDouble ? 147 : 247;
    else
        return 0;
    if ((m_nLogic == 0 && m_bReverse) || (m_nLogic != 0 && !m_bReverse))
        ++id;
    return id;
}

void CGEIndicator::Draw(QPainter& painter) {
    const QImage lamp = Artwork(LampBitmapId());
    if (!lamp.isNull())
        painter.drawImage(GetRect(), lamp);
    DrawLabel(painter);
}

void CGEIndicator::DrawLabel(QPainter& painter) {
    DrawAnnotation(painter, &m_Wire);
}

std::unique_ptr<CGraphBase> CGEIndicator::Clone() const {
    // The lamp colours of the copy stay at their defaults.
    auto copy = std::make_unique<CGEIndicator>(nullptr);
    copy->CopyFrom(*this);
    copy->m_nLogic = m_nLogic;
    copy->m_nShape = m_nShape;
    copy->m_Wire = m_Wire;
    return copy;
}

void CGEIndicator::RebindAddresses(const CPLCEntity* plc) {
    RebindAddress(m_Wire, plc);
}

void CGEIndicator::SetWireType(const CPLCRegType* type, int index) {
    m_Wire.SetRegType(type, index);
}

bool CGEIndicator::SaveXml(CMarkup& xml) const {
    CGraphBase::SaveXml(xml);
    xml.AppendChild(u"Attrib");
    xml.SetChildAttribute(u"Double", BoolText(m_bDouble));
    xml.SetChildAttribute(u"Reverse", BoolText(m_bReverse));
    xml.SetChildAttribute(u"ONColor", ColourText(m_nONColor));
    xml.SetChildAttribute(u"OFFColor", ColourText(m_nOFFColor));
    xml.AppendChild(u"Wire");
    m_Wire.SaveXml(xml);
    xml.AppendChild(u"Show");
    xml.SetChildAttribute(u"Shape", m_nShape == 0 ? u"Round" : u"Square");
    xml.SetChildAttribute(u"Logic", m_nLogic == 0 ? u"Positive" : u"Negative");
    return true;
}

bool CGEIndicator::LoadXml(CMarkup& xml, const CPLCEntity* plc) {
    LoadCommon(xml);
    if (xml.NextChild(u"Attrib")) {
        ReadBool(xml.ChildAttribute(u"Double"), m_bDouble);
        ReadBool(xml.ChildAttribute(u"Reverse"), m_bReverse);
        ReadColour(xml.ChildAttribute(u"ONColor"), m_nONColor);
        ReadColour(xml.ChildAttribute(u"OFFColor"), m_nOFFColor);
    }
    if (xml.NextChild(u"Wire"))
        m_Wire.LoadXml(xml, PLCOrNone(plc));
    if (xml.NextChild(u"Show")) {
        m_nShape = xml.ChildAttribute(u"Shape") == u"Round" ? 0 : 1;
        m_nLogic = xml.ChildAttribute(u"Logic") == u"Positive" ? 0 : 1;
    }
    return true;
}

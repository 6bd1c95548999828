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

void CGEIndicator::Draw(QPainter& painter) const {
    const QImage lamp = Artwork(LampBitmapId());
    if (!lamp.isNull())
        painter.drawImage(GetRect(), lamp);
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

bool CGEIndicator::SaveXml(CMarkup& xml, const QString& labelName) const {
    CGraphBase::SaveXml(xml, labelName);
    SaveAttrib(xml);
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
    if (LoadAttrib(xml)) {
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

std::unique_ptr<CGraphBase> CGEIndicator::ExactCopy() const {
    return std::unique_ptr<CGraphBase>(new CGEIndicator(*this));
}

#include "GraphBase.h"

#include "GEBar.h"
#include "GEDynamicTxt.h"
#include "GEFuncKey.h"
#include "GEIndicator.h"
#include "GEPicture.h"
#include "GERegister.h"
#include "GEStaticTxt.h"
#include "GETrend.h"
#include "Markup.h"
#include "ModelAddress.h"
#include "TextFont.h"
#include "XmlValue.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <array>

QString ElementKindName(int typeCode) {
    static const std::array<const char*, 9> names{"",    "StaticText",  "Register",
                                                  "Led", "FunctionKey", "Picture",
                                                  "Bar", "Trend",       "DynamicText"};
    if (typeCode < 1 || typeCode > 8)
        return {};
    return QString::fromLatin1(names[static_cast<std::size_t>(typeCode)]);
}

QString ElementKindTitle(int typeCode) {
    static const std::array<const char*, 10> names{"无",       "静态文字", "寄存器", "指示灯",
                                                   "功能键",   "静态图片", "棒图",   "趋势图",
                                                   "动态文字", "矩形"};
    if (typeCode < 0 || typeCode >= static_cast<int>(names.size()))
        return {};
    return QString::fromUtf8(names[static_cast<std::size_t>(typeCode)]);
}

QColor ColorFromRef(std::uint32_t colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

CGraphBase::CGraphBase(int typeCode) : m_nTypeCode(typeCode) {}

std::unique_ptr<CGraphBase> CGraphBase::CreateByType(int typeCode, const CPLCEntity* plc) {
    switch (typeCode) {
    case kTypeStaticText:
        return std::make_unique<CGEStaticTxt>();
    case kTypeRegister:
        return std::make_unique<CGERegister>(plc);
    case kTypeIndicator:
        return std::make_unique<CGEIndicator>(plc);
    case kTypeFunctionKey:
        return std::make_unique<CGEFuncKey>(plc);
    case kTypePicture:
        return std::make_unique<CGEPicture>();
    case kTypeBar:
        return std::make_unique<CGEBar>(plc);
    case kTypeTrend:
        return std::make_unique<CGETrend>(plc);
    case kTypeDynamicText:
        return std::make_unique<CGEDynamicTxt>(plc);
    default:
        return nullptr;
    }
}

namespace {

// Opens `memento` with its `Part` as the main position; the type code it names, 0 when the
// text holds no `Part`.
int OpenMemento(CMarkup& xml, const QString& memento) {
    if (!xml.SetDocumentText(memento) || !xml.NextElement(u"Part"))
        return 0;
    return ParseDecimal32(xml.Attribute(u"ID"));
}

} // namespace

QString CGraphBase::Memento() const {
    CMarkup xml;
    xml.AppendElement(u"Part");
    SaveXml(xml, {});
    return xml.GetDocumentText();
}

std::unique_ptr<CGraphBase> CGraphBase::FromMemento(const QString& memento, const CPLCEntity* plc) {
    CMarkup xml;
    std::unique_ptr<CGraphBase> element = CreateByType(OpenMemento(xml, memento), plc);
    if (!element || !element->LoadState(xml, plc))
        return nullptr;
    return element;
}

bool CGraphBase::RestoreMemento(const QString& memento, const CPLCEntity* plc) {
    CMarkup xml;
    if (OpenMemento(xml, memento) != m_nTypeCode)
        return false;
    // Tried on a new element first, so that a memento that does not load leaves this one as
    // it is.
    if (!CreateByType(m_nTypeCode, plc)->LoadState(xml, plc))
        return false;
    xml.Rewind();
    xml.NextElement(u"Part");
    return LoadState(xml, plc);
}

bool CGraphBase::LoadState(CMarkup& xml, const CPLCEntity* plc) {
    if (!LoadXml(xml, plc))
        return false;
    // Reading a file derives some sizes anew (a static text's follows its text); a memento
    // gives back the rectangle it recorded.
    xml.Rewind();
    xml.NextElement(u"Part");
    if (xml.NextChild(u"Position"))
        ReadRectangle(xml);
    return true;
}

void CGraphBase::Draw(QPainter&) const {}

const CPLCAddress* CGraphBase::KindMainAddress() const {
    return nullptr;
}

void CGraphBase::RebindAddresses(const CPLCEntity* plc) {
    if (CPLCAddress* address = MainAddress())
        RebindAddress(*address, plc);
}

void CGraphBase::DrawTracker(QPainter& painter) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen outline(ColorFromRef(0x00C0C0C0), 1, Qt::DotLine);
    painter.setPen(outline);
    painter.setBrush(Qt::NoBrush);
    const int right = m_nLeft + m_nWidth - 1;
    const int bottom = m_nTop + m_nHeight - 1;
    const QPoint corners[] = {
        {m_nLeft, m_nTop}, {right, m_nTop}, {right, bottom}, {m_nLeft, bottom}, {m_nLeft, m_nTop}};
    painter.drawPolyline(corners, 5);

    painter.setPen(QPen(Qt::black, 1));
    for (int handle = 8; handle >= 1; --handle) {
        const QPoint p = HandlePoint(handle);
        painter.drawEllipse(QRect(p.x() - 3, p.y() - 3, 6, 6));
    }
    painter.restore();
}

bool CGraphBase::HitTest(QPoint point) const {
    return GetRect().adjusted(-1, -1, 1, 1).contains(point);
}

void CGraphBase::MoveBy(int dx, int dy) {
    if (m_nLeft + dx < 0)
        dx = 0;
    if (m_nTop + dy < 0)
        dy = 0;
    int left = m_nLeft + dx;
    int top = m_nTop + dy;
    if (top + m_nHeight > kPanelHeight)
        top = kPanelHeight - m_nHeight;
    if (left + m_nWidth > kPanelWidth)
        left = kPanelWidth - m_nWidth;
    m_nLeft = left;
    m_nTop = top;
}

void CGraphBase::CopyFrom(const CGraphBase& other) {
    m_nLeft = other.m_nLeft;
    m_nTop = other.m_nTop;
    m_nWidth = other.m_nWidth;
    m_nHeight = other.m_nHeight;
    m_bDouble = other.m_bDouble;
    m_bReverse = other.m_bReverse;
    m_nSameColor = other.m_nSameColor;
    m_nTypeCode = other.m_nTypeCode;
}

QRect CGraphBase::GetRect() const {
    // Right and bottom are exclusive, as the element's own coordinates are.
    const int left = std::min(m_nLeft, m_nLeft + m_nWidth);
    const int top = std::min(m_nTop, m_nTop + m_nHeight);
    return QRect(left, top, std::abs(m_nWidth), std::abs(m_nHeight));
}

QRect CGraphBase::ShiftedIntoPanel(QRect rect, int width, int height) {
    if (rect.left() < 0)
        rect.moveLeft(0);
    if (rect.left() + rect.width() > width)
        rect.moveLeft(width - rect.width());
    if (rect.top() < 0)
        rect.moveTop(0);
    if (rect.top() + rect.height() > height)
        rect.moveTop(height - rect.height());
    return rect;
}

void CGraphBase::SetRect(const QRect& rect) {
    SetRect(rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height());
}

void CGraphBase::SetRect(int left, int top, int right, int bottom) {
    m_nLeft = left;
    m_nTop = top;
    m_nWidth = right - left;
    m_nHeight = bottom - top;
    if (m_nLeft < 1)
        m_nLeft = 0;
    if (m_nLeft >= kPanelWidth)
        m_nLeft = kPanelWidth - m_nWidth;
    if (m_nTop < 1)
        m_nTop = 0;
    if (m_nTop >= kPanelHeight)
        m_nTop = kPanelHeight - m_nHeight;
    if (m_nWidth >= kPanelWidth)
        m_nWidth = kPanelWidth;
    if (m_nHeight >= kPanelHeight)
        m_nHeight = kPanelHeight;
}

void CGraphBase::SetDouble(bool on, int panelWidth, int panelHeight) {
    int width = m_nWidth;
    int height = m_nHeight;
    if (!m_bDouble && on) {
        width *= 2;
        height *= 2;
    } else if (m_bDouble && !on) {
        width /= 2;
        height /= 2;
    }
    SetRect(ShiftedIntoPanel(QRect(m_nLeft, m_nTop, width, height), panelWidth, panelHeight));
    m_bDouble = on;
}

QPoint CGraphBase::HandlePoint(int handle) const {
    const int right = m_nLeft + m_nWidth;
    const int bottom = m_nTop + m_nHeight;
    const int midX = m_nLeft + m_nWidth / 2;
    const int midY = m_nTop + m_nHeight / 2;
    switch (handle) {
    case 1:
        return {m_nLeft, m_nTop};
    case 2:
        return {midX, m_nTop};
    case 3:
        return {right, m_nTop};
    case 4:
        return {right, midY};
    case 5:
        return {right, bottom};
    case 6:
        return {midX, bottom};
    case 7:
        return {m_nLeft, bottom};
    default:
        return {m_nLeft, midY};
    }
}

bool CGraphBase::LoadXml(CMarkup& xml, const CPLCEntity*) {
    LoadCommon(xml);
    return true;
}

bool CGraphBase::SaveXml(CMarkup& xml, const QString& labelName) const {
    SavePartHead(xml, labelName);
    SavePosition(xml);
    return true;
}

void CGraphBase::SavePartHead(CMarkup& xml, const QString& labelName) const {
    xml.SetAttribute(u"Type", ElementKindName(m_nTypeCode));
    xml.SetAttribute(u"ID", m_nTypeCode);
    xml.SetAttribute(u"LabelName", labelName);
}

void CGraphBase::SavePosition(CMarkup& xml) const {
    xml.AppendChild(u"Position");
    xml.SetChildAttribute(u"Left", m_nLeft);
    xml.SetChildAttribute(u"Top", m_nTop);
    xml.SetChildAttribute(u"Width", m_nWidth);
    xml.SetChildAttribute(u"Height", m_nHeight);
    xml.SetChildAttribute(u"SameColor", m_nSameColor);
}

namespace {

// Coordinates far outside the panel are damage; bounding them keeps every sum of position and
// size within 32 bits.
void ReadCoordinate(const QString& text, std::int32_t& value) {
    constexpr std::int32_t bound = 100000;
    ReadInt(text, value);
    value = std::clamp(value, -bound, bound);
}

} // namespace

void CGraphBase::SaveAttrib(CMarkup& xml) const {
    xml.AppendChild(u"Attrib");
    xml.SetChildAttribute(u"Double", BoolText(m_bDouble));
    xml.SetChildAttribute(u"Reverse", BoolText(m_bReverse));
}

bool CGraphBase::LoadAttrib(CMarkup& xml) {
    if (!xml.NextChild(u"Attrib"))
        return false;
    ReadBool(xml.ChildAttribute(u"Double"), m_bDouble);
    ReadBool(xml.ChildAttribute(u"Reverse"), m_bReverse);
    return true;
}

void CGraphBase::SaveColours(CMarkup& xml, std::uint32_t foreColor, std::uint32_t bkColor) {
    xml.SetChildAttribute(u"ForeColor", ColourText(foreColor));
    xml.SetChildAttribute(u"BkColor", ColourText(bkColor));
}

void CGraphBase::LoadCommon(CMarkup& xml) {
    // The type code comes from the class; the attribute only chose it. LabelName follows from
    // the element and the annotation switches, so it is not read.
    if (!xml.NextChild(u"Position"))
        return;
    ReadRectangle(xml);
    m_nSameColor = IntOr(xml.ChildAttribute(u"SameColor"), 0);
}

void CGraphBase::ReadRectangle(const CMarkup& xml) {
    ReadCoordinate(xml.ChildAttribute(u"Left"), m_nLeft);
    ReadCoordinate(xml.ChildAttribute(u"Top"), m_nTop);
    ReadCoordinate(xml.ChildAttribute(u"Width"), m_nWidth);
    ReadCoordinate(xml.ChildAttribute(u"Height"), m_nHeight);
}

QString CGraphBase::AnnotationText(AnnotationFlags flags, int layer) const {
    if (m_nTypeCode == kTypePicture)
        return {};
    const CPLCAddress* address = flags.address ? MainAddress() : nullptr;
    if (address && flags.layer)
        return QStringLiteral("%1%2 (%3)")
            .arg(address->GetTypeName())
            .arg(address->GetAddress())
            .arg(layer);
    if (address)
        return QStringLiteral("%1%2").arg(address->GetTypeName()).arg(address->GetAddress());
    if (flags.layer)
        return QStringLiteral("(%1)").arg(layer);
    return {};
}

void CGraphBase::DrawLabel(QPainter& painter, AnnotationFlags flags, int layer) const {
    const QString text = AnnotationText(flags, layer);
    if (text.isEmpty())
        return;
    painter.save();
    const QFont font = AnnotationFont();
    painter.setFont(font);
    painter.setPen(ColorFromRef(0x000000FF));
    painter.setBackgroundMode(Qt::TransparentMode);
    const QFontMetrics metrics(font, painter.device());
    painter.drawText(QPoint(m_nLeft, m_nTop - metrics.height() + metrics.ascent()), text);
    painter.restore();
}

#include "GEFuncKey.h"

#include "Artwork.h"
#include "Keypad.h"
#include "Markup.h"
#include "XmlValue.h"

#include <QPainter>

#include <array>

namespace {

// The designer's key list, by ComboBoxID.
constexpr std::array<std::uint8_t, Key::kCount> kKeyList{
    Key::kEsc, Key::kLeft, Key::kRight, Key::kUp, Key::kDown,      Key::kSet, Key::kEnt,
    Key::kAlm, Key::k0,    Key::k1,     Key::k2,  Key::k3,         Key::k4,   Key::k5,
    Key::k6,   Key::k7,    Key::k8,     Key::k9,  Key::kPlusMinus, Key::kClr};

} // namespace

QString KeyName(int comboBoxId) {
    if (comboBoxId < 0 || comboBoxId >= Key::kCount)
        return {};
    return QString::fromUtf16(KeypadKeyOf(kKeyList[static_cast<std::size_t>(comboBoxId)])->label);
}

int KeyCode(int comboBoxId) {
    if (comboBoxId < 0 || comboBoxId >= Key::kCount)
        return 0;
    return kKeyList[static_cast<std::size_t>(comboBoxId)];
}

CGEFuncKey::CGEFuncKey(const CPLCEntity* plc)
    : CGraphBase(kTypeFunctionKey), m_SubWire(plc), m_SubReg(plc), m_SubRecipe(plc),
      m_SubMulStatus(plc) {}

const CPLCAddress* CGEFuncKey::KindMainAddress() const {
    switch (m_nType) {
    case kActionSetWire:
        return &m_SubWire.m_Wire;
    case kActionSetRegister:
        return &m_SubReg.m_Reg;
    case kActionRecipe:
        return &m_SubRecipe.m_Reg;
    case kActionMultiSet:
        return &m_SubMulStatus.m_Reg;
    default:
        return nullptr;
    }
}

// A key outside the key table shows the picture of key code 0, the code the compiler writes
// for it.
int CGEFuncKey::KeyBitmapId() const {
    return (m_bDouble ? 3000 : 2000) + KeyCode(m_nComboBoxID);
}

int CGEFuncKey::HandBitmapId() const {
    return m_bDouble ? 3020 : 2020;
}

void CGEFuncKey::Draw(QPainter& painter) const {
    const QRect e = GetRect();
    const QImage key = Artwork(KeyBitmapId());
    const QImage hand = m_bHand ? Artwork(HandBitmapId()) : QImage();
    if (!key.isNull() && (!m_bHand || !hand.isNull())) {
        if (m_bHand) {
            const int split = e.width() / 2;
            const int handWidth = e.width() - split;
            painter.drawImage(QRect(e.left() + handWidth, e.top(), split, e.height()), key);
            painter.drawImage(QRect(e.left(), e.top(), handWidth, e.height()), hand);
        } else {
            painter.drawImage(e, key);
        }
        if (m_bHide) {
            painter.save();
            painter.setRenderHint(QPainter::Antialiasing, false);
            painter.setPen(QPen(ColorFromRef(0x000000FF), 2, Qt::DotLine));
            painter.setBrush(Qt::NoBrush);
            const int right = e.left() + e.width();
            const int bottom = e.top() + e.height();
            painter.drawLine(e.left() + 5, e.top() + 5, right - 5, bottom - 5);
            painter.drawLine(right - 5, e.top() + 5, e.left() + 5, bottom - 5);
            painter.drawRect(e);
            painter.restore();
        }
    }
}

std::unique_ptr<CGraphBase> CGEFuncKey::Clone() const {
    auto copy = std::make_unique<CGEFuncKey>(nullptr);
    copy->CopyFrom(*this);
    copy->m_nType = m_nType;
    copy->m_nComboBoxID = m_nComboBoxID;
    copy->m_bHand = m_bHand;
    copy->m_bHide = m_bHide;
    copy->m_bVisible = m_bVisible;
    copy->m_byGrade = m_byGrade;
    copy->m_SubWire = m_SubWire;
    copy->m_SubJmp = m_SubJmp;
    copy->m_SubReg = m_SubReg;
    copy->m_SubRecipe = m_SubRecipe;
    copy->m_SubMulStatus = m_SubMulStatus;
    return copy;
}

void CGEFuncKey::RebindAddresses(const CPLCEntity* plc) {
    RebindAddress(m_SubWire.m_Wire, plc);
    RebindAddress(m_SubReg.m_Reg, plc);
    RebindAddress(m_SubRecipe.m_Reg, plc);
    RebindAddress(m_SubMulStatus.m_Reg, plc);
}

bool CGEFuncKey::SaveXml(CMarkup& xml, const QString& labelName) const {
    SavePartHead(xml, labelName);
    xml.SetAttribute(u"ComboBoxID", m_nComboBoxID);
    xml.SetAttribute(u"KeyShape", KeyName(m_nComboBoxID));
    SavePosition(xml);
    SaveAttrib(xml);
    xml.SetChildAttribute(u"Hand", BoolText(m_bHand));
    xml.SetChildAttribute(u"Hide", BoolText(m_bHide));
    xml.SetChildAttribute(u"Visible", BoolText(m_bVisible));
    xml.SetChildAttribute(u"Grade", m_byGrade);
    xml.AppendChild(u"Func");
    xml.SetChildAttribute(u"Type", m_nType);
    xml.SetChildAttribute(
        u"Desc",
        ChoiceName({u"SetWire", u"SetRegister", u"JumpFrame", u"Recipe", u"MultiSet"}, m_nType));
    xml.EnterElement();
    switch (m_nType) {
    case kActionSetWire:
        m_SubWire.SaveXml(xml);
        break;
    case kActionSetRegister:
        m_SubReg.SaveXml(xml);
        break;
    case kActionJumpFrame:
        m_SubJmp.SaveXml(xml);
        break;
    case kActionRecipe:
        m_SubRecipe.SaveXml(xml);
        break;
    case kActionMultiSet:
        m_SubMulStatus.SaveXml(xml);
        break;
    default:
        break;
    }
    xml.LeaveElement();
    return true;
}

bool CGEFuncKey::LoadXml(CMarkup& xml, const CPLCEntity* plc) {
    LoadCommon(xml);
    ReadInt(xml.Attribute(u"ComboBoxID"), m_nComboBoxID);
    if (LoadAttrib(xml)) {
        ReadBool(xml.ChildAttribute(u"Hand"), m_bHand);
        ReadBool(xml.ChildAttribute(u"Hide"), m_bHide);
        ReadBool(xml.ChildAttribute(u"Visible"), m_bVisible);
        ReadUInt8(xml.ChildAttribute(u"Grade"), m_byGrade);
    }
    if (!xml.NextChild(u"Func"))
        return true;
    ReadInt(xml.ChildAttribute(u"Type"), m_nType);
    xml.EnterElement();
    switch (m_nType) {
    case kActionSetWire:
        if (xml.NextChild(u"SetWire"))
            m_SubWire.LoadXml(xml, plc);
        break;
    case kActionSetRegister:
        if (xml.NextChild(u"SetRegister"))
            m_SubReg.LoadXml(xml, plc);
        break;
    case kActionJumpFrame:
        if (xml.NextChild(u"JumpFrame"))
            m_SubJmp.LoadXml(xml);
        break;
    case kActionRecipe:
        if (xml.NextChild(u"Recipe"))
            m_SubRecipe.LoadXml(xml, plc);
        break;
    case kActionMultiSet:
        if (xml.NextChild(u"MultiStatusSet"))
            m_SubMulStatus.LoadXml(xml, plc);
        break;
    default:
        // An action type the key does not know falls back to the first action.
        m_nType = kActionSetWire;
        break;
    }
    xml.LeaveElement();
    return true;
}

std::unique_ptr<CGraphBase> CGEFuncKey::ExactCopy() const {
    return std::unique_ptr<CGraphBase>(new CGEFuncKey(*this));
}

#include "PLCAddress.h"

#include "Markup.h"
#include "PLCNumber.h"

#include <algorithm>

namespace {

std::array<std::uint8_t, 2> BigEndian16(std::uint16_t value) {
    return {static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value & 0xFF)};
}

// New and re-bound addresses take the panel's own station when the PLC asks for it.
bool UsesDisplayStation(const CPLCEntity& plc) {
    return plc.GetDisplay().visible;
}

} // namespace

CPLCAddress::CPLCAddress(int kind, int mode, const CPLCEntity& plc) : m_nKind(kind), m_nMode(mode) {
    const std::vector<const CPLCRegType*> types = plc.GetTypeList(kind, mode);
    if (types.empty())
        return;
    const CPLCRegType& type = *types.front();
    m_pRegType = &type;
    m_nStation = UsesDisplayStation(plc) ? plc.GetDisplayStation() : plc.GetStation().defaultValue;
    m_nAddress = type.GetAddr().minValue;
    if (type.GetSubAddr().visible)
        m_nSubAddr = static_cast<std::uint8_t>(type.GetSubAddr().minValue);
    if (type.GetShiftAddr().visible)
        m_nShift = static_cast<std::uint8_t>(type.GetShiftAddr().minValue);
    // A RegNum element without values offers no count; 1 is the only sound one then.
    if (type.HasRegNum() && !type.GetRegNumList().empty())
        m_nRegNum = type.GetRegNumList().front();
}

bool CPLCAddress::LoadXml(const CMarkup& xml, const CPLCEntity& plc) {
    if (xml.ChildPosition() == 0)
        return false;
    ReadNumber(xml.ChildAttribute(u"Station"), 10, m_nStation);
    const QString mode = xml.ChildAttribute(u"EnumMode");
    if (!mode.isEmpty())
        m_nMode = ParseInt(mode);
    // The tag wins over EnumReg, and the type is looked up among the types of the tag's kind,
    // so a word address is never bound to a bit type.
    const QString tag = xml.ChildTagName();
    m_nKind = tag == u"Wire" ? PLC_BIT : (tag == u"Reg" ? PLC_WORD : PLC_ALARM);
    const QString typeName = xml.ChildAttribute(u"RegType");
    if (!typeName.isEmpty()) {
        const std::vector<const CPLCRegType*> types = plc.GetTypeList(m_nKind, m_nMode);
        const auto match = std::find_if(types.begin(), types.end(), [&](const CPLCRegType* type) {
            return type->GetTypeName() == typeName;
        });
        if (match != types.end()) {
            m_pRegType = *match;
            m_strLostTypeName.clear();
        } else {
            m_strLostTypeName = typeName;
        }
    }
    ReadNumber(xml.ChildAttribute(u"Address"), 10, m_nAddress);
    ReadNumber(xml.ChildAttribute(u"SubAddr"), 10, m_nSubAddr);
    const QString index = xml.ChildAttribute(u"Index");
    if (!index.isEmpty())
        m_nIndex = ParseInt(index);
    if (m_nKind == PLC_WORD)
        ReadNumber(xml.ChildAttribute(u"RegNum"), 10, m_nRegNum);
    else
        ReadNumber(xml.ChildAttribute(u"ShiftAddr"), 10, m_nShift);
    return true;
}

bool CPLCAddress::SaveXml(CMarkup& xml) const {
    if (xml.ChildPosition() == 0)
        return false;
    const bool wordType = m_pRegType && m_pRegType->GetKind() == PLC_WORD;
    return xml.SetChildAttribute(u"Station", m_nStation) &&
           xml.SetChildAttribute(u"EnumReg", m_nKind) &&
           xml.SetChildAttribute(u"EnumMode", m_nMode) &&
           xml.SetChildAttribute(u"RegType", GetTypeName()) &&
           xml.SetChildAttribute(u"Address", m_nAddress) &&
           xml.SetChildAttribute(u"SubAddr", m_nSubAddr) &&
           xml.SetChildAttribute(u"Index", m_nIndex) &&
           (wordType ? xml.SetChildAttribute(u"RegNum", m_nRegNum)
                     : xml.SetChildAttribute(u"ShiftAddr", m_nShift));
}

void CPLCAddress::ReBind(const CPLCEntity& plc) {
    const std::vector<const CPLCRegType*> types = plc.GetTypeList(m_nKind, m_nMode);
    if (std::find(types.begin(), types.end(), m_pRegType) == types.end()) {
        if (m_pRegType && m_strLostTypeName.isEmpty())
            m_strLostTypeName = m_pRegType->GetTypeName();
        m_nIndex = std::max(0, std::min(m_nIndex, static_cast<int>(types.size()) - 1));
        m_pRegType = types.empty() ? nullptr : types[static_cast<std::size_t>(m_nIndex)];
    }
    if (UsesDisplayStation(plc))
        m_nStation = plc.GetDisplayStation();
}

void CPLCAddress::SetRegType(const CPLCRegType* type, int index) {
    m_pRegType = type;
    m_nIndex = index;
    m_strLostTypeName.clear();
}

QString CPLCAddress::GetTypeName() const {
    return m_pRegType ? m_pRegType->GetTypeName() : QString();
}

PLCAddressCode CPLCAddress::Encode() const {
    PLCAddressCode code;
    code.station = m_nStation;
    code.address = BigEndian16(m_nAddress);
    code.subAddr = m_nSubAddr;
    code.shift = m_nShift;
    if (m_pRegType) {
        code.typeCode = m_pRegType->GetTypeValue();
        code.unitCount = m_pRegType->GetBitWidth() * m_nRegNum;
        code.local = m_pRegType->IsLocal();
    }
    return code;
}

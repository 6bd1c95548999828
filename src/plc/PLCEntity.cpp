#include "PLCEntity.h"

#include "Markup.h"
#include "PLCNumber.h"

#include <algorithm>
#include <initializer_list>

namespace {

// An empty text leaves every value at its default: catalog attributes are all optional.

void ReadBool(const QString& text, bool& value) {
    if (!text.isEmpty())
        value = text.compare(u"true", Qt::CaseInsensitive) == 0;
}

// The position of `text` among `names`; a text that matches none keeps the value.
void ReadName(const QString& text, std::initializer_list<QStringView> names, int& value) {
    int index = 0;
    for (QStringView name : names) {
        if (text == name) {
            value = index;
            return;
        }
        ++index;
    }
}

void ReadDataFormat(const QString& text, int& value) {
    ReadName(text.toUpper(), {u"OCT", u"DEC", u"HEX", u"DEC_SIGN"}, value);
}

int BaseOf(int dataFormat) {
    if (dataFormat == PLC_OCT)
        return 8;
    return dataFormat == PLC_HEX ? 16 : 10;
}

std::vector<std::uint8_t> ParseByteList(const QString& text) {
    std::vector<std::uint8_t> values;
    for (const QString& item : text.split(u'|', Qt::SkipEmptyParts))
        values.push_back(static_cast<std::uint8_t>(ParseNumber(item)));
    return values;
}

// Station and Display: the block's own DataFormat decides how its numbers are written.
void ReadValueBlock(const CMarkup& xml, PLCValueBlock& block) {
    ReadBool(xml.ChildAttribute(u"Visible"), block.visible);
    ReadDataFormat(xml.ChildAttribute(u"DataFormat"), block.dataFormat);
    const int base = BaseOf(block.dataFormat);
    ReadNumber(xml.ChildAttribute(u"MinValue"), base, block.minValue);
    ReadNumber(xml.ChildAttribute(u"MaxValue"), base, block.maxValue);
    ReadNumber(xml.ChildAttribute(u"DefaultValue"), base, block.defaultValue);
}

// Addr has 16-bit bounds, SubAddr and ShiftAddr byte bounds.
void ReadAddrBlock(const CMarkup& xml, PLCAddrBlock& block, bool wide) {
    ReadBool(xml.ChildAttribute(u"Visible"), block.visible);
    ReadDataFormat(xml.ChildAttribute(u"DataFormat"), block.dataFormat);
    const int base = BaseOf(block.dataFormat);
    const auto readBound = [&](QStringView name, std::uint16_t& bound) {
        const QString text = xml.ChildAttribute(name);
        if (text.isEmpty())
            return;
        const std::int64_t value = ParseNumber(text, base);
        bound = wide ? static_cast<std::uint16_t>(value) : static_cast<std::uint8_t>(value);
    };
    readBound(u"MinValue", block.minValue);
    readBound(u"MaxValue", block.maxValue);
    const QString express = xml.ChildAttribute(u"Express");
    if (!express.isEmpty())
        block.express = express;
    ReadNumber(xml.ChildAttribute(u"IncDelta"), 10, block.incDelta);
}

bool Offers(const CPLCRegType& type, int mode) {
    return mode == PLC_ANY || type.GetOptMode() == mode || type.GetOptMode() == PLC_READWRITE;
}

void AppendOffered(const std::vector<CPLCRegType>& types, int mode,
                   std::vector<const CPLCRegType*>& list) {
    for (const CPLCRegType& type : types) {
        if (Offers(type, mode))
            list.push_back(&type);
    }
}

} // namespace

CPLCRegType::CPLCRegType(int kind) : m_nKind(kind) {}

void CPLCRegType::LoadXml(CMarkup& xml, bool local) {
    m_strTypeName = xml.ChildAttribute(u"TypeName");
    const QString typeValue = xml.ChildAttribute(u"TypeValue");
    if (!typeValue.isEmpty())
        m_nTypeValue = ParseTypeValue(typeValue);
    ReadNumber(xml.ChildAttribute(u"BitWidth"), 10, m_nBitWidth);
    if (m_nBitWidth == 0)
        m_nBitWidth = 1;
    ReadNumber(xml.ChildAttribute(u"AddrInc"), 10, m_nAddrInc);
    ReadName(xml.ChildAttribute(u"OptMode").toUpper(), {u"OM_READ", u"OM_WRITE", u"OM_READWRITE"},
             m_nOptMode);
    m_bLocal = local;

    xml.EnterElement();
    if (xml.NextChild(u"Addr"))
        ReadAddrBlock(xml, m_addr, true);
    if (xml.NextChild(u"SubAddr"))
        ReadAddrBlock(xml, m_subAddr, false);
    if (m_nKind == PLC_WORD) {
        if (xml.NextChild(u"RegNum")) {
            m_bRegNum = true;
            m_regNumList = ParseByteList(xml.ChildAttribute(u"RegNumList"));
        }
    } else if (xml.NextChild(u"ShiftAddr")) {
        ReadAddrBlock(xml, m_shiftAddr, false);
    }
    xml.LeaveElement();
}

bool CPLCEntity::LoadXml(CMarkup& xml, const CPLCEntity* local) {
    const QString id = xml.ChildAttribute(u"ID");
    if (id.isEmpty())
        return false;
    m_nID = static_cast<std::uint16_t>(ParseNumber(id));
    m_strName = xml.ChildAttribute(u"Name");
    if (m_nID != 0 && m_strName.compare(u"Local", Qt::CaseInsensitive) != 0)
        m_pLinked = local;
    m_strPTCFile = xml.ChildAttribute(u"PTCFile");
    ReadNumber(xml.ChildAttribute(u"Verison"), 10, m_nVerison);

    // Each child is searched after the one found before it, so they must stand in this order.
    xml.EnterElement();
    if (xml.NextChild(u"Communication"))
        ReadCommunication(xml);
    if (xml.NextChild(u"Station"))
        ReadValueBlock(xml, m_station);
    if (xml.NextChild(u"Display"))
        ReadValueBlock(xml, m_display);
    ReadTypes(xml, u"Wires", u"Wire", PLC_BIT, m_wireTypes);
    ReadTypes(xml, u"Regs", u"Reg", PLC_WORD, m_regTypes);
    ReadTypes(xml, u"AlarmList", u"Wire", PLC_BIT, m_alarmTypes);
    xml.LeaveElement();
    return true;
}

bool CPLCEntity::IsLocal() const {
    return m_nID == 0 && m_strName == u"Local";
}

void CPLCEntity::ReadCommunication(const CMarkup& xml) {
    const QString defaultBaud = xml.ChildAttribute(u"DefaultBaud");
    if (!defaultBaud.isEmpty())
        m_nDefaultBaud = ParseInt(defaultBaud);
    const QString supported = xml.ChildAttribute(u"SupportedBaud");
    if (!supported.isEmpty()) {
        m_supportedBaud.clear();
        for (const QString& item : supported.split(u'|', Qt::SkipEmptyParts))
            m_supportedBaud.append(item.trimmed());
    }
    ReadName(xml.ChildAttribute(u"DataBits"), {u"7", u"8"}, m_nDataBits);
    ReadName(xml.ChildAttribute(u"StopBits"), {u"1", u"2"}, m_nStopBits);
    ReadName(xml.ChildAttribute(u"Parity").toUpper(), {u"NONE", u"ODD", u"EVEN"}, m_nParity);
    ReadName(xml.ChildAttribute(u"COMMType").toUpper(), {u"RS232", u"RS422", u"RS485"},
             m_nCOMMType);
    m_nDefaultBaudIndex =
        static_cast<int>(m_supportedBaud.indexOf(QString::number(m_nDefaultBaud)));
}

void CPLCEntity::ReadTypes(CMarkup& xml, QStringView container, QStringView tag, int kind,
                           std::vector<CPLCRegType>& types) {
    if (!xml.NextChild(container))
        return;
    xml.EnterElement();
    const bool local = IsLocal();
    while (xml.NextChild(tag)) {
        CPLCRegType type(kind);
        type.LoadXml(xml, local);
        // Type names identify types in project files, so a repeated name is dropped.
        const bool known = std::any_of(types.begin(), types.end(), [&](const CPLCRegType& t) {
            return t.GetTypeName().compare(type.GetTypeName(), Qt::CaseInsensitive) == 0;
        });
        if (!known)
            types.push_back(std::move(type));
    }
    xml.LeaveElement();
}

const std::vector<CPLCRegType>& CPLCEntity::OwnTypes(int kind) const {
    static const std::vector<CPLCRegType> none;
    if (kind == PLC_BIT)
        return m_wireTypes;
    return kind == PLC_WORD ? m_regTypes : none;
}

std::vector<const CPLCRegType*> CPLCEntity::GetTypeList(int kind, int mode) const {
    std::vector<const CPLCRegType*> list;
    if (kind == PLC_ALARM) {
        AppendOffered(m_alarmTypes, PLC_ANY, list);
        return list;
    }
    AppendOffered(OwnTypes(kind), mode, list);
    if (m_pLinked)
        AppendOffered(m_pLinked->OwnTypes(kind), mode, list);
    return list;
}

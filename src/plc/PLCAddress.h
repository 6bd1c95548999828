#pragma once

#include "PLCEntity.h"

#include <QString>

#include <array>
#include <cstdint>

class CMarkup;

// What a compiled record takes from an address, already in the records' byte order.
struct PLCAddressCode {
    std::uint8_t station = 0;
    std::uint8_t typeCode = 0;             // 0 without a type
    std::array<std::uint8_t, 2> address{}; // high byte first
    std::uint8_t subAddr = 0;
    std::uint8_t shift = 0;
    // Bit width x register count. Records hold it in one byte, so a record must refuse a count
    // above 255 rather than wrap it.
    int unitCount = 0;
    bool local = false;
};

// The binding of an element, key action, alarm list or control register to PLC memory: a
// memory type of the project's PLC and the station, address, sub-address and bit shift or
// register count within it.
class CPLCAddress {
public:
    // An empty address for objects that are read right after: a bit address of mode
    // PLC_READWRITE, numbers 0, register count 1, no type.
    CPLCAddress() = default;
    // A new address of `kind` (PLC_BIT, PLC_WORD, PLC_ALARM) and `mode`, bound to the first type
    // that `plc` offers for them, with that type's lowest numbers.
    CPLCAddress(int kind, int mode, const CPLCEntity& plc);

    // Reads the address element that is the cursor's current child. Its tag decides the kind:
    // "Wire" bit, "Reg" word, any other alarm bit. A type name that `plc` does not offer keeps
    // the current type. False when the cursor has no current child.
    bool LoadXml(const CMarkup& xml, const CPLCEntity& plc);
    // Writes into the element that the owner has just appended as the cursor's current child,
    // named by the owner as for reading.
    bool SaveXml(CMarkup& xml) const;
    // Keeps the address valid after the project's PLC changed to `plc`: a type that `plc` does
    // not offer is replaced by the one at the address's index (clamped to the list).
    void ReBind(const CPLCEntity& plc);

    int GetKind() const { return m_nKind; }
    int GetMode() const { return m_nMode; }
    std::uint8_t GetStation() const { return m_nStation; }
    void SetStation(std::uint8_t station) { m_nStation = station; }
    std::uint16_t GetAddress() const { return m_nAddress; }
    void SetAddress(std::uint16_t address) { m_nAddress = address; }
    std::uint8_t GetSubAddr() const { return m_nSubAddr; }
    void SetSubAddr(std::uint8_t subAddr) { m_nSubAddr = subAddr; }
    std::uint8_t GetShift() const { return m_nShift; }
    void SetShift(std::uint8_t shift) { m_nShift = shift; }
    std::uint8_t GetRegNum() const { return m_nRegNum; }
    void SetRegNum(std::uint8_t regNum) { m_nRegNum = regNum; }
    int GetIndex() const { return m_nIndex; }
    const CPLCRegType* GetRegType() const { return m_pRegType; }
    // Makes `type`, found at `index` of the type list for the address's kind and mode, its type.
    void SetRegType(const CPLCRegType* type, int index);
    // The type's name for display, "" without a type.
    QString GetTypeName() const;
    // The name of the type the address had in its file or before a PLC change, when the PLC
    // does not offer that type and another one took its place; "" otherwise. Not stored: the
    // file records the type in force.
    const QString& GetLostTypeName() const { return m_strLostTypeName; }

    PLCAddressCode Encode() const;

private:
    int m_nKind = PLC_BIT;
    int m_nMode = PLC_READWRITE;
    std::uint8_t m_nStation = 0;
    std::uint16_t m_nAddress = 0;
    std::uint8_t m_nSubAddr = 0;
    std::uint8_t m_nShift = 0;
    std::uint8_t m_nRegNum = 1;
    int m_nIndex = 0;
    const CPLCRegType* m_pRegType = nullptr;
    QString m_strLostTypeName;
};

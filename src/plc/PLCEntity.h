#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

class CMarkup;

// Number formats of catalog values, in the order of their names "OCT", "DEC", "HEX", "DEC_SIGN".
enum PLCDataFormat { PLC_OCT = 0, PLC_DEC = 1, PLC_HEX = 2, PLC_DEC_SIGN = 3 };

// What a memory type allows ("OM_READ", "OM_WRITE", "OM_READWRITE"), and which types an address
// of a given mode may choose; PLC_ANY takes every type.
enum PLCMode { PLC_READ = 0, PLC_WRITE = 1, PLC_READWRITE = 2, PLC_ANY = 3 };

// The three type lists of a description, which are also the three kinds of address.
enum PLCKind { PLC_BIT = 0, PLC_WORD = 1, PLC_ALARM = 2 };

// How the station number of an address is shown and bounded (Station), or whether and how the
// panel's own station number is asked for (Display).
struct PLCValueBlock {
    bool visible = true;
    int dataFormat = PLC_DEC;
    std::uint8_t minValue = 0;
    std::uint8_t maxValue = 0;
    std::uint8_t defaultValue = 0;
};

// Bounds and step of one address field of a memory type. Only the Addr block uses 16 bits.
struct PLCAddrBlock {
    bool visible = false;
    int dataFormat = PLC_DEC;
    std::uint16_t minValue = 0;
    std::uint16_t maxValue = 255;
    QString express; // kept as the catalog has it; the designer does not use it
    std::uint8_t incDelta = 1;
};

// One memory type of a PLC: a bit type (from a Wire element) or a word type (from a Reg).
class CPLCRegType {
public:
    explicit CPLCRegType(int kind = PLC_BIT);

    // Reads the type element that is the cursor's current child.
    void LoadXml(CMarkup& xml, bool local);

    int GetKind() const { return m_nKind; }
    int GetOptMode() const { return m_nOptMode; }
    const QString& GetTypeName() const { return m_strTypeName; }
    std::uint8_t GetTypeValue() const { return m_nTypeValue; }
    bool IsLocal() const { return m_bLocal; }
    const PLCAddrBlock& GetAddr() const { return m_addr; }
    const PLCAddrBlock& GetSubAddr() const { return m_subAddr; }
    const PLCAddrBlock& GetShiftAddr() const { return m_shiftAddr; }
    const std::vector<std::uint8_t>& GetRegNumList() const { return m_regNumList; }
    bool HasRegNum() const { return m_bRegNum; }
    std::uint8_t GetBitWidth() const { return m_nBitWidth; }
    std::uint8_t GetAddrInc() const { return m_nAddrInc; }

private:
    int m_nKind;
    int m_nOptMode = PLC_READ;
    QString m_strTypeName;
    std::uint8_t m_nTypeValue = 0;
    bool m_bLocal = false;
    PLCAddrBlock m_addr{true, PLC_DEC, 0, 0xFFFF, {}, 1};
    PLCAddrBlock m_subAddr;
    PLCAddrBlock m_shiftAddr;
    std::vector<std::uint8_t> m_regNumList;
    bool m_bRegNum = false;
    std::uint8_t m_nBitWidth = 1;
    std::uint8_t m_nAddrInc = 0;
};

// One PLC family of the catalog: identity, driver file, serial defaults, station blocks and
// the memory types that addresses may use. Documents and addresses keep plain pointers to a
// description and its types, so it is neither copied nor moved once read.
class CPLCEntity {
public:
    CPLCEntity() = default;
    CPLCEntity(const CPLCEntity&) = delete;
    CPLCEntity& operator=(const CPLCEntity&) = delete;

    // Reads the PLC element that is the cursor's current child and leaves the cursor there.
    // Fails only when the element has no ID. `local` is the local description read so far (or
    // none); every other description links to it, so its types are offered too.
    bool LoadXml(CMarkup& xml, const CPLCEntity* local);

    std::uint16_t GetProtocolID() const { return m_nID; }
    const QString& GetName() const { return m_strName; }
    const QString& GetPTCFile() const { return m_strPTCFile; }
    std::uint8_t GetVerison() const { return m_nVerison; }
    // The description with ID 0 named exactly "Local", whose types the panel serves itself.
    bool IsLocal() const;

    const QStringList& GetSupportedBaud() const { return m_supportedBaud; }
    int GetDefaultBaud() const { return m_nDefaultBaud; }
    // Position of the default baud rate in the supported list, -1 when it is not listed.
    int GetDefaultBaudIndex() const { return m_nDefaultBaudIndex; }
    int GetDataBits() const { return m_nDataBits; }
    int GetStopBits() const { return m_nStopBits; }
    int GetParity() const { return m_nParity; }
    int GetCOMMType() const { return m_nCOMMType; }

    const PLCValueBlock& GetStation() const { return m_station; }
    const PLCValueBlock& GetDisplay() const { return m_display; }
    std::uint8_t GetDisplayStation() const { return m_nDisplayStation; }
    const CPLCEntity* GetLinkedPLC() const { return m_pLinked; }

    // The types an address of `kind` (PLC_BIT, PLC_WORD, PLC_ALARM) and `mode` may use: the
    // description's own, then for bit and word addresses those of the linked description.
    // Alarm addresses get every own alarm type, whatever the mode.
    std::vector<const CPLCRegType*> GetTypeList(int kind, int mode) const;

private:
    const std::vector<CPLCRegType>& OwnTypes(int kind) const;
    void ReadCommunication(const CMarkup& xml);
    void ReadTypes(CMarkup& xml, QStringView container, QStringView tag, int kind,
                   std::vector<CPLCRegType>& types);

    std::uint16_t m_nID = 0;
    QString m_strName;
    QString m_strPTCFile;
    std::uint8_t m_nVerison = 0;
    QStringList m_supportedBaud;
    int m_nDefaultBaud = 9600;
    int m_nDefaultBaudIndex = -1;
    int m_nDataBits = 0;
    int m_nStopBits = 0;
    int m_nParity = 0;
    int m_nCOMMType = 0;
    PLCValueBlock m_station;
    PLCValueBlock m_display{false, PLC_DEC, 0, 0, 0};
    std::uint8_t m_nDisplayStation = 0;
    std::vector<CPLCRegType> m_wireTypes;
    std::vector<CPLCRegType> m_regTypes;
    std::vector<CPLCRegType> m_alarmTypes;
    const CPLCEntity* m_pLinked = nullptr;
};

#pragma once

#include "ModelAddress.h"
#include "ValueRange.h"

#include <cstdint>

class CMarkup;

// Key action: step a PLC register up or down within a limit.
class CFuncSubMulStatus {
public:
    explicit CFuncSubMulStatus(const CPLCEntity* plc);

    void SaveXml(CMarkup& xml) const;
    void LoadXml(CMarkup& xml, const CPLCEntity* plc);

    // After an edit in the property panel, each bounded by the register's size and sign.
    void NormalizeLowerLimit();
    void NormalizeUpperLimit();
    void NormalizeSubDelta();
    void NormalizeAddDelta();

    CPLCAddress m_Reg;
    std::int32_t m_nDataFormat = kFormatDec;
    std::int32_t m_nRadioID = 0; // 0 Add, 1 Sub
    std::int32_t m_nUpperLimit = 65535;
    std::int32_t m_nLowerLimit = 0;
    std::int32_t m_nAddDelta = 1;
    std::int32_t m_nSubDelta = 1;

private:
    bool IsSigned() const { return m_nDataFormat == kFormatDecSign; }
};

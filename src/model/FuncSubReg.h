#pragma once

#include "ModelAddress.h"
#include "ValueRange.h"

#include <cstdint>

class CMarkup;

// Key action: write a constant into a PLC register.
class CFuncSubReg {
public:
    explicit CFuncSubReg(const CPLCEntity* plc);

    void SaveXml(CMarkup& xml) const;
    void LoadXml(CMarkup& xml, const CPLCEntity* plc);

    CPLCAddress m_Reg;
    std::int32_t m_nDataFormat = kFormatDec;
    std::int32_t m_nParameter = 0;
};

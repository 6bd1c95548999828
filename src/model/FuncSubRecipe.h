#pragma once

#include "ModelAddress.h"

#include <cstdint>

class CMarkup;

// Key action: transfer a recipe block, or move its base address.
class CFuncSubRecipe {
public:
    explicit CFuncSubRecipe(const CPLCEntity* plc);

    void SaveXml(CMarkup& xml) const;
    void LoadXml(CMarkup& xml, const CPLCEntity* plc);

    CPLCAddress m_Reg;
    std::int32_t m_nRadioID = 0; // 0 UpLoad, 1 DownLoad, 2 BaseAdd, 3 BaseSub
    std::uint32_t m_nTransferLen = 1;
    std::uint32_t m_nTransferLimitUp = 1023;
    std::uint32_t m_nTransferLimitDown = 0;
};

#pragma once

#include "ModelAddress.h"

#include <cstdint>

class CMarkup;

// Key action: set, clear, invert or pulse a PLC bit.
class CFuncSubWire {
public:
    explicit CFuncSubWire(const CPLCEntity* plc);

    // Appends `SetWire` to the cursor's main element.
    void SaveXml(CMarkup& xml) const;
    // The cursor's current child is `SetWire`.
    void LoadXml(CMarkup& xml, const CPLCEntity* plc);

    CPLCAddress m_Wire;
    std::int32_t m_nRadioID = 0; // 0 ON, 1 OFF, 2 REVERSE, 3 PULSE
};

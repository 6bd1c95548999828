#pragma once

#include <cstdint>

class CMarkup;

// Key action: change the frame. It has no PLC address.
class CFuncSubJmp {
public:
    void SaveXml(CMarkup& xml) const;
    void LoadXml(CMarkup& xml);

    // 0 JumpFrame, 1 PushJump, 2 ReturnFrame, 3 AlarmList, 4 PasswordList
    std::int32_t m_nRadioID = 0;
    std::uint16_t m_nNumber = 1; // target frame ID
};

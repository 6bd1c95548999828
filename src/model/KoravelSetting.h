#pragma once

#include "ModelAddress.h"

#include <QList>

#include <cstdint>

class CMarkup;

// One register of the control register block and what it carries.
struct ControlRegister {
    enum Use {
        kAutoChange,  // device to panel: frame to show, highest bit drives the buzzer
        kReportFrame, // panel to device: number of the current frame
        kSeconds,
        kMinutes,
        kHours,
        kDay,
        kMonth,
        kYear,
        kWeekday,
        kHourMinute, // packed clock: hour high 8 bits, minute low 8 bits
        kMonthDay,   // month high, day low
        kYearWeekday // year high, weekday low
    };
    Use use;
    int address;
};

// The panel settings: start frame, password, screen saver, control registers, start-up frame.
class CKoravelSetting {
public:
    explicit CKoravelSetting(const CPLCEntity* plc);

    // The registers that the switched-on features use, from Reg's address in steps of the
    // type's address increment.
    QList<ControlRegister> ControlRegisters() const;

    // The cursor's main element is `GlobalSetting`.
    bool LoadXml(CMarkup& xml, const CPLCEntity* plc);
    bool SaveXml(CMarkup& xml) const;

    std::uint16_t m_nBeginFrame = 1;
    std::uint16_t m_nSaverFrame = 1;
    std::uint16_t m_nPassWord = 0;
    std::int32_t m_nWaitTime = 3;
    bool m_bBackLight = true;
    bool m_bReportFrame = false;
    bool m_bAutoChange = false;
    bool m_bUseClock = false;
    bool m_bUseClockOld = false;
    bool m_bCanOffline = false;
    bool m_bUseFrame = false;
    std::uint16_t m_nUseFrameIndex = 1;
    std::int32_t m_nUseFrameSecond = 3;
    CPLCAddress m_Reg;
};

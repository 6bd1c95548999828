#pragma once

#include "ModelAddress.h"
#include "TextItem.h"

#include <memory>

class CMarkup;

// The PLC bits that raise alarms and the text shown for each: the n-th text in use belongs to
// the bit at the Alarm address + n.
class CAlarmList {
public:
    explicit CAlarmList(const CPLCEntity* plc);
    // The same texts, address and look, in texts of its own.
    CAlarmList(const CAlarmList& other);

    bool AnyTextInUse() const { return m_pTexts->AnyInUse(); }

    // The cursor's main element is `AlarmList`.
    bool LoadXml(CMarkup& xml, const CPLCEntity* plc);
    bool SaveXml(CMarkup& xml) const;

    std::unique_ptr<CTextList> m_pTexts;
    CPLCAddress m_Alarm;
    QString m_strFontName;
    std::int32_t m_nFontSize = 16;
    std::uint32_t m_nBkColor = 0x00000000;
    std::uint32_t m_nTxtBkColor = 0x00000000;
    std::uint32_t m_nTxtForeColor = 0x000000FF;
    bool m_bTextBackground = false; // used by the compiler, not stored
};

#pragma once

#include "ElementPanel.h"
#include "GERegister.h"
#include "PanelParts.h"

class CLimitPair;
class QCheckBox;
class QComboBox;

// "寄存器属性": a register's position, address, font, colours, number format, digits and
// decimals, border, whether it can be set on the panel and the limits of what is set.
class DlgRegister : public CKindPanel<CGERegister> {
public:
    explicit DlgRegister(CKoravelDoc& doc);

private:
    void ShowValues() override;
    void OnIntegerBits(std::int64_t value, bool typing);
    void OnPointBits(std::int64_t value, bool typing);

    NumberField m_integerBits;
    NumberField m_pointBits;
    QCheckBox* m_pSetting = nullptr;
    QCheckBox* m_pEncrypt = nullptr;
    QComboBox* m_pValueKind = nullptr;
    CLimitPair* m_pRawLimits = nullptr;
    CLimitPair* m_pEngLimits = nullptr;
};

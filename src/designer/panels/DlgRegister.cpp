#include "DlgRegister.h"

#include "AddressGroup.h"
#include "ColorButton.h"
#include "ColourGroup.h"
#include "FontGroup.h"
#include "LimitPair.h"
#include "NumberFormatGroup.h"
#include "PositionGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kMaxBits = 10;

// The limits anew for the range of the new number format.
void NormalizeLimits(CGERegister& reg) {
    reg.NormalizeUpperLimits();
    reg.NormalizeLowerLimits();
}

} // namespace

DlgRegister::DlgRegister(CKoravelDoc& doc)
    : CKindPanel(doc, QStringLiteral("寄存器属性"), kTypeRegister),
      m_integerBits(NewNumberField(QStringLiteral("integerBits"))),
      m_pointBits(NewNumberField(QStringLiteral("pointBits"))) {
    setObjectName(QStringLiteral("registerPanel"));
    OnNumberEdited(m_integerBits.edit,
                   [this](std::int64_t value, bool typing) { OnIntegerBits(value, typing); });
    OnNumberEdited(m_pointBits.edit,
                   [this](std::int64_t value, bool typing) { OnPointBits(value, typing); });

    auto* column = new QVBoxLayout(this);
    // The longest panel: a little less air between its groups lets it fit the window.
    column->setSpacing(4);
    column->addWidget(NewPositionGroup());
    column->addWidget(
        NewAddressGroup(QStringLiteral("寄存器"), QStringLiteral("类型:"), QStringLiteral("reg"),
                        [](CGraphBase& element) -> CPLCAddress& { return As(element).m_Reg; }));
    column->addWidget(NewFontGroup());
    column->addWidget(NewNumberFormatGroup(
        QStringLiteral("有符号"), [](CGraphBase& element) { return As(element).m_nDataFormat; },
        [](CGraphBase& element, int format) {
            CGERegister& reg = As(element);
            reg.m_nDataFormat = format;
            if (format == kFormatHex)
                reg.m_byPointBits = 0;
            reg.RecalcSize();
            NormalizeLimits(reg);
        }));

    // Two fields to a row, so that the panel fits beside the canvas.
    auto* show = new QGroupBox(QStringLiteral("显示"));
    auto* grid = new QGridLayout(show);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->addWidget(new QLabel(QStringLiteral("位  数:")), 0, 0);
    grid->addWidget(m_integerBits.edit, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("小数位:")), 0, 2);
    grid->addWidget(m_pointBits.edit, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("边框:")), 1, 0);
    grid->addWidget(
        NewChoice(
            {QStringLiteral("无边框"), QStringLiteral("有边框"), QStringLiteral("3D效果")},
            QStringLiteral("border"), [](CGraphBase& element) { return As(element).m_nUseBorder; },
            [](CGraphBase& element, int border) { As(element).m_nUseBorder = border; }),
        1, 1);
    grid->addWidget(new QLabel(QStringLiteral("边框色:")), 1, 2);
    grid->addWidget(NewColour({QStringLiteral("边框色:"), QStringLiteral("borderColour"),
                               [](CGraphBase& element) -> std::uint32_t& {
                                   return As(element).m_nBorderColor;
                               }}),
                    1, 3);
    grid->addWidget(
        NewFlag(
            QStringLiteral("设定先导0"), QStringLiteral("frontZero"),
            [](CGraphBase& element) { return As(element).m_nFrontZero != 0; },
            [](CGraphBase& element, bool on) { As(element).m_nFrontZero = on ? 1 : 0; }),
        2, 0, 1, 2);
    grid->addWidget(NewFlag(
                        QStringLiteral("背景"), QStringLiteral("background"),
                        [](CGraphBase& element) { return element.m_nSameColor != 0; },
                        [](CGraphBase& element, bool on) { element.m_nSameColor = on ? 1 : 0; },
                        true),
                    2, 2, 1, 2);
    column->addWidget(show);
    column->addWidget(NewColourGroup(
        {{QStringLiteral("背景色:"), QStringLiteral("backColour"),
          [](CGraphBase& element) -> std::uint32_t& { return As(element).m_nBkColor; }},
         {QStringLiteral("前景色:"), QStringLiteral("foreColour"),
          [](CGraphBase& element) -> std::uint32_t& { return As(element).m_nForeColor; }}}));

    auto* setting = new QGroupBox(QStringLiteral("输入设定"));
    QFormLayout* limits = NewFormLayout(setting);
    m_pSetting = NewFlag(
        QStringLiteral("设  定"), QStringLiteral("setting"),
        [](CGraphBase& element) { return As(element).m_bSetting; },
        [](CGraphBase& element, bool on) { As(element).m_bSetting = on; });
    m_pEncrypt = NewFlag(
        QStringLiteral("加  密"), QStringLiteral("encrypt"),
        [](CGraphBase& element) { return As(element).m_bEncrypt; },
        [](CGraphBase& element, bool on) { As(element).m_bEncrypt = on; });
    limits->addRow(m_pSetting, m_pEncrypt);
    QCheckBox* haveLimit = NewFlag(
        QStringLiteral("上下限"), QStringLiteral("haveLimit"),
        [](CGraphBase& element) { return As(element).m_bHaveLimit; },
        [](CGraphBase& element, bool on) { As(element).m_bHaveLimit = on; });
    m_pValueKind = NewChoice(
        {QStringLiteral("原始数据"), QStringLiteral("工程数据")}, QStringLiteral("valueKind"),
        [](CGraphBase& element) { return As(element).m_nComboBoxID; },
        [](CGraphBase& element, int kind) { As(element).m_nComboBoxID = kind; });
    limits->addRow(haveLimit, m_pValueKind);
    const auto range = [](CGraphBase& element) { return As(element).GetValueRange(); };
    const auto format = [](CGraphBase& element) { return As(element).m_nDataFormat; };
    m_pRawLimits = NewLimitPair(
        QStringLiteral("输入上限:"), QStringLiteral("rawUpperLimit"), QStringLiteral("输入下限:"),
        QStringLiteral("rawLowerLimit"),
        {[](CGraphBase& element) -> std::int64_t& { return As(element).m_nRawUpperLimit; },
         [](CGraphBase& element) -> std::int64_t& { return As(element).m_nRawLowerLimit; }, range,
         format});
    m_pEngLimits = NewLimitPair(
        QStringLiteral("工程量上限:"), QStringLiteral("engUpperLimit"),
        QStringLiteral("工程量下限:"), QStringLiteral("engLowerLimit"),
        {[](CGraphBase& element) -> std::int64_t& { return As(element).m_nEngUpperLimit; },
         [](CGraphBase& element) -> std::int64_t& { return As(element).m_nEngLowerLimit; }, range,
         format});
    limits->addRow(m_pRawLimits);
    limits->addRow(m_pEngLimits);
    column->addWidget(setting);
    column->addStretch(1);
}

void DlgRegister::ShowValues() {
    const CGERegister& reg = Bound();
    m_integerBits.spin->Bind(1, kMaxBits, 1, reg.m_byIntegerBits, NumFormat::Dec);
    m_pointBits.spin->Bind(0, kMaxBits, 1, reg.m_byPointBits, NumFormat::Dec);
    // The panel may set only what the PLC lets it write.
    const CPLCRegType* type = reg.m_Reg.GetRegType();
    m_pSetting->setEnabled(type && type->GetOptMode() != PLC_READ);
    m_pEncrypt->setEnabled(reg.m_bSetting);
    if (!reg.m_bSetting)
        m_pEncrypt->setChecked(false);
    m_pValueKind->setEnabled(reg.m_bHaveLimit);
    m_pRawLimits->setEnabled(reg.m_bHaveLimit);
    m_pEngLimits->setEnabled(reg.m_bHaveLimit && reg.m_nComboBoxID == 1);
}

void DlgRegister::OnIntegerBits(std::int64_t value, bool typing) {
    const std::int64_t bits = std::clamp<std::int64_t>(value, 1, kMaxBits);
    if (bits != value)
        CorrectTypedValue(m_integerBits.edit, bits);
    Edit(QStringLiteral("integer-bits"), [bits, typing](CGraphBase& element) {
        CGERegister& reg = As(element);
        reg.m_byIntegerBits = static_cast<std::uint8_t>(bits);
        if (!typing && reg.m_byPointBits >= reg.m_byIntegerBits)
            reg.m_byPointBits = static_cast<std::uint8_t>(reg.m_byIntegerBits - 1);
        reg.RecalcSize();
    });
}

void DlgRegister::OnPointBits(std::int64_t value, bool typing) {
    const std::int64_t bits = std::clamp<std::int64_t>(value, 0, kMaxBits);
    if (bits != value)
        CorrectTypedValue(m_pointBits.edit, bits);
    Edit(QStringLiteral("point-bits"), [bits, typing](CGraphBase& element) {
        CGERegister& reg = As(element);
        reg.m_byIntegerBits = std::clamp<std::uint8_t>(reg.m_byIntegerBits, 1, kMaxBits);
        reg.m_byPointBits = static_cast<std::uint8_t>(bits);
        // Ten decimals have no digit left before them; the digits stay as they are then.
        if (!typing && reg.m_byPointBits >= reg.m_byIntegerBits && reg.m_byPointBits != kMaxBits)
            reg.m_byIntegerBits = static_cast<std::uint8_t>(reg.m_byPointBits + 1);
        reg.RecalcSize();
    });
}

#pragma once

#include "ModelAddress.h"
#include "TextElement.h"
#include "ValueRange.h"

// The value of a PLC register as a number with a fixed count of digits and decimals,
// optionally scaled and optionally settable on the panel within limits.
class CGERegister : public CTextElement {
public:
    explicit CGERegister(const CPLCEntity* plc);

    // The number the canvas shows instead of a live value ("12345", "-123.45").
    QString SampleText() const;
    // Width and Height become the extent of the sample text in the element's font.
    void RecalcSize() override;

    ValueRange GetValueRange() const;
    // After an edit of an upper or a lower limit.
    void NormalizeUpperLimits();
    void NormalizeLowerLimits();

    void Draw(QPainter& painter) const override;
    std::unique_ptr<CGraphBase> Clone() const override;
    std::unique_ptr<CGraphBase> ExactCopy() const override;
    bool LoadXml(CMarkup& xml, const CPLCEntity* plc) override;
    bool SaveXml(CMarkup& xml, const QString& labelName) const override;
    virtual void DrawBorder(QPainter& painter) const;

    CPLCAddress m_Reg;
    std::int32_t m_nComboBoxID = 0; // 0 raw data, 1 engineering data
    std::int32_t m_nDataFormat = kFormatDec;
    std::uint8_t m_byIntegerBits = 5;
    std::uint8_t m_byPointBits = 0;
    bool m_bSetting = false;
    std::int32_t m_nStyle = 0;
    bool m_bHaveLimit = false;
    bool m_bFillZero = false;
    bool m_bEncrypt = false;
    std::uint8_t m_byGrade = 0;
    std::int64_t m_nRawUpperLimit = 65535;
    std::int64_t m_nRawLowerLimit = 0;
    std::int64_t m_nEngUpperLimit = 65535;
    std::int64_t m_nEngLowerLimit = 0;
    std::int32_t m_nFrontZero = 1;
    std::uint32_t m_nBorderColor = 0x00000000;
    std::int32_t m_nUseBorder = 0;

protected:
    const CPLCAddress* KindMainAddress() const override { return &m_Reg; }
};

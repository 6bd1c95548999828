#pragma once

#include "GraphBase.h"
#include "ModelAddress.h"
#include "ValueRange.h"

// A bar that grows with the value of a PLC register between two limits.
class CGEBar : public CGraphBase {
public:
    explicit CGEBar(const CPLCEntity* plc);

    // Changing between a vertical (0, 1) and a horizontal (2, 3) direction turns the bar.
    void SetDrawDir(int direction);
    ValueRange GetValueRange() const;
    void NormalizeUpperLimit();
    void NormalizeLowerLimit();

    void Draw(QPainter& painter) const override;
    std::unique_ptr<CGraphBase> Clone() const override;
    std::unique_ptr<CGraphBase> ExactCopy() const override;
    bool LoadXml(CMarkup& xml, const CPLCEntity* plc) override;
    bool SaveXml(CMarkup& xml, const QString& labelName) const override;

    CPLCAddress m_Reg;
    std::int32_t m_nDataFormat = kFormatDec;
    std::int32_t m_nDrawDir = 0; // 0 up, 1 down, 2 left, 3 right
    std::int64_t m_nUpperLimit = 65535;
    std::int64_t m_nLowerLimit = 0;
    std::uint32_t m_nBkColor = 0x00FFFFFF;
    std::uint32_t m_nForeColor = 0x00FF0000;

protected:
    const CPLCAddress* KindMainAddress() const override { return &m_Reg; }
};

// The limit rule that bar and trend share.
void NormalizeUpper(std::int64_t& upper, std::int64_t lower, const ValueRange& range);
void NormalizeLower(std::int64_t& upper, std::int64_t& lower, const ValueRange& range);

// The beginning of the `Show` child that bar and trend share: the number format and the two
// limits.
void SaveShowLimits(CMarkup& xml, int dataFormat, std::int64_t upper, std::int64_t lower);
void LoadShowLimits(const CMarkup& xml, std::int32_t& dataFormat, std::int64_t& upper,
                    std::int64_t& lower);

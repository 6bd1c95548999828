#pragma once

#include "GraphBase.h"
#include "ModelAddress.h"
#include "ValueRange.h"

// A graph of a PLC register's samples between two limits; at most 4 in a frame.
class CGETrend : public CGraphBase {
public:
    explicit CGETrend(const CPLCEntity* plc);

    ValueRange GetValueRange() const;
    void NormalizeUpperLimit();
    void NormalizeLowerLimit();

    // A fixed sample curve, not live data.
    void Draw(QPainter& painter) const override;
    std::unique_ptr<CGraphBase> Clone() const override;
    std::unique_ptr<CGraphBase> ExactCopy() const override;
    bool LoadXml(CMarkup& xml, const CPLCEntity* plc) override;
    bool SaveXml(CMarkup& xml, const QString& labelName) const override;

    CPLCAddress m_Reg;
    std::int32_t m_nDataFormat = kFormatDec;
    std::int64_t m_nUpperLimit = 65535;
    std::int64_t m_nLowerLimit = 0;
    std::int32_t m_nSamplingPoint = 20;
    std::uint32_t m_nSamplingTime = 5;
    std::uint32_t m_nBackColor = 0x00404040;
    std::uint32_t m_nForeColor = 0x00FFFFFF;
    std::uint32_t m_nPenColor = 0x000000FF;

protected:
    const CPLCAddress* KindMainAddress() const override { return &m_Reg; }
};

#pragma once

#include "ElementPanel.h"
#include "GETrend.h"
#include "PanelParts.h"

// "趋势图属性": a trend graph's position, size, address, number format, limits, sampling and
// colours.
class DlgTrendMain : public CKindPanel<CGETrend> {
public:
    explicit DlgTrendMain(CKoravelDoc& doc);

private:
    void ShowValues() override;

    NumberField m_samplingPoint;
    NumberField m_samplingTime;
};

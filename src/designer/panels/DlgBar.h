#pragma once

#include "ElementPanel.h"
#include "GEBar.h"

// "棒图属性": a bar graph's position, size, address, number format, colours, limits and the
// direction it grows in.
class DlgBar : public CKindPanel<CGEBar> {
public:
    explicit DlgBar(CKoravelDoc& doc);
};

#pragma once

#include "ElementPanel.h"
#include "GEIndicator.h"

// "指示灯属性": a lamp's position, coil, size, shape and logic.
class DlgIndicator : public CKindPanel<CGEIndicator> {
public:
    explicit DlgIndicator(CKoravelDoc& doc);
};

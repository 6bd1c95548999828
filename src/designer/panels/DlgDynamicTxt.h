#pragma once

#include "ElementPanel.h"
#include "GEDynamicTxt.h"

class CEditableGrid;

// "动态文本属性": the texts of a dynamic text, each with the register value that shows it, and
// its position, address, number format, font, colours and background flag.
class DlgDynamicTxt : public CKindPanel<CGEDynamicTxt> {
public:
    explicit DlgDynamicTxt(CKoravelDoc& doc);

    // The text of a value in the grid: "%5u", "%X" or "%5d" by number format; none for an
    // entry that is not in use.
    static QString ValueText(std::int64_t value, int dataFormat);

private:
    void ShowValues() override;
    void OnEditingEnded(bool written);

    CEditableGrid* m_pGrid;
};

#pragma once

#include "ElementPanel.h"
#include "GEFuncKey.h"

#include <array>

class QCheckBox;

// "功能键属性": a function key's position, key, look, password flag and action, with the panel
// of the action in force below.
class DlgFunckeyMain : public CKindPanel<CGEFuncKey> {
public:
    explicit DlgFunckeyMain(CKoravelDoc& doc);

    // Unbinding the key unbinds its action panels too.
    void Bind(CGraphBase* element) override;

    // The action panel of `type` (0 … 4).
    CElementPanel* ActionPanel(int type) const;

private:
    void ShowValues() override;

    QCheckBox* m_pHand;
    QCheckBox* m_pDouble;
    std::array<CElementPanel*, 5> m_actions;
};

#pragma once

#include "ElementPanel.h"
#include "GEFuncKey.h"
#include "PanelParts.h"

class CAddressGroup;
class QComboBox;
class QLabel;

// The five action panels of a function key. Each is bound to the key and edits the key's
// action of its kind.

// "线圈": set, clear, invert or pulse a bit.
class DlgFunckeySubWire : public CKindPanel<CGEFuncKey> {
public:
    explicit DlgFunckeySubWire(CKoravelDoc& doc);
};

// "寄存器": write a constant into a register, within the register's value range.
class DlgFunckeySubReg : public CKindPanel<CGEFuncKey> {
public:
    explicit DlgFunckeySubReg(CKoravelDoc& doc);

private:
    void ShowValues() override;

    NumberField m_parameter;
};

// "画面": go to a frame, the alarm list or the password settings.
class DlgFunckeySubJmp : public CKindPanel<CGEFuncKey> {
public:
    explicit DlgFunckeySubJmp(CKoravelDoc& doc);

private:
    void ShowValues() override;

    NumberField m_number;
};

// "配方": move a recipe block, or move its base address up or down.
class DlgFunckeySubRecipe : public CKindPanel<CGEFuncKey> {
public:
    explicit DlgFunckeySubRecipe(CKoravelDoc& doc);

private:
    void ShowValues() override;

    CAddressGroup* m_pAddress;
    QLabel* m_pLengthLabel;
    NumberField m_length;
    QLabel* m_pLimitLabel;
    NumberField m_limit;
};

// "状态设定": step a register up to a limit or down to one.
class DlgFunckeySubMulStatus : public CKindPanel<CGEFuncKey> {
public:
    explicit DlgFunckeySubMulStatus(CKoravelDoc& doc);

private:
    void ShowValues() override;

    QLabel* m_pLimitLabel;
    NumberField m_limit;
    QLabel* m_pStepLabel;
    NumberField m_step;
};

#pragma once

#include "FuncSubJmp.h"
#include "FuncSubMulStatus.h"
#include "FuncSubRecipe.h"
#include "FuncSubReg.h"
#include "FuncSubWire.h"
#include "GraphBase.h"

// Actions of a function key, by `Type`.
enum FuncKeyAction : int {
    kActionSetWire = 0,
    kActionSetRegister = 1,
    kActionJumpFrame = 2,
    kActionRecipe = 3,
    kActionMultiSet = 4,
};

// The key's label ("ESC", "→", ...) and its key code by ComboBoxID, the position in the
// designer's key list; "" and 0 outside 0 to 19.
QString KeyName(int comboBoxId);
int KeyCode(int comboBoxId);

// Binds one of the panel's keys, within one frame, to one action. All five actions live as
// long as the key; Type says which one is in force, and only that one is stored.
class CGEFuncKey : public CGraphBase {
public:
    explicit CGEFuncKey(const CPLCEntity* plc);

    void Draw(QPainter& painter) const override;
    std::unique_ptr<CGraphBase> Clone() const override;
    std::unique_ptr<CGraphBase> ExactCopy() const override;
    // Every action's address, not only the one in force.
    void RebindAddresses(const CPLCEntity* plc) override;
    bool LoadXml(CMarkup& xml, const CPLCEntity* plc) override;
    bool SaveXml(CMarkup& xml, const QString& labelName) const override;
    virtual int KeyBitmapId() const;
    virtual int HandBitmapId() const;

    std::int32_t m_nType = kActionSetWire;
    CFuncSubWire m_SubWire;
    CFuncSubJmp m_SubJmp;
    CFuncSubReg m_SubReg;
    CFuncSubRecipe m_SubRecipe;
    CFuncSubMulStatus m_SubMulStatus;
    std::int32_t m_nComboBoxID = 2;
    bool m_bHand = false;
    bool m_bHide = false;
    bool m_bVisible = false; // the action asks for the panel password first
    std::uint8_t m_byGrade = 0;

protected:
    // That of the action in force; none for a jump.
    const CPLCAddress* KindMainAddress() const override;
};

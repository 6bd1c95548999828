#pragma once

#include "CommPara.h"
#include "KoravelSetting.h"
#include "PLCAddress.h"

#include <QString>
#include <QUndoCommand>

#include <optional>
#include <utility>
#include <vector>

class CGraphBase;
class CKoravelDoc;
class CPLCEntity;

class CKoravelProject;

// Whether `settings` differ from the project's (or from the defaults when it has none).
bool SettingsDiffer(const CKoravelProject& project, const CKoravelSetting& settings);
bool SameCommPara(const CCommPara& a, const CCommPara& b);

// The panel settings as the settings dialog leaves them.
class CmdChangeSettings : public QUndoCommand {
public:
    CmdChangeSettings(CKoravelDoc& doc, const CKoravelSetting& after);
    void redo() override;
    void undo() override;

private:
    void Apply(const std::optional<CKoravelSetting>& settings);

    CKoravelDoc& m_doc;
    std::optional<CKoravelSetting> m_before; // none: the project had no settings
    CKoravelSetting m_after;
};

// The PLC and the communication parameters chosen in the driver settings dialog. Another PLC
// re-binds every address of the project to it; undo puts every element back as it was.
class CmdChangeDriver : public QUndoCommand {
public:
    CmdChangeDriver(CKoravelDoc& doc, const CPLCEntity* plc, const CCommPara& comm);
    void redo() override;
    void undo() override;

private:
    void Remember();

    CKoravelDoc& m_doc;
    const CPLCEntity* m_pPlcAfter;
    CCommPara m_commAfter;
    const CPLCEntity* m_pPlcBefore = nullptr;
    CCommPara m_commBefore;
    std::vector<std::pair<CGraphBase*, QString>> m_elementsBefore; // only when the PLC changes
    std::optional<CPLCAddress> m_settingRegBefore;
    std::optional<CPLCAddress> m_alarmBefore;
    bool m_bRemembered = false;
};

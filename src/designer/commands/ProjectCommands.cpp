#include "ProjectCommands.h"

#include "KoravelDoc.h"
#include "Markup.h"
#include "ModelAddress.h"

namespace {

// The settings as the project file writes them: equal texts, equal settings.
QString SettingsText(const CKoravelSetting& settings) {
    CMarkup xml;
    xml.AppendElement(u"GlobalSetting");
    settings.SaveXml(xml);
    return xml.GetDocumentText();
}

} // namespace

bool SettingsDiffer(const CKoravelProject& project, const CKoravelSetting& settings) {
    const CKoravelSetting defaults(project.m_pCurrentPLC);
    return SettingsText(project.m_pSetting ? *project.m_pSetting : defaults) !=
           SettingsText(settings);
}

bool SameCommPara(const CCommPara& a, const CCommPara& b) {
    return a.m_nDisplayID == b.m_nDisplayID && a.m_nBaudRate == b.m_nBaudRate &&
           a.m_nDataBit == b.m_nDataBit && a.m_nStopBit == b.m_nStopBit &&
           a.m_nParityBit == b.m_nParityBit && a.m_nSerialType == b.m_nSerialType;
}

CmdChangeSettings::CmdChangeSettings(CKoravelDoc& doc, const CKoravelSetting& after)
    : QUndoCommand(QStringLiteral("设置KV250")), m_doc(doc), m_after(after) {
    if (const CKoravelSetting* before = doc.Project().m_pSetting.get())
        m_before = *before;
}

void CmdChangeSettings::redo() {
    Apply(m_after);
}

void CmdChangeSettings::undo() {
    Apply(m_before);
}

void CmdChangeSettings::Apply(const std::optional<CKoravelSetting>& settings) {
    CKoravelProject& project = m_doc.Project();
    if (!settings)
        project.m_pSetting.reset();
    else if (project.m_pSetting)
        *project.m_pSetting = *settings;
    else
        project.m_pSetting = std::make_unique<CKoravelSetting>(*settings);
}

CmdChangeDriver::CmdChangeDriver(CKoravelDoc& doc, const CPLCEntity* plc, const CCommPara& comm)
    : QUndoCommand(QStringLiteral("更改厂商驱动")), m_doc(doc), m_pPlcAfter(plc),
      m_commAfter(comm) {}

void CmdChangeDriver::Remember() {
    const CKoravelProject& project = m_doc.Project();
    m_pPlcBefore = project.m_pCurrentPLC;
    m_commBefore = project.m_CommPara;
    if (m_pPlcBefore == m_pPlcAfter)
        return;
    for (const auto& frame : project.m_Frames) {
        for (const auto& part : frame->m_Parts)
            m_elementsBefore.emplace_back(part.get(), part->Memento());
    }
    if (project.m_pSetting)
        m_settingRegBefore = project.m_pSetting->m_Reg;
    if (project.m_pAlarmList)
        m_alarmBefore = project.m_pAlarmList->m_Alarm;
}

void CmdChangeDriver::redo() {
    if (!m_bRemembered) {
        Remember();
        m_bRemembered = true;
    }
    CKoravelProject& project = m_doc.Project();
    project.m_pCurrentPLC = m_pPlcAfter;
    project.m_CommPara = m_commAfter;
    if (m_pPlcBefore != m_pPlcAfter) {
        project.RebindAll();
        // The control registers and the first alarm bit are addresses too; left bound to the
        // old PLC they would compile with its type codes.
        if (project.m_pSetting)
            RebindAddress(project.m_pSetting->m_Reg, m_pPlcAfter);
        if (project.m_pAlarmList)
            RebindAddress(project.m_pAlarmList->m_Alarm, m_pPlcAfter);
    }
    m_doc.NotifyPlc();
    m_doc.ShowCurrentPanel();
    m_doc.NotifyCanvas();
}

void CmdChangeDriver::undo() {
    CKoravelProject& project = m_doc.Project();
    project.m_pCurrentPLC = m_pPlcBefore;
    project.m_CommPara = m_commBefore;
    for (const auto& [element, memento] : m_elementsBefore)
        element->RestoreMemento(memento, m_pPlcBefore);
    if (m_settingRegBefore && project.m_pSetting)
        project.m_pSetting->m_Reg = *m_settingRegBefore;
    if (m_alarmBefore && project.m_pAlarmList)
        project.m_pAlarmList->m_Alarm = *m_alarmBefore;
    m_doc.NotifyPlc();
    m_doc.ShowCurrentPanel();
    m_doc.NotifyCanvas();
}

// References between frames: the panel finds frames by their ID, and a reference to an ID that
// no frame has does nothing on the panel.

#include "CheckContext.h"

#include "GEFuncKey.h"
#include "KoravelProject.h"

#include <set>

namespace {

// The panel shows the start frame for frame number 0, so 0 is never a missing frame.
bool Exists(const CKoravelProject& project, std::uint32_t id) {
    return id == 0 || project.FindFrame(static_cast<std::uint16_t>(id));
}

bool FrameHasKey(const CHMIFrame& frame, int comboBoxId) {
    for (const auto& part : frame.m_Parts) {
        if (part->m_nTypeCode == kTypeFunctionKey &&
            static_cast<const CGEFuncKey&>(*part).m_nComboBoxID == comboBoxId)
            return true;
    }
    return false;
}

// The frame table holds PrevID and NextID in 16 bits.
void CheckNeighbour(const CheckContext& context, const CHMIFrame& frame, std::int32_t id,
                    int keyComboBoxId, const QString& keyName) {
    const auto panelId = static_cast<std::uint16_t>(id);
    // A function key on the arrow key replaces the panel's own action.
    if (Exists(context.project, panelId) || FrameHasKey(frame, keyComboBoxId))
        return;
    context.Warning(FindingPlace::OfFrame(frame),
                    QStringLiteral("%1键的目标画面 %2 不存在，按键无反应").arg(keyName).arg(id));
}

void CheckFrames(const CheckContext& context) {
    std::set<std::uint16_t> seen;
    for (const auto& frame : context.project.m_Frames) {
        if (!seen.insert(frame->m_nID).second)
            context.Error(
                FindingPlace::OfFrame(*frame),
                QStringLiteral("画面号 %1 与前面的画面重复，面板只认第一个").arg(frame->m_nID));
        CheckNeighbour(context, *frame, frame->m_nPrevID, 3, QStringLiteral("↑"));
        CheckNeighbour(context, *frame, frame->m_nNextID, 4, QStringLiteral("↓"));
        for (std::size_t i = 0; i < frame->m_Parts.size(); ++i) {
            const CGraphBase& part = *frame->m_Parts[i];
            if (part.m_nTypeCode != kTypeFunctionKey)
                continue;
            const auto& key = static_cast<const CGEFuncKey&>(part);
            if (key.m_nType == kActionJumpFrame && key.m_SubJmp.m_nRadioID == 0 &&
                !Exists(context.project, key.m_SubJmp.m_nNumber))
                context.Error(
                    FindingPlace::OfElement(*frame, static_cast<int>(i)),
                    QStringLiteral("跳转的目标画面 %1 不存在").arg(key.m_SubJmp.m_nNumber));
        }
    }
}

void CheckSettings(const CheckContext& context) {
    // A project without settings is compiled with their defaults.
    const CKoravelSetting defaults(context.project.m_pCurrentPLC);
    const CKoravelSetting& setting =
        context.project.m_pSetting ? *context.project.m_pSetting : defaults;
    const FindingPlace place = FindingPlace::Of(CheckPart::kSettings);
    // Frame 0 stands for the start frame itself, so the start frame must exist.
    if (!context.project.FindFrame(setting.m_nBeginFrame))
        context.Error(
            place,
            QStringLiteral("初始画面 %1 不存在，面板开机后无画面").arg(setting.m_nBeginFrame));
    if (!setting.m_bBackLight && setting.m_nWaitTime != 0 &&
        !Exists(context.project, setting.m_nSaverFrame))
        context.Error(place, QStringLiteral("屏保画面 %1 不存在").arg(setting.m_nSaverFrame));
    if (setting.m_bUseFrame && !context.project.FindFrame(setting.m_nUseFrameIndex))
        context.Error(
            place,
            QStringLiteral("开机画面 %1 不存在，面板不显示开机画面").arg(setting.m_nUseFrameIndex));
}

} // namespace

void CheckReferences(const CheckContext& context) {
    CheckSettings(context);
    CheckFrames(context);
}

// What the panel and its image can hold: counts that records keep in one byte, four trends a
// frame, one action per key, and a password of the four digits the panel's entry takes.

#include "CheckContext.h"
#include "PanelText.h"

#include "FontRegistry.h"
#include "GEFuncKey.h"
#include "GERegister.h"
#include "GlyphLayout.h"
#include "KoravelProject.h"

#include <map>

namespace {

constexpr int kMaxCount = 0xFF;
constexpr int kMaxTrends = 4;
constexpr int kMaxPassword = 9999;
constexpr int kSetKey = 5; // ComboBoxID of "SET"

void CheckCounts(const CheckContext& context) {
    for (const auto& frame : context.project.m_Frames) {
        const int count = static_cast<int>(frame->m_Parts.size());
        if (count > kMaxCount)
            context.Error(
                FindingPlace::OfFrame(*frame),
                QStringLiteral("画面有 %1 个控件，面板最多 %2 个").arg(count).arg(kMaxCount));
    }
    std::map<std::pair<int, int>, int> entries; // in use, by frame ID and element
    int alarms = 0;
    for (const PanelText& text : PanelTexts(context.project)) {
        if (text.place.part == CheckPart::kAlarmList)
            ++alarms;
        else if (!text.label.isEmpty())
            ++entries[{text.place.frameId, text.place.element}];
        const int bytes = EncodedLength(text.text);
        if (bytes > kMaxTextBytes)
            context.Warning(
                text.place,
                Labelled(text.label,
                         QStringLiteral("文字 %1 字节，超过 %2 字节，面板只显示前面部分")
                             .arg(bytes)
                             .arg(kMaxTextBytes)));
    }
    for (const auto& [element, count] : entries) {
        if (count > kMaxCount)
            context.Error({CheckPart::kElement, element.first, element.second, kTypeDynamicText},
                          QStringLiteral("有 %1 个条目，面板最多 %2 个").arg(count).arg(kMaxCount));
    }
    if (alarms > kMaxCount)
        context.Error(
            FindingPlace::Of(CheckPart::kAlarmList),
            QStringLiteral("有 %1 条报警文字，面板最多 %2 条").arg(alarms).arg(kMaxCount));
}

// Trends beyond the fourth, keys bound twice, and a SET key that takes register entry away.
void CheckFrame(const CheckContext& context, const CHMIFrame& frame) {
    int trends = 0;
    std::map<int, int> keys; // ComboBoxID to the position of the key that has it
    int settable = -1;       // the first register that can be set on the panel
    for (int i = 0; i < static_cast<int>(frame.m_Parts.size()); ++i) {
        const CGraphBase& part = *frame.m_Parts[static_cast<std::size_t>(i)];
        const FindingPlace place = FindingPlace::OfElement(frame, i);
        if (part.m_nTypeCode == kTypeTrend && ++trends > kMaxTrends)
            context.Error(
                place,
                QStringLiteral("第 %1 个趋势图：每个画面最多 %2 个").arg(trends).arg(kMaxTrends));
        if (part.m_nTypeCode == kTypeRegister && settable < 0 &&
            static_cast<const CGERegister&>(part).m_bSetting)
            settable = i;
        if (part.m_nTypeCode != kTypeFunctionKey)
            continue;
        const int key = static_cast<const CGEFuncKey&>(part).m_nComboBoxID;
        const auto [it, first] = keys.emplace(key, i);
        if (!first)
            context.Warning(place, QStringLiteral("按键“%1”已由控件 %2 使用，面板只执行一个")
                                       .arg(KeyName(key))
                                       .arg(it->second));
    }
    const auto setKey = keys.find(kSetKey);
    if (settable >= 0 && setKey != keys.end())
        context.Warning(
            FindingPlace::OfElement(frame, settable),
            QStringLiteral("SET 键由控件 %1 使用，面板上无法输入数值").arg(setKey->second));
}

// Whether the panel asks for the password before some entry or action.
bool UsesPassword(const CKoravelProject& project) {
    for (const auto& frame : project.m_Frames) {
        for (const auto& part : frame->m_Parts) {
            if ((part->m_nTypeCode == kTypeRegister &&
                 static_cast<const CGERegister&>(*part).m_bEncrypt) ||
                (part->m_nTypeCode == kTypeFunctionKey &&
                 static_cast<const CGEFuncKey&>(*part).m_bVisible))
                return true;
        }
    }
    return false;
}

} // namespace

void CheckPanelLimits(const CheckContext& context) {
    const CKoravelSetting* setting = context.project.m_pSetting.get();
    if (setting && setting->m_nPassWord > kMaxPassword && UsesPassword(context.project))
        context.Error(
            FindingPlace::Of(CheckPart::kSettings),
            QStringLiteral("口令 %1 超过 4 位数，面板上无法输入").arg(setting->m_nPassWord));
    CheckCounts(context);
    for (const auto& frame : context.project.m_Frames)
        CheckFrame(context, *frame);
}

// Limits and values against the register they belong to. The records hold limits as 32-bit
// fields, which the panel reads signed or unsigned by the element's number format, and the
// dynamic text's values as 16-bit fields.

#include "CheckContext.h"
#include "PanelValue.h"

#include "GEBar.h"
#include "GEDynamicTxt.h"
#include "GEFuncKey.h"
#include "GERegister.h"
#include "GETrend.h"
#include "KoravelProject.h"

#include <map>

namespace {

QString RangeText(const ValueRange& range) {
    return QStringLiteral("%1～%2").arg(range.min).arg(range.max);
}

bool InRange(std::int64_t value, const ValueRange& range) {
    return value >= range.min && value <= range.max;
}

// A limit outside the register's values.
void CheckLimit(const CheckContext& context, const FindingPlace& place, const QString& name,
                std::int64_t value, const ValueRange& range, bool isSigned) {
    if (InRange(value, range))
        return;
    QString message =
        QStringLiteral("%1 %2 超出寄存器的范围 %3").arg(name).arg(value).arg(RangeText(range));
    const std::int64_t panel = PanelLimit(value, isSigned);
    if (panel != value)
        message += QStringLiteral("，面板读作 %1").arg(panel);
    context.Error(place, message);
}

void CheckRegister(const CheckContext& context, const FindingPlace& place, const CGERegister& e) {
    if (!e.m_bHaveLimit)
        return;
    const bool isSigned = e.m_nDataFormat == kFormatDecSign;
    const ValueRange range = e.GetValueRange();
    CheckLimit(context, place, QStringLiteral("输入上限"), e.m_nRawUpperLimit, range, isSigned);
    CheckLimit(context, place, QStringLiteral("输入下限"), e.m_nRawLowerLimit, range, isSigned);
    const std::int64_t upper = PanelLimit(e.m_nRawUpperLimit, isSigned);
    const std::int64_t lower = PanelLimit(e.m_nRawLowerLimit, isSigned);
    if (lower > upper)
        context.Error(place, QStringLiteral("面板上输入下限 %1 大于上限 %2，任何输入都被拒绝")
                                 .arg(lower)
                                 .arg(upper));
    if (e.m_nComboBoxID != 1)
        return;
    for (const auto& [name, value] :
         {std::pair{QStringLiteral("工程量上限"), e.m_nEngUpperLimit},
          std::pair{QStringLiteral("工程量下限"), e.m_nEngLowerLimit}}) {
        if (PanelLimit(value, isSigned) != value)
            context.Error(place, QStringLiteral("%1 %2 超出 32 位，面板读作 %3")
                                     .arg(name)
                                     .arg(value)
                                     .arg(PanelLimit(value, isSigned)));
    }
    if (lower == upper)
        context.Warning(
            place,
            QStringLiteral("输入上下限都是 %1，无法换算工程量，面板显示原始数据").arg(lower));
}

// Bar and trend: the value range between the two limits.
void CheckScale(const CheckContext& context, const FindingPlace& place, std::int64_t upperLimit,
                std::int64_t lowerLimit, int dataFormat, const ValueRange& range) {
    const bool isSigned = dataFormat == kFormatDecSign;
    CheckLimit(context, place, QStringLiteral("满额度值"), upperLimit, range, isSigned);
    CheckLimit(context, place, QStringLiteral("零额度值"), lowerLimit, range, isSigned);
    const std::int64_t upper = PanelLimit(upperLimit, isSigned);
    const std::int64_t lower = PanelLimit(lowerLimit, isSigned);
    if (lower >= upper)
        context.Warning(place,
                        QStringLiteral("零额度值 %1 不小于满额度值 %2").arg(lower).arg(upper));
}

void CheckKey(const CheckContext& context, const FindingPlace& place, const CGEFuncKey& key) {
    if (key.m_nType == kActionSetRegister) {
        const CFuncSubReg& action = key.m_SubReg;
        const bool isSigned = action.m_nDataFormat == kFormatDecSign;
        CheckLimit(context, place, QStringLiteral("写入值"), action.m_nParameter,
                   RangeForUnits(UnitCount(action.m_Reg), isSigned), isSigned);
    } else if (key.m_nType == kActionMultiSet) {
        const CFuncSubMulStatus& action = key.m_SubMulStatus;
        const bool isSigned = action.m_nDataFormat == kFormatDecSign;
        const ValueRange range = RangeForUnits(UnitCount(action.m_Reg), isSigned);
        if (action.m_nRadioID == 0)
            CheckLimit(context, place, QStringLiteral("上限"), action.m_nUpperLimit, range,
                       isSigned);
        else
            CheckLimit(context, place, QStringLiteral("下限"), action.m_nLowerLimit, range,
                       isSigned);
    }
}

// The panel picks the entry whose 16-bit value equals the low 16 bits of the register.
void CheckDynamicText(const CheckContext& context, const FindingPlace& place,
                      const CGEDynamicTxt& e) {
    const ValueRange range = e.GetValueRange();
    std::map<std::uint16_t, const CTextItem*> shown;
    for (const CTextItem& item : *e.m_pTexts) {
        if (!item.IsInUse())
            continue;
        if (!InRange(item.m_nValue, range))
            context.Warning(place, QStringLiteral("条目 %1 的值 %2 超出寄存器的范围 %3")
                                       .arg(item.m_nID)
                                       .arg(item.m_nValue)
                                       .arg(RangeText(range)));
        const auto [it, first] = shown.emplace(static_cast<std::uint16_t>(item.m_nValue), &item);
        if (first)
            continue;
        const CTextItem& earlier = *it->second;
        context.Warning(place,
                        earlier.m_nValue == item.m_nValue
                            ? QStringLiteral("条目 %1 与条目 %2 的值都是 %3，面板只显示条目 %2")
                                  .arg(item.m_nID)
                                  .arg(earlier.m_nID)
                                  .arg(item.m_nValue)
                            : QStringLiteral("条目 %1 的值 %2 与条目 %3 的值 %4 低 16 位相同，"
                                             "面板只显示条目 %3")
                                  .arg(item.m_nID)
                                  .arg(item.m_nValue)
                                  .arg(earlier.m_nID)
                                  .arg(earlier.m_nValue));
    }
}

void CheckAlarmValues(const CheckContext& context, const CAlarmList& alarms) {
    std::map<std::int64_t, const CTextItem*> seen;
    for (const CTextItem& item : *alarms.m_pTexts) {
        if (!item.IsInUse())
            continue;
        const auto [it, first] = seen.emplace(item.m_nValue, &item);
        if (!first)
            context.Warning(FindingPlace::Of(CheckPart::kAlarmList),
                            QStringLiteral("条目 %1 与条目 %2 的值都是 %3")
                                .arg(item.m_nID)
                                .arg(it->second->m_nID)
                                .arg(item.m_nValue));
    }
}

} // namespace

void CheckValues(const CheckContext& context) {
    if (context.project.m_pAlarmList)
        CheckAlarmValues(context, *context.project.m_pAlarmList);
    for (const auto& frame : context.project.m_Frames) {
        for (std::size_t i = 0; i < frame->m_Parts.size(); ++i) {
            const CGraphBase& part = *frame->m_Parts[i];
            const FindingPlace place = FindingPlace::OfElement(*frame, static_cast<int>(i));
            switch (part.m_nTypeCode) {
            case kTypeRegister:
                CheckRegister(context, place, static_cast<const CGERegister&>(part));
                break;
            case kTypeBar: {
                const auto& bar = static_cast<const CGEBar&>(part);
                CheckScale(context, place, bar.m_nUpperLimit, bar.m_nLowerLimit, bar.m_nDataFormat,
                           bar.GetValueRange());
                break;
            }
            case kTypeTrend: {
                const auto& trend = static_cast<const CGETrend&>(part);
                CheckScale(context, place, trend.m_nUpperLimit, trend.m_nLowerLimit,
                           trend.m_nDataFormat, trend.GetValueRange());
                break;
            }
            case kTypeFunctionKey:
                CheckKey(context, place, static_cast<const CGEFuncKey&>(part));
                break;
            case kTypeDynamicText:
                CheckDynamicText(context, place, static_cast<const CGEDynamicTxt&>(part));
                break;
            default:
                break;
            }
        }
    }
}

// What the panel draws against the panel's area and the element's box. The panel draws texts
// glyph by glyph (half-width glyphs size / 2 wide, full-width glyphs size wide), registers in a
// fixed count of half-width places, lamps and keys as fixed pictures.

#include "CheckContext.h"
#include "PanelText.h"
#include "PanelValue.h"

#include "GEDynamicTxt.h"
#include "GEFuncKey.h"
#include "GEIndicator.h"
#include "GEPicture.h"
#include "GERegister.h"
#include "GEStaticTxt.h"
#include "KoravelProject.h"

#include <QRect>

#include <algorithm>

namespace {

const QRect kPanel(0, 0, kPanelWidth, kPanelHeight);

// The places a register's field has: digits, a point when it has decimals, a sign when signed.
int RegisterPlaces(const CGERegister& reg) {
    return reg.m_byIntegerBits + (reg.m_byPointBits > 0 ? 1 : 0) +
           (reg.m_nDataFormat == kFormatDecSign ? 1 : 0);
}

bool IsDecimal(int dataFormat) {
    return dataFormat == kFormatDec || dataFormat == kFormatDecSign;
}

// `value` as the panel writes it into a register's field: sign, digits, the point before the
// last `pointBits` digits, a 0 before the point of a value below 1.
QString PanelNumber(std::int64_t value, int pointBits, bool decimal) {
    const std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    QString digits = QString::number(magnitude, decimal ? 10 : 16).toUpper();
    if (pointBits > 0) {
        digits = digits.rightJustified(pointBits + 1, u'0');
        digits.insert(digits.size() - pointBits, u'.');
    }
    return value < 0 ? u'-' + digits : digits;
}

// The values the register is expected to show: its engineering or input limits when it has
// them, else every value of the register.
ValueRange ShownValues(const CGERegister& reg) {
    const bool isSigned = reg.m_nDataFormat == kFormatDecSign;
    if (!reg.m_bHaveLimit)
        return reg.GetValueRange();
    const bool scaled = reg.m_nComboBoxID == 1;
    const std::int64_t a =
        PanelLimit(scaled ? reg.m_nEngLowerLimit : reg.m_nRawLowerLimit, isSigned);
    const std::int64_t b =
        PanelLimit(scaled ? reg.m_nEngUpperLimit : reg.m_nRawUpperLimit, isSigned);
    return {std::min(a, b), std::max(a, b)};
}

void CheckRegister(const CheckContext& context, const FindingPlace& place, const CGERegister& reg) {
    const int places = RegisterPlaces(reg);
    const ValueRange shown = ShownValues(reg);
    const bool decimal = IsDecimal(reg.m_nDataFormat);
    for (const std::int64_t value : {shown.min, shown.max}) {
        const QString text = PanelNumber(value, reg.m_byPointBits, decimal);
        if (text.size() > places) {
            context.Warning(place,
                            QStringLiteral("数值 %1 要 %2 位，显示宽度只有 %3 位，面板显示“?”")
                                .arg(text)
                                .arg(text.size())
                                .arg(places));
            break;
        }
    }
    const int width = places * (PanelGlyphSize(reg.m_nFontSize) / 2);
    if (width > reg.m_nWidth)
        context.Warning(place, QStringLiteral("数值在面板上宽 %1 像素，比控件宽 %2 像素")
                                   .arg(width)
                                   .arg(width - reg.m_nWidth));
}

// The longest entry on the panel against the screen and the box the designer shows.
void CheckDynamicText(const CheckContext& context, const FindingPlace& place,
                      const CGEDynamicTxt& text) {
    int widest = 0;
    const CTextItem* longest = nullptr;
    for (const CTextItem& item : *text.m_pTexts) {
        const int width = PanelTextWidth(item.m_strContent, text.m_nFontSize);
        if (item.IsInUse() && width > widest) {
            widest = width;
            longest = &item;
        }
    }
    if (!longest)
        return;
    const int over = text.m_nLeft + widest - kPanelWidth;
    if (over > 0)
        context.Warning(place, QStringLiteral("条目 %1 宽 %2 像素，右端超出屏幕 %3 像素")
                                   .arg(longest->m_nID)
                                   .arg(widest)
                                   .arg(over));
    else if (widest > text.m_nWidth)
        context.Warning(place, QStringLiteral("条目 %1 在面板上宽 %2 像素，比控件宽 %3 像素")
                                   .arg(longest->m_nID)
                                   .arg(widest)
                                   .arg(widest - text.m_nWidth));
}

void CheckStaticText(const CheckContext& context, const FindingPlace& place,
                     const CGEStaticTxt& text) {
    const int width = PanelTextWidth(text.m_strText, text.m_nFontSize);
    const int over = text.m_nLeft + width - kPanelWidth;
    if (width > kPanelWidth)
        context.Warning(place, QStringLiteral("文字宽 %1 像素，比屏幕还宽").arg(width));
    else if (over > 0)
        context.Warning(
            place, QStringLiteral("文字宽 %1 像素，右端超出屏幕 %2 像素").arg(width).arg(over));
}

// The compiler converts the element's Width x Height pixels, while the record gives the panel
// the bitmap's own size to draw them with.
void CheckPicture(const CheckContext& context, const FindingPlace& place,
                  const CGEPicture& picture) {
    if (picture.m_HeadBlock.isEmpty())
        return;
    if (picture.BitmapWidth() != picture.m_nWidth || picture.BitmapHeight() != picture.m_nHeight)
        context.Error(place, QStringLiteral("控件 %1×%2 与位图 %3×%4 大小不同，面板上图片错乱")
                                 .arg(picture.m_nWidth)
                                 .arg(picture.m_nHeight)
                                 .arg(picture.BitmapWidth())
                                 .arg(picture.BitmapHeight()));
}

// What the panel covers for the element; empty for a hidden key. How far texts reach to the
// right is checked apart.
QRect PanelArea(const CGraphBase& part) {
    const QPoint at(part.m_nLeft, part.m_nTop);
    const int large = part.m_bDouble ? 64 : 32;
    switch (part.m_nTypeCode) {
    case kTypeRegister: {
        const auto& reg = static_cast<const CGERegister&>(part);
        const int size = PanelGlyphSize(reg.m_nFontSize);
        return {at, QSize(RegisterPlaces(reg) * (size / 2), size)};
    }
    case kTypeDynamicText:
        return {at, QSize(1, PanelGlyphSize(static_cast<const CGEDynamicTxt&>(part).m_nFontSize))};
    case kTypeStaticText:
        return {at, QSize(1, PanelGlyphSize(static_cast<const CGEStaticTxt&>(part).m_nFontSize))};
    case kTypeIndicator:
        return {at, QSize(large, large)};
    case kTypeFunctionKey: {
        const auto& key = static_cast<const CGEFuncKey&>(part);
        return key.m_bHide ? QRect() : QRect(at, QSize(large * (key.m_bHand ? 2 : 1), large));
    }
    case kTypePicture: {
        const auto& picture = static_cast<const CGEPicture&>(part);
        return {at, QSize(picture.BitmapWidth(), picture.BitmapHeight())};
    }
    default:
        return {at, QSize(part.m_nWidth, part.m_nHeight)};
    }
}

} // namespace

void CheckFit(const CheckContext& context) {
    for (const auto& frame : context.project.m_Frames) {
        for (std::size_t i = 0; i < frame->m_Parts.size(); ++i) {
            const CGraphBase& part = *frame->m_Parts[i];
            const FindingPlace place = FindingPlace::OfElement(*frame, static_cast<int>(i));
            switch (part.m_nTypeCode) {
            case kTypeStaticText:
                CheckStaticText(context, place, static_cast<const CGEStaticTxt&>(part));
                break;
            case kTypeDynamicText:
                CheckDynamicText(context, place, static_cast<const CGEDynamicTxt&>(part));
                break;
            case kTypeRegister:
                CheckRegister(context, place, static_cast<const CGERegister&>(part));
                break;
            case kTypePicture:
                CheckPicture(context, place, static_cast<const CGEPicture&>(part));
                break;
            default:
                break;
            }
            const QRect area = PanelArea(part);
            if (!area.isEmpty() && !kPanel.contains(area))
                context.Error(place, QStringLiteral("超出屏幕：位置 (%1, %2)，大小 %3×%4")
                                         .arg(area.left())
                                         .arg(area.top())
                                         .arg(area.width())
                                         .arg(area.height()));
        }
    }
}

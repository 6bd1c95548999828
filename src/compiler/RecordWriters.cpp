#include "RecordWriters.h"

#include "GEBar.h"
#include "GEDynamicTxt.h"
#include "GEFuncKey.h"
#include "GEIndicator.h"
#include "GEPicture.h"
#include "GERegister.h"
#include "GEStaticTxt.h"
#include "GETrend.h"
#include "HMIFrame.h"
#include "ImageBytes.h"
#include "KeyAction.h"
#include "ModelAddress.h"
#include "RecordLayout.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <vector>

namespace {

std::uint32_t FormatFlags(int dataFormat) {
    if (dataFormat == kFormatDecSign)
        return kFlagSigned | kFlagDecimal;
    return dataFormat == kFormatDec ? kFlagDecimal : 0;
}

std::uint32_t ShapeFlags(const CGraphBase& element) {
    return (element.m_bReverse ? kFlagReverse : 0) | (element.m_bDouble ? kFlagDouble : 0);
}

std::uint32_t LocalFlag(const CPLCAddress& address) {
    return address.Encode().local ? kFlagLocal : 0;
}

std::uint32_t BackgroundFlag(const CGraphBase& element) {
    return element.m_nSameColor != 0 ? kDrawBackground : 0;
}

// The texts keep their background flag in the double-size bit as well.
std::uint32_t TextFlags(const CGraphBase& element) {
    return (element.m_bReverse ? kFlagReverse : 0) |
           (element.m_bDouble || BackgroundFlag(element) ? kFlagDouble : 0);
}

// A record of `size` zero bytes that starts with the element's position.
QByteArray NewRecord(const CGraphBase& element, std::uint32_t size) {
    QByteArray record(size, '\0');
    PutBE16(record, RecordHeadLayout::kLeft, static_cast<std::uint16_t>(element.m_nLeft));
    PutBE16(record, RecordHeadLayout::kTop, static_cast<std::uint16_t>(element.m_nTop));
    return record;
}

void PutSize(QByteArray& out, std::uint32_t widthAt, std::uint32_t heightAt,
             const CGraphBase& element) {
    PutBE16(out, widthAt, static_cast<std::uint16_t>(element.m_nWidth));
    PutBE16(out, heightAt, static_cast<std::uint16_t>(element.m_nHeight));
}

std::uint16_t AddressField(const PLCAddressCode& code) {
    return static_cast<std::uint16_t>(code.address[0] << 8 | code.address[1]);
}

bool UnitCountFits(const PLCAddressCode& code, QString& problem) {
    if (code.unitCount >= 0 && code.unitCount <= 0xFF)
        return true;
    problem = QStringLiteral("地址的单元数 %1 超过 255").arg(code.unitCount);
    return false;
}

bool PutWordAddress(QByteArray& out, std::uint32_t at, const CPLCAddress& address,
                    QString& problem) {
    namespace Layout = WordAddressLayout;
    const PLCAddressCode code = address.Encode();
    if (!UnitCountFits(code, problem))
        return false;
    PutU8(out, at + Layout::kStation, code.station);
    PutU8(out, at + Layout::kType, code.typeCode);
    PutBE16(out, at + Layout::kAddress, AddressField(code));
    PutU8(out, at + Layout::kUnits, static_cast<std::uint32_t>(code.unitCount));
    PutU8(out, at + Layout::kSubAddress, code.subAddr);
    return true;
}

// The address that opens a key's parameter block.
void PutKeyAddress(QByteArray& out, const PLCAddressCode& code, std::uint32_t units,
                   std::uint32_t shift) {
    namespace Layout = KeyAddressLayout;
    const std::uint32_t at = FunctionKeyLayout::kParameters;
    PutU8(out, at + Layout::kStation, code.station);
    PutU8(out, at + Layout::kType, code.typeCode);
    PutU8(out, at + Layout::kUnits, units);
    PutBE16(out, at + Layout::kAddress, AddressField(code));
    PutU8(out, at + Layout::kSubAddress, code.subAddr);
    PutU8(out, at + Layout::kShift, shift);
}

// A word address at the head of a key's parameter block: its units and no shift.
bool PutKeyWordAddress(QByteArray& out, const CPLCAddress& address, QString& problem) {
    const PLCAddressCode code = address.Encode();
    if (!UnitCountFits(code, problem))
        return false;
    PutKeyAddress(out, code, static_cast<std::uint32_t>(code.unitCount), 0);
    return true;
}

bool EncodeText(RecordContext& context, const QString& text, const QString& face, int size,
                QByteArray& out, QString& problem) {
    if (context.fonts.Encode(CutToTextBytes(text), face, size, out))
        return true;
    problem = QStringLiteral("字体“%1”的字符超过 %2 个").arg(face).arg(kMaxFullWidthGlyphs);
    return false;
}

bool StaticTextRecord(const CGEStaticTxt& e, RecordContext& context, QByteArray& out,
                      QString& problem) {
    namespace Layout = StaticTextLayout;
    QByteArray text;
    if (!EncodeText(context, e.m_strText, e.m_strFontName, e.m_nFontSize, text, problem))
        return false;
    out = NewRecord(e, Layout::kText);
    PutU8(out, RecordHeadLayout::kFlags, TextFlags(e));
    PutU8(out, Layout::kCount, static_cast<std::uint32_t>(text.size()));
    PutBE16(out, Layout::kForeground, Rgb565(e.m_nForeColor));
    PutBE16(out, Layout::kBackground, Rgb565(e.m_nBkColor));
    PutU8(out, Layout::kBackgroundFlag, BackgroundFlag(e));
    PutU8(out, Layout::kFont,
          static_cast<std::uint32_t>(context.fonts.FontNumber(e.m_strFontName)));
    PutU8(out, Layout::kSizeIndex, static_cast<std::uint32_t>(SizeIndex(e.m_nFontSize)));
    out.append(text);
    return true;
}

bool RegisterRecord(const CGERegister& e, RecordContext& context, QByteArray& out,
                    QString& problem) {
    namespace Layout = RegisterLayout;
    out = NewRecord(e, Layout::kSize);
    PutU8(out, RecordHeadLayout::kFlags,
          ShapeFlags(e) | FormatFlags(e.m_nDataFormat) | LocalFlag(e.m_Reg) |
              (e.m_bHaveLimit ? kRegHaveLimit : 0) | (e.m_nComboBoxID == 1 ? kRegScaling : 0) |
              (e.m_bEncrypt ? kRegEncrypt : 0));
    if (!PutWordAddress(out, Layout::kAddress, e.m_Reg, problem))
        return false;
    PutU8(out, Layout::kWidth,
          e.m_byIntegerBits + (e.m_byPointBits > 0 ? 1u : 0u) +
              (e.m_nDataFormat == kFormatDecSign ? 1u : 0u));
    PutU8(out, Layout::kPointBits, e.m_byPointBits);
    PutBE16(out, Layout::kForeground, Rgb565(e.m_nForeColor));
    PutBE16(out, Layout::kBackground, Rgb565(e.m_nBkColor));
    PutBE16(out, Layout::kBorderColour, Rgb565(e.m_nBorderColor));
    PutU8(out, Layout::kBackgroundFlag, BackgroundFlag(e));
    PutU8(out, Layout::kBorder, static_cast<std::uint32_t>(e.m_nUseBorder));
    PutU8(out, Layout::kFont,
          static_cast<std::uint32_t>(context.fonts.FontNumber(e.m_strFontName)));
    PutU8(out, Layout::kSizeIndex, static_cast<std::uint32_t>(SizeIndex(e.m_nFontSize)));
    PutU8(out, Layout::kFlags2,
          (e.m_bSetting ? kRegSetting : 0) | (e.m_nFrontZero != 0 ? kRegFrontZero : 0) |
              (e.m_bFillZero ? kRegFillZero : 0));
    PutBE32(out, Layout::kRawUpper, static_cast<std::uint32_t>(e.m_nRawUpperLimit));
    PutBE32(out, Layout::kRawLower, static_cast<std::uint32_t>(e.m_nRawLowerLimit));
    PutBE32(out, Layout::kEngUpper, static_cast<std::uint32_t>(e.m_nEngUpperLimit));
    PutBE32(out, Layout::kEngLower, static_cast<std::uint32_t>(e.m_nEngLowerLimit));
    return true;
}

void IndicatorRecord(const CGEIndicator& e, QByteArray& out) {
    namespace Layout = IndicatorLayout;
    out = NewRecord(e, Layout::kSize);
    // A positive lamp lights while its bit is 1.
    PutU8(out, RecordHeadLayout::kFlags,
          ShapeFlags(e) | (e.m_nLogic == 0 ? kLampPositive : 0) |
              (e.m_nShape == 0 ? kLampRound : 0));
    PutBitAddress(out, Layout::kAddress, e.m_Wire.Encode());
    PutSize(out, Layout::kWidth, Layout::kHeight, e);
    // The lamp colours go in as they are stored, not converted.
    PutBE16(out, Layout::kOnColour, static_cast<std::uint16_t>(e.m_nONColor));
    PutBE16(out, Layout::kOffColour, static_cast<std::uint16_t>(e.m_nOFFColor));
}

std::uint32_t KeyActionCode(const CGEFuncKey& e) {
    switch (e.m_nType) {
    case kActionSetWire:
        return ActionCode::kSetBitGroup + static_cast<std::uint32_t>(e.m_SubWire.m_nRadioID);
    case kActionSetRegister:
        return ActionCode::kSetRegister;
    case kActionJumpFrame:
        return ActionCode::kJumpGroup +
               static_cast<std::uint32_t>(std::clamp(e.m_SubJmp.m_nRadioID, 0, 4));
    case kActionRecipe:
        return ActionCode::kRecipeGroup + static_cast<std::uint32_t>(e.m_SubRecipe.m_nRadioID);
    default:
        return ActionCode::kMultiStatusGroup +
               static_cast<std::uint32_t>(e.m_SubMulStatus.m_nRadioID);
    }
}

std::uint32_t KeyFlags(const CGEFuncKey& e) {
    std::uint32_t flags = ShapeFlags(e) | (e.m_bHide ? kKeyHide : 0) | (e.m_bHand ? kKeyHand : 0) |
                          (e.m_bVisible ? kKeyProtected : 0);
    if (const CPLCAddress* address = e.MainAddress())
        flags |= LocalFlag(*address);
    if (e.m_nType == kActionSetRegister)
        flags |= FormatFlags(e.m_SubReg.m_nDataFormat);
    if (e.m_nType == kActionMultiSet && e.m_SubMulStatus.m_nDataFormat == kFormatDecSign)
        flags |= kFlagSigned;
    return flags;
}

// The record's size by the key's action; an unknown action has no parameter block.
std::uint32_t KeyRecordSize(const CGEFuncKey& e) {
    switch (e.m_nType) {
    case kActionSetWire:
        return FunctionKeyLayout::kSetBitSize;
    case kActionSetRegister:
        return FunctionKeyLayout::kSetRegisterSize;
    case kActionJumpFrame:
        return FunctionKeyLayout::kJumpSize;
    case kActionRecipe:
        return FunctionKeyLayout::kRecipeSize;
    case kActionMultiSet:
        return FunctionKeyLayout::kMultiStatusSize;
    default:
        return FunctionKeyLayout::kParameters;
    }
}

bool KeyParameters(const CGEFuncKey& e, QByteArray& out, QString& problem) {
    namespace Layout = FunctionKeyLayout;
    switch (e.m_nType) {
    case kActionSetWire: {
        const PLCAddressCode code = e.m_SubWire.m_Wire.Encode();
        PutKeyAddress(out, code, 0, code.shift);
        return true;
    }
    case kActionSetRegister:
        if (!PutKeyWordAddress(out, e.m_SubReg.m_Reg, problem))
            return false;
        PutBE32(out, Layout::kValue, static_cast<std::uint32_t>(e.m_SubReg.m_nParameter));
        return true;
    case kActionJumpFrame:
        PutBE16(out, Layout::kJumpFrame, e.m_SubJmp.m_nNumber);
        return true;
    case kActionRecipe: {
        const CFuncSubRecipe& recipe = e.m_SubRecipe;
        if (!PutKeyWordAddress(out, recipe.m_Reg, problem))
            return false;
        PutU8(out, Layout::kAddrInc, static_cast<std::uint32_t>(AddrInc(recipe.m_Reg)));
        PutBE16(out, Layout::kTransferLength, static_cast<std::uint16_t>(recipe.m_nTransferLen));
        PutBE16(out, Layout::kTransferLimit,
                static_cast<std::uint16_t>(recipe.m_nRadioID == 2 ? recipe.m_nTransferLimitUp
                                                                  : recipe.m_nTransferLimitDown));
        return true;
    }
    case kActionMultiSet: {
        const CFuncSubMulStatus& multi = e.m_SubMulStatus;
        if (!PutKeyWordAddress(out, multi.m_Reg, problem))
            return false;
        const bool add = multi.m_nRadioID == 0;
        PutBE16(out, Layout::kStep,
                static_cast<std::uint16_t>(add ? multi.m_nAddDelta : multi.m_nSubDelta));
        PutBE32(out, Layout::kLimit,
                static_cast<std::uint32_t>(add ? multi.m_nUpperLimit : multi.m_nLowerLimit));
        return true;
    }
    default:
        problem = QStringLiteral("按键动作 %1 未知").arg(e.m_nType);
        return false;
    }
}

bool FunctionKeyRecord(const CGEFuncKey& e, RecordContext& context, QByteArray& out,
                       QString& problem) {
    namespace Layout = FunctionKeyLayout;
    out = NewRecord(e, KeyRecordSize(e));
    PutU8(out, RecordHeadLayout::kFlags, KeyFlags(e));
    PutU8(out, Layout::kGrade, e.m_byGrade);
    PutU8(out, Layout::kAction, KeyActionCode(e));
    PutU8(out, Layout::kKeyCode, static_cast<std::uint32_t>(KeyCode(e.m_nComboBoxID)));
    PutBE16(out, Layout::kPicture, e.m_bHide ? 0 : KeyPictureNumber(e.m_nComboBoxID, context.keyPictures));
    return KeyParameters(e, out, problem);
}

void PictureRecord(const CGEPicture& e, int pictureNumber, QByteArray& out) {
    namespace Layout = PictureLayout;
    out = NewRecord(e, Layout::kSize);
    PutBE16(out, Layout::kWidth, static_cast<std::uint16_t>(e.BitmapWidth()));
    PutBE16(out, Layout::kHeight, static_cast<std::uint16_t>(e.BitmapHeight()));
    PutBE16(out, Layout::kNumber, static_cast<std::uint16_t>(pictureNumber));
}

// DrawDir 0 up, 1 down, 2 left, 3 right.
std::uint32_t BarDirectionCode(int drawDir) {
    constexpr std::array<BarDirection, 4> kCodes{kBarUp, kBarDown, kBarLeft, kBarRight};
    return kCodes[static_cast<std::size_t>(std::clamp(drawDir, 0, 3))];
}

bool BarRecord(const CGEBar& e, QByteArray& out, QString& problem) {
    namespace Layout = BarLayout;
    out = NewRecord(e, Layout::kSize);
    PutU8(out, RecordHeadLayout::kFlags, FormatFlags(e.m_nDataFormat) | LocalFlag(e.m_Reg));
    if (!PutWordAddress(out, Layout::kAddress, e.m_Reg, problem))
        return false;
    PutSize(out, Layout::kWidth, Layout::kHeight, e);
    PutBE32(out, Layout::kUpper, static_cast<std::uint32_t>(e.m_nUpperLimit));
    PutBE32(out, Layout::kLower, static_cast<std::uint32_t>(e.m_nLowerLimit));
    PutU8(out, Layout::kDirection, BarDirectionCode(e.m_nDrawDir));
    PutBE16(out, Layout::kForeground, Rgb565(e.m_nForeColor));
    PutBE16(out, Layout::kBackground, Rgb565(e.m_nBkColor));
    return true;
}

bool TrendRecord(const CGETrend& e, const RecordContext& context, QByteArray& out,
                 QString& problem) {
    namespace Layout = TrendLayout;
    out = NewRecord(e, Layout::kSize);
    PutU8(out, RecordHeadLayout::kFlags,
          kTrendFlag | FormatFlags(e.m_nDataFormat) | LocalFlag(e.m_Reg));
    if (!PutWordAddress(out, Layout::kAddress, e.m_Reg, problem))
        return false;
    PutSize(out, Layout::kWidth, Layout::kHeight, e);
    PutU8(out, Layout::kSamplingPoint, static_cast<std::uint32_t>(e.m_nSamplingPoint));
    PutBE32(out, Layout::kUpper, static_cast<std::uint32_t>(e.m_nUpperLimit));
    PutBE32(out, Layout::kLower, static_cast<std::uint32_t>(e.m_nLowerLimit));
    PutBE16(out, Layout::kSamplingTime, static_cast<std::uint16_t>(e.m_nSamplingTime));
    PutBE16(out, Layout::kBackground, Rgb565(e.m_nBackColor));
    PutBE16(out, Layout::kForeground, Rgb565(e.m_nForeColor));
    PutBE16(out, Layout::kPen, Rgb565(e.m_nPenColor));
    PutU8(out, Layout::kTrendCount, static_cast<std::uint32_t>(context.trendCount));
    PutU8(out, Layout::kTrendNumber, static_cast<std::uint32_t>(context.trendNumber));
    return true;
}

bool DynamicTextRecord(const CGEDynamicTxt& e, RecordContext& context, QByteArray& out,
                       QString& problem) {
    namespace Layout = DynamicTextLayout;
    struct Item {
        std::uint16_t value;
        QByteArray text;
    };
    std::vector<Item> items;
    int longest = 0;
    for (const CTextItem& item : *e.m_pTexts) {
        if (!item.IsInUse())
            continue;
        QByteArray text;
        if (!EncodeText(context, item.m_strContent, e.m_strFontName, e.m_nFontSize, text, problem))
            return false;
        longest = std::max(longest, static_cast<int>(text.size()));
        items.push_back({static_cast<std::uint16_t>(item.m_nValue), text});
    }
    if (items.size() > 0xFF) {
        problem = QStringLiteral("文字条目有 %1 个，超过 255 个").arg(items.size());
        return false;
    }
    const auto count = static_cast<std::uint32_t>(items.size());
    const int font = context.fonts.RegisteredFontNumber(e.m_strFontName);
    out = NewRecord(e, Layout::kEntries + Layout::kEntrySize * count);
    PutU8(out, RecordHeadLayout::kFlags, TextFlags(e));
    if (!PutWordAddress(out, Layout::kAddress, e.m_Reg, problem))
        return false;
    PutU8(out, Layout::kItemCount, count);
    PutU8(out, Layout::kLongest, static_cast<std::uint32_t>(longest));
    PutBE16(out, Layout::kForeground, Rgb565(e.m_nForeColor));
    PutBE16(out, Layout::kBackground, Rgb565(e.m_nBkColor));
    PutU8(out, Layout::kBackgroundFlag, BackgroundFlag(e));
    PutU8(out, Layout::kFont, static_cast<std::uint32_t>(font));
    PutU8(out, Layout::kSizeIndex, static_cast<std::uint32_t>(SizeIndex(e.m_nFontSize)));
    std::uint32_t entry = Layout::kEntries;
    std::uint32_t offset = 0;
    for (const Item& item : items) {
        PutBE16(out, entry + Layout::kEntryValue, item.value);
        PutBE32(out, entry + Layout::kEntryOffset, offset);
        entry += Layout::kEntrySize;
        offset += TextItemLayout::kText + static_cast<std::uint32_t>(item.text.size());
    }
    for (const Item& item : items)
        AppendTextItem(out, item.text);
    return true;
}

bool AppendRecord(const CGraphBase& element, RecordContext& context, QByteArray& out,
                  QString& problem) {
    switch (element.m_nTypeCode) {
    case kTypeStaticText:
        return StaticTextRecord(static_cast<const CGEStaticTxt&>(element), context, out, problem);
    case kTypeRegister:
        return RegisterRecord(static_cast<const CGERegister&>(element), context, out, problem);
    case kTypeIndicator:
        IndicatorRecord(static_cast<const CGEIndicator&>(element), out);
        return true;
    case kTypeFunctionKey:
        return FunctionKeyRecord(static_cast<const CGEFuncKey&>(element), context, out, problem);
    case kTypePicture:
        PictureRecord(static_cast<const CGEPicture&>(element), context.pictureNumber++, out);
        return true;
    case kTypeBar:
        return BarRecord(static_cast<const CGEBar&>(element), out, problem);
    case kTypeTrend:
        return TrendRecord(static_cast<const CGETrend&>(element), context, out, problem);
    case kTypeDynamicText:
        return DynamicTextRecord(static_cast<const CGEDynamicTxt&>(element), context, out, problem);
    default:
        problem = QStringLiteral("控件类型 %1 未知").arg(element.m_nTypeCode);
        return false;
    }
}

QStringList KeyPictureBaseNames() {
    QStringList names{QStringLiteral("ESC"), QStringLiteral("SET"), QStringLiteral("ALM"),
                      QStringLiteral("CLR"), QStringLiteral("←"),   QStringLiteral("→"),
                      QStringLiteral("↑"),   QStringLiteral("↓")};
    for (int i = 0; i <= 9; ++i)
        names.append(QString::number(i));
    for (const char* prefix : {"F", "K", "T"}) {
        for (int i = 1; i <= 8; ++i)
            names.append(QLatin1String(prefix) + QString::number(i));
    }
    return names;
}

} // namespace

void AppendFrameRecord(const CHMIFrame& frame, std::uint32_t indexAddress, QByteArray& frames) {
    namespace Layout = FrameLayout;
    QByteArray record(Layout::kSize, '\0');
    PutBE16(record, Layout::kId, frame.m_nID);
    PutU8(record, Layout::kElementCount, static_cast<std::uint32_t>(frame.m_Parts.size()));
    PutBE16(record, Layout::kPrevId, static_cast<std::uint16_t>(frame.m_nPrevID));
    PutBE16(record, Layout::kNextId, static_cast<std::uint16_t>(frame.m_nNextID));
    PutBE32(record, Layout::kIndexAddress, indexAddress);
    PutBE16(record, Layout::kBackground, Rgb565(frame.m_nBkColor));
    frames.append(record);
}

bool AppendElementRecord(const CGraphBase& element, RecordContext& context, QByteArray& index,
                         QByteArray& records, QString& problem) {
    QByteArray record;
    if (!AppendRecord(element, context, record, problem))
        return false;
    QByteArray entry(IndexEntryLayout::kSize, '\0');
    PutU8(entry, IndexEntryLayout::kType, static_cast<std::uint32_t>(element.m_nTypeCode));
    PutBE32(entry, IndexEntryLayout::kRecord, static_cast<std::uint32_t>(records.size()));
    records.append(record);
    index.append(entry);
    return true;
}

void PutBitAddress(QByteArray& out, qsizetype at, const PLCAddressCode& code) {
    namespace Layout = BitAddressLayout;
    PutU8(out, at + Layout::kStation, code.station);
    PutU8(out, at + Layout::kType, code.typeCode);
    PutBE16(out, at + Layout::kAddress, AddressField(code));
    PutU8(out, at + Layout::kSubAddress, code.subAddr);
    PutU8(out, at + Layout::kShift, code.shift);
}

void AppendTextItem(QByteArray& out, const QByteArray& text) {
    QByteArray head(TextItemLayout::kText, '\0');
    PutU8(head, TextItemLayout::kCount, static_cast<std::uint32_t>(text.size()));
    out.append(head);
    out.append(text);
}

std::uint16_t KeyPictureNumber(int comboBoxId, QStringList& keyPictures) {
    static const QStringList baseNames = KeyPictureBaseNames();
    if (comboBoxId < 0 || comboBoxId >= baseNames.size())
        return 0;
    const QString up = baseNames[comboBoxId] + QStringLiteral("_UP");
    qsizetype position = keyPictures.indexOf(up);
    if (position < 0) {
        position = keyPictures.size();
        keyPictures.append(up);
        keyPictures.append(baseNames[comboBoxId] + QStringLiteral("_DOWN"));
    }
    return static_cast<std::uint16_t>(kKeyPictureBase + position);
}

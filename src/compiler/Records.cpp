#include "Records.h"

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
#include "ModelAddress.h"

#include <algorithm>

namespace {

constexpr std::uint32_t kFlagReverse = 0x01;
constexpr std::uint32_t kFlagDouble = 0x02;
constexpr std::uint32_t kFlagSigned = 0x10;
constexpr std::uint32_t kFlagDecimal = 0x20;
constexpr std::uint32_t kFlagLocal = 0x80;

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
    return element.m_nSameColor != 0 ? 1 : 0;
}

void PutPosition(QByteArray& out, const CGraphBase& element) {
    AppendBE16(out, static_cast<std::uint32_t>(element.m_nLeft));
    AppendBE16(out, static_cast<std::uint32_t>(element.m_nTop));
}

void PutSize(QByteArray& out, const CGraphBase& element) {
    AppendBE16(out, static_cast<std::uint32_t>(element.m_nWidth));
    AppendBE16(out, static_cast<std::uint32_t>(element.m_nHeight));
}

bool UnitCountFits(const PLCAddressCode& code, QString& problem) {
    if (code.unitCount >= 0 && code.unitCount <= 0xFF)
        return true;
    problem = QStringLiteral("地址的单元数 %1 超过 255").arg(code.unitCount);
    return false;
}

// Station, type code, address, unit count, sub-address.
bool PutAddressBlock(QByteArray& out, const CPLCAddress& address, QString& problem) {
    const PLCAddressCode code = address.Encode();
    if (!UnitCountFits(code, problem))
        return false;
    PutU8(out, code.station);
    PutU8(out, code.typeCode);
    PutU8(out, code.address[0]);
    PutU8(out, code.address[1]);
    PutU8(out, static_cast<std::uint32_t>(code.unitCount));
    PutU8(out, code.subAddr);
    return true;
}

// The head of a key's parameter block: station, type code, unit count, address, sub-address.
bool PutKeyAddress(QByteArray& out, const CPLCAddress& address, QString& problem) {
    const PLCAddressCode code = address.Encode();
    if (!UnitCountFits(code, problem))
        return false;
    PutU8(out, code.station);
    PutU8(out, code.typeCode);
    PutU8(out, static_cast<std::uint32_t>(code.unitCount));
    PutU8(out, code.address[0]);
    PutU8(out, code.address[1]);
    PutU8(out, code.subAddr);
    PutU8(out, 0);
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
    QByteArray text;
    if (!EncodeText(context, e.m_strText, e.m_strFontName, e.m_nFontSize, text, problem))
        return false;
    PutPosition(out, e);
    PutU8(out,
          (e.m_bReverse ? kFlagReverse : 0) | (e.m_bDouble || BackgroundFlag(e) ? kFlagDouble : 0));
    PutU8(out, static_cast<std::uint32_t>(text.size()));
    AppendBE16(out, Rgb565(e.m_nForeColor));
    AppendBE16(out, Rgb565(e.m_nBkColor));
    PutU8(out, BackgroundFlag(e));
    PutU8(out, static_cast<std::uint32_t>(context.fonts.FontNumber(e.m_strFontName)));
    PutU8(out, static_cast<std::uint32_t>(SizeIndex(e.m_nFontSize)));
    out.append(text);
    return true;
}

bool RegisterRecord(const CGERegister& e, RecordContext& context, QByteArray& out,
                    QString& problem) {
    PutPosition(out, e);
    PutU8(out, ShapeFlags(e) | FormatFlags(e.m_nDataFormat) | LocalFlag(e.m_Reg) |
                   (e.m_bHaveLimit ? 0x04 : 0) | (e.m_nComboBoxID == 1 ? 0x08 : 0) |
                   (e.m_bEncrypt ? 0x40 : 0));
    if (!PutAddressBlock(out, e.m_Reg, problem))
        return false;
    PutU8(out, e.m_byIntegerBits + (e.m_byPointBits > 0 ? 1u : 0u) +
                   (e.m_nDataFormat == kFormatDecSign ? 1u : 0u));
    PutU8(out, e.m_byPointBits);
    AppendBE16(out, Rgb565(e.m_nForeColor));
    AppendBE16(out, Rgb565(e.m_nBkColor));
    AppendBE16(out, Rgb565(e.m_nBorderColor));
    PutU8(out, BackgroundFlag(e));
    PutU8(out, static_cast<std::uint32_t>(e.m_nUseBorder));
    PutU8(out, static_cast<std::uint32_t>(context.fonts.FontNumber(e.m_strFontName)));
    PutU8(out, static_cast<std::uint32_t>(SizeIndex(e.m_nFontSize)));
    PutU8(out, (e.m_bSetting ? 0x01 : 0) | (e.m_nFrontZero != 0 ? 0x10 : 0) |
                   (e.m_bFillZero ? 0x20 : 0));
    for (const std::int64_t limit :
         {e.m_nRawUpperLimit, e.m_nRawLowerLimit, e.m_nEngUpperLimit, e.m_nEngLowerLimit})
        AppendBE32(out, static_cast<std::uint32_t>(limit));
    return true;
}

void IndicatorRecord(const CGEIndicator& e, QByteArray& out) {
    const PLCAddressCode code = e.m_Wire.Encode();
    PutPosition(out, e);
    // 0x08 marks a positive lamp: the panel lights it while its bit is 1.
    PutU8(out, ShapeFlags(e) | (e.m_nLogic == 0 ? 0x08 : 0) | (e.m_nShape == 0 ? 0x10 : 0));
    PutU8(out, code.station);
    PutU8(out, code.typeCode);
    PutU8(out, code.address[0]);
    PutU8(out, code.address[1]);
    PutU8(out, 0);
    PutU8(out, code.subAddr);
    PutU8(out, code.shift);
    PutSize(out, e);
    AppendBE16(out, e.m_nONColor);
    AppendBE16(out, e.m_nOFFColor);
}

std::uint32_t ActionCode(const CGEFuncKey& e) {
    switch (e.m_nType) {
    case kActionSetWire:
        return 0x10 + static_cast<std::uint32_t>(e.m_SubWire.m_nRadioID);
    case kActionSetRegister:
        return 0x20;
    case kActionJumpFrame:
        return 0x80 + static_cast<std::uint32_t>(std::clamp(e.m_SubJmp.m_nRadioID, 0, 4));
    case kActionRecipe:
        return 0x40 + static_cast<std::uint32_t>(e.m_SubRecipe.m_nRadioID);
    default:
        return 0x30 + static_cast<std::uint32_t>(e.m_SubMulStatus.m_nRadioID);
    }
}

std::uint32_t KeyFlags(const CGEFuncKey& e) {
    std::uint32_t flags =
        ShapeFlags(e) | (e.m_bHide ? 0x04 : 0) | (e.m_bHand ? 0x08 : 0) | (e.m_bVisible ? 0x40 : 0);
    if (const CPLCAddress* address = e.MainAddress())
        flags |= LocalFlag(*address);
    if (e.m_nType == kActionSetRegister)
        flags |= FormatFlags(e.m_SubReg.m_nDataFormat);
    if (e.m_nType == kActionMultiSet && e.m_SubMulStatus.m_nDataFormat == kFormatDecSign)
        flags |= kFlagSigned;
    return flags;
}

bool KeyParameters(const CGEFuncKey& e, QByteArray& out, QString& problem) {
    switch (e.m_nType) {
    case kActionSetWire: {
        const PLCAddressCode code = e.m_SubWire.m_Wire.Encode();
        PutU8(out, code.station);
        PutU8(out, code.typeCode);
        PutU8(out, 0);
        PutU8(out, code.address[0]);
        PutU8(out, code.address[1]);
        PutU8(out, code.subAddr);
        PutU8(out, code.shift);
        return true;
    }
    case kActionSetRegister:
        if (!PutKeyAddress(out, e.m_SubReg.m_Reg, problem))
            return false;
        AppendBE32(out, static_cast<std::uint32_t>(e.m_SubReg.m_nParameter));
        return true;
    case kActionJumpFrame:
        AppendBE16(out, e.m_SubJmp.m_nNumber);
        return true;
    case kActionRecipe: {
        const CFuncSubRecipe& recipe = e.m_SubRecipe;
        if (!PutKeyAddress(out, recipe.m_Reg, problem))
            return false;
        PutU8(out, static_cast<std::uint32_t>(AddrInc(recipe.m_Reg)));
        AppendBE16(out, recipe.m_nTransferLen);
        AppendBE16(out, recipe.m_nRadioID == 2 ? recipe.m_nTransferLimitUp
                                               : recipe.m_nTransferLimitDown);
        return true;
    }
    case kActionMultiSet: {
        const CFuncSubMulStatus& multi = e.m_SubMulStatus;
        if (!PutKeyAddress(out, multi.m_Reg, problem))
            return false;
        const bool add = multi.m_nRadioID == 0;
        AppendBE16(out, static_cast<std::uint32_t>(add ? multi.m_nAddDelta : multi.m_nSubDelta));
        AppendBE32(out,
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
    PutPosition(out, e);
    PutU8(out, KeyFlags(e));
    PutU8(out, e.m_byGrade);
    PutU8(out, ActionCode(e));
    PutU8(out, static_cast<std::uint32_t>(KeyCode(e.m_nComboBoxID)));
    AppendBE16(out, e.m_bHide ? 0 : KeyPictureNumber(e.m_nComboBoxID, context.keyPictures));
    return KeyParameters(e, out, problem);
}

void PictureRecord(const CGEPicture& e, int pictureNumber, QByteArray& out) {
    PutPosition(out, e);
    PutU8(out, 0);
    AppendBE16(out, static_cast<std::uint32_t>(e.BitmapWidth()));
    AppendBE16(out, static_cast<std::uint32_t>(e.BitmapHeight()));
    AppendBE16(out, static_cast<std::uint32_t>(pictureNumber));
}

bool BarRecord(const CGEBar& e, QByteArray& out, QString& problem) {
    PutPosition(out, e);
    PutU8(out, FormatFlags(e.m_nDataFormat) | LocalFlag(e.m_Reg));
    if (!PutAddressBlock(out, e.m_Reg, problem))
        return false;
    PutSize(out, e);
    AppendBE32(out, static_cast<std::uint32_t>(e.m_nUpperLimit));
    AppendBE32(out, static_cast<std::uint32_t>(e.m_nLowerLimit));
    PutU8(out, 1u << std::clamp(e.m_nDrawDir, 0, 3));
    AppendBE16(out, Rgb565(e.m_nForeColor));
    AppendBE16(out, Rgb565(e.m_nBkColor));
    return true;
}

bool TrendRecord(const CGETrend& e, const RecordContext& context, QByteArray& out,
                 QString& problem) {
    PutPosition(out, e);
    PutU8(out, 0x40 | FormatFlags(e.m_nDataFormat) | LocalFlag(e.m_Reg));
    if (!PutAddressBlock(out, e.m_Reg, problem))
        return false;
    PutSize(out, e);
    PutU8(out, static_cast<std::uint32_t>(e.m_nSamplingPoint));
    AppendBE32(out, static_cast<std::uint32_t>(e.m_nUpperLimit));
    AppendBE32(out, static_cast<std::uint32_t>(e.m_nLowerLimit));
    AppendBE16(out, e.m_nSamplingTime);
    AppendBE16(out, Rgb565(e.m_nBackColor));
    AppendBE16(out, Rgb565(e.m_nForeColor));
    AppendBE16(out, Rgb565(e.m_nPenColor));
    PutU8(out, static_cast<std::uint32_t>(context.trendCount));
    PutU8(out, static_cast<std::uint32_t>(context.trendNumber));
    return true;
}

bool DynamicTextRecord(const CGEDynamicTxt& e, RecordContext& context, QByteArray& out,
                       QString& problem) {
    QByteArray entries;
    QByteArray items;
    int count = 0;
    int longest = 0;
    for (const CTextItem& item : *e.m_pTexts) {
        if (!item.IsInUse())
            continue;
        QByteArray text;
        if (!EncodeText(context, item.m_strContent, e.m_strFontName, e.m_nFontSize, text, problem))
            return false;
        AppendBE16(entries, static_cast<std::uint32_t>(item.m_nValue));
        AppendBE32(entries, static_cast<std::uint32_t>(items.size()));
        PutU8(items, 0);
        PutU8(items, static_cast<std::uint32_t>(text.size()));
        items.append(text);
        longest = std::max(longest, static_cast<int>(text.size()));
        ++count;
    }
    if (count > 0xFF) {
        problem = QStringLiteral("文字条目有 %1 个，超过 255 个").arg(count);
        return false;
    }
    const int font = context.fonts.RegisteredFontNumber(e.m_strFontName);
    PutPosition(out, e);
    PutU8(out,
          (e.m_bReverse ? kFlagReverse : 0) | (e.m_bDouble || BackgroundFlag(e) ? kFlagDouble : 0));
    if (!PutAddressBlock(out, e.m_Reg, problem))
        return false;
    PutU8(out, 0);
    PutU8(out, static_cast<std::uint32_t>(count));
    PutU8(out, static_cast<std::uint32_t>(longest));
    AppendBE16(out, Rgb565(e.m_nForeColor));
    AppendBE16(out, Rgb565(e.m_nBkColor));
    PutU8(out, BackgroundFlag(e));
    PutU8(out, static_cast<std::uint32_t>(font));
    PutU8(out, static_cast<std::uint32_t>(SizeIndex(e.m_nFontSize)));
    out.append(entries);
    out.append(items);
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
    AppendBE16(frames, frame.m_nID);
    PutU8(frames, static_cast<std::uint32_t>(frame.m_Parts.size()));
    AppendBE16(frames, static_cast<std::uint32_t>(frame.m_nPrevID));
    AppendBE16(frames, static_cast<std::uint32_t>(frame.m_nNextID));
    AppendBE32(frames, indexAddress);
    AppendBE16(frames, Rgb565(frame.m_nBkColor));
}

bool AppendElementRecord(const CGraphBase& element, RecordContext& context, QByteArray& index,
                         QByteArray& records, QString& problem) {
    const auto offset = static_cast<std::uint32_t>(records.size());
    QByteArray record;
    if (!AppendRecord(element, context, record, problem))
        return false;
    records.append(record);
    PutU8(index, static_cast<std::uint32_t>(element.m_nTypeCode));
    AppendBE32(index, offset);
    return true;
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
    return static_cast<std::uint16_t>(0xC000 + position);
}

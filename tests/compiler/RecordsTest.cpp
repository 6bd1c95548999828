#include "CompileHelper.h"
#include "CompilerTestSupport.h"
#include "GEBar.h"
#include "GEDynamicTxt.h"
#include "GEFuncKey.h"
#include "GEIndicator.h"
#include "GERegister.h"
#include "GETrend.h"
#include "RecordWriters.h"

#include <gtest/gtest.h>

namespace {

void BindWord(CPLCAddress& address, const char* type, int station, int addr, int sub = 0) {
    address.SetRegType(UnitType(PLC_WORD, type), 0);
    address.SetStation(static_cast<std::uint8_t>(station));
    address.SetAddress(static_cast<std::uint16_t>(addr));
    address.SetSubAddr(static_cast<std::uint8_t>(sub));
}

TEST(Records, FunctionKeyRecordsByAction) {
    struct Case {
        int type;
        int radio;
        int length;
        QByteArray head; // bytes 4..7: flags, grade, action, key code
        QByteArray block;
    };
    const Case cases[] = {
        {kActionJumpFrame, 1, 12, QByteArray("\x00\x03\x81\x06", 4), QByteArray("\x00\x09", 2)},
        {kActionJumpFrame, 7, 12, QByteArray("\x00\x03\x84\x06", 4), QByteArray("\x00\x09", 2)},
        {kActionSetWire, 3, 17, QByteArray("\x00\x03\x13\x06", 4),
         QByteArray("\x02\x01\x00\x01\x02\x00\x05", 7)},
        {kActionSetRegister, 0, 21, QByteArray("\x20\x03\x20\x06", 4),
         QByteArray("\x02\x04\x10\x01\x02\x03\x00\xFF\xFF\xFF\xFE", 11)},
        {kActionRecipe, 2, 22, QByteArray("\x00\x03\x42\x06", 4),
         QByteArray("\x02\x04\x10\x01\x02\x03\x00\x01\x00\x08\x00\x64", 12)},
        {kActionMultiSet, 1, 23, QByteArray("\x10\x03\x31\x06", 4),
         QByteArray("\x02\x04\x10\x01\x02\x03\x00\x00\x04\xFF\xFF\xFF\xF6", 13)},
    };
    for (const Case& c : cases) {
        auto project = NewProject();
        CGEFuncKey& key = AddElement<CGEFuncKey>(*project);
        key.m_nLeft = 0x0102;
        key.m_nTop = 0x0304;
        key.m_nType = c.type;
        key.m_byGrade = 3;
        key.m_nComboBoxID = 2; // "→", code 6
        key.m_SubJmp.m_nRadioID = c.radio;
        key.m_SubJmp.m_nNumber = 9;
        key.m_SubWire.m_nRadioID = c.radio;
        key.m_SubWire.m_Wire.SetRegType(UnitType(PLC_BIT, "X"), 0);
        key.m_SubWire.m_Wire.SetStation(2);
        key.m_SubWire.m_Wire.SetAddress(0x0102);
        key.m_SubWire.m_Wire.SetShift(5);
        BindWord(key.m_SubReg.m_Reg, "W", 2, 0x0102, 3);
        key.m_SubReg.m_nParameter = -2;
        key.m_SubReg.m_nDataFormat = kFormatHex;
        key.m_SubRecipe.m_nRadioID = c.radio;
        BindWord(key.m_SubRecipe.m_Reg, "W", 2, 0x0102, 3);
        key.m_SubRecipe.m_nTransferLen = 8;
        key.m_SubRecipe.m_nTransferLimitUp = 100;
        key.m_SubMulStatus.m_nRadioID = c.radio;
        key.m_SubMulStatus.m_nDataFormat = kFormatDecSign;
        BindWord(key.m_SubMulStatus.m_Reg, "W", 2, 0x0102, 3);
        key.m_SubMulStatus.m_nSubDelta = 4;
        key.m_SubMulStatus.m_nLowerLimit = -10;
        // A second record shows where this one ends.
        AddElement<CGEFuncKey>(*project).m_nType = kActionJumpFrame;
        if (c.type == kActionSetRegister)
            key.m_SubReg.m_nDataFormat = kFormatDec;
        const QByteArray image = CompileImage(*project);
        const std::uint32_t at = RecordAddress(image, 0);
        SCOPED_TRACE(c.type * 10 + c.radio);
        EXPECT_EQ(RecordLength(image, 0), c.length);
        EXPECT_EQ(At(image, at, 4), QByteArray("\x01\x02\x03\x04", 4));
        EXPECT_EQ(At(image, at + 4, 4), c.head);
        EXPECT_EQ(BE16(image, at + 8) & 0xFF00, 0xC000u);
        EXPECT_EQ(At(image, at + 10, c.length - 10), c.block);
    }
}

TEST(Records, KeyPicturesArePairsAndHiddenKeysHaveNone) {
    auto project = NewProject();
    CGEFuncKey& hidden = AddElement<CGEFuncKey>(*project);
    hidden.m_bHide = true;
    hidden.m_nComboBoxID = 30;
    CGEFuncKey& first = AddElement<CGEFuncKey>(*project);
    first.m_nComboBoxID = 31;
    CGEFuncKey& again = AddElement<CGEFuncKey>(*project);
    again.m_nComboBoxID = 31;
    CGEFuncKey& second = AddElement<CGEFuncKey>(*project);
    second.m_nComboBoxID = 32;
    const QByteArray image = CompileImage(*project);
    EXPECT_EQ(BE16(image, RecordAddress(image, 0) + 8), 0u);
    EXPECT_EQ(U8(image, RecordAddress(image, 0) + 4) & 0x04, 0x04);
    const std::uint32_t number = BE16(image, RecordAddress(image, 1) + 8);
    EXPECT_EQ(BE16(image, RecordAddress(image, 2) + 8), number);
    EXPECT_EQ(BE16(image, RecordAddress(image, 3) + 8), number + 2);
    EXPECT_EQ(U8(image, RecordAddress(image, 1) + 7), 0) << "no key code above 19";
}

TEST(Records, RegisterRecord) {
    auto project = NewProject();
    CGERegister& reg = AddElement<CGERegister>(*project);
    reg.m_nLeft = 10;
    reg.m_nTop = 20;
    reg.m_bReverse = true;
    reg.m_nDataFormat = kFormatDecSign;
    reg.m_bHaveLimit = true;
    reg.m_nComboBoxID = 1;
    reg.m_bEncrypt = true;
    BindWord(reg.m_Reg, "D", 1, 0x0A0B, 2);
    reg.m_byIntegerBits = 5;
    reg.m_byPointBits = 2;
    reg.m_nForeColor = 0x000000FF;
    reg.m_nBkColor = 0x00FF0000;
    reg.m_nBorderColor = 0x0000FF00;
    reg.m_nSameColor = 1;
    reg.m_nUseBorder = 2;
    reg.m_nFontSize = 48;
    reg.m_bSetting = true;
    reg.m_nFrontZero = 1;
    reg.m_bFillZero = true;
    reg.m_nRawUpperLimit = 0x1'0000'0005;
    reg.m_nRawLowerLimit = -1;
    reg.m_nEngUpperLimit = 1000;
    reg.m_nEngLowerLimit = 0;
    const QByteArray image = CompileImage(*project);
    EXPECT_EQ(RecordLength(image, 0), 40);
    EXPECT_EQ(At(image, RecordAddress(image, 0), 40).toHex(),
              QByteArray("000a0014"
                         "7d"           // reverse, limit, engineering, signed, decimal, encrypt
                         "01050a0b2002" // station, type, address, 32 units, sub-address
                         "0702"         // 5 digits + point + sign, 2 decimals
                         "f800001f07e0"
                         "0102000331"
                         "00000005ffffffff000003e800000000"));
}

TEST(Records, UnitCountAbove255FailsTheCompile) {
    auto project = NewProject();
    AddElement<CGERegister>(*project);
    CGERegister& reg = AddElement<CGERegister>(*project);
    BindWord(reg.m_Reg, "W", 1, 0);
    reg.m_Reg.SetRegNum(15);
    const QByteArray fits = CompileImage(*project);
    EXPECT_EQ(U8(fits, RecordAddress(fits, 1) + 9), 240) << "15 x 16 bits fit";
    reg.m_Reg.SetRegNum(16);
    QByteArray image;
    QString error;
    EXPECT_FALSE(CCompileHelper().Compile(*project, image, error));
    EXPECT_TRUE(error.contains(QStringLiteral("画面 1 的第 2 个控件（Register）")))
        << error.toStdString();
    EXPECT_TRUE(error.contains("256"));
}

TEST(Records, IndicatorFlagsMarkPositiveAndRoundLamps) {
    const struct {
        int logic, shape;
        int flags;
    } cases[] = {{0, 0, 0x18}, {1, 0, 0x10}, {0, 1, 0x08}, {1, 1, 0x00}};
    for (const auto& c : cases) {
        auto project = NewProject();
        CGEIndicator& lamp = AddElement<CGEIndicator>(*project);
        lamp.m_nLogic = c.logic;
        lamp.m_nShape = c.shape;
        const QByteArray image = CompileImage(*project);
        EXPECT_EQ(U8(image, RecordAddress(image, 0) + 4) & 0x18, c.flags)
            << "logic " << c.logic << " shape " << c.shape;
    }
}

TEST(Records, BarAndTrendRecords) {
    auto project = NewProject();
    CGEBar& bar = AddElement<CGEBar>(*project);
    bar.m_nWidth = 300;
    bar.m_nHeight = 20;
    bar.m_nDrawDir = 2;
    bar.m_nDataFormat = kFormatHex;
    bar.m_nUpperLimit = 1000;
    BindWord(bar.m_Reg, "W", 1, 5);
    for (int i = 0; i < 2; ++i) {
        CGETrend& trend = AddElement<CGETrend>(*project);
        trend.m_nDataFormat = kFormatDec;
        trend.m_nSamplingPoint = 30;
        trend.m_nSamplingTime = 0x0102;
    }
    const QByteArray image = CompileImage(*project);
    const std::uint32_t at = RecordAddress(image, 0);
    EXPECT_EQ(RecordLength(image, 0), 28);
    EXPECT_EQ(U8(image, at + 4), 0);
    EXPECT_EQ(At(image, at + 11, 2), QByteArray("\x01\x2C", 2));
    EXPECT_EQ(BE32(image, at + 15), 1000u);
    EXPECT_EQ(U8(image, at + 23), 4);
    for (int n = 1; n <= 2; ++n) {
        const std::uint32_t trend = RecordAddress(image, n);
        EXPECT_EQ(RecordLength(image, n), 34);
        EXPECT_EQ(U8(image, trend + 4), 0x60);
        EXPECT_EQ(U8(image, trend + 15), 30);
        EXPECT_EQ(BE16(image, trend + 24), 0x0102u);
        EXPECT_EQ(U8(image, trend + 32), 2) << "trends of the frame";
        EXPECT_EQ(U8(image, trend + 33), n - 1) << "this trend's number";
    }
}

TEST(Records, DynamicTextWritesOnlyItemsWithText) {
    auto project = NewProject();
    CGEDynamicTxt& text = AddElement<CGEDynamicTxt>(*project);
    CTextList& items = *text.m_pTexts;
    for (int i = 0; i < 3; ++i)
        items[i].m_nValue = 0x10 + i;
    items[0].m_strContent = "ab";
    items[1].m_strContent.clear();
    items[2].m_strContent = QStringLiteral("一c");
    text.m_nFontSize = 16;
    const QByteArray image = CompileImage(*project);
    const std::uint32_t at = RecordAddress(image, 0);
    EXPECT_EQ(U8(image, at + 12), 2);
    EXPECT_EQ(U8(image, at + 13), 3);
    EXPECT_EQ(At(image, at + 21, 12).toHex(), QByteArray("001000000000"
                                                         "001200000004"));
    EXPECT_EQ(At(image, at + 33, 9).toHex(), QByteArray("00020001"
                                                        "0003c00002"));
    EXPECT_EQ(RecordLength(image, 0), 42);
}

TEST(Records, DynamicTextWith256ItemsFails) {
    auto project = NewProject();
    CGEDynamicTxt& text = AddElement<CGEDynamicTxt>(*project);
    for (CTextItem& item : *text.m_pTexts)
        item.m_strContent = "x";
    QByteArray image;
    QString error;
    EXPECT_FALSE(CCompileHelper().Compile(*project, image, error));
    EXPECT_TRUE(error.contains(QStringLiteral("画面 1 的第 1 个控件"))) << error.toStdString();
    (*text.m_pTexts)[0].m_strContent.clear();
    const QByteArray fits = CompileImage(*project);
    EXPECT_EQ(U8(fits, RecordAddress(fits, 0) + 12), 255);
}

TEST(Records, FrameWith256ElementsFails) {
    auto project = NewProject();
    for (int i = 0; i < 256; ++i)
        AddElement<CGEBar>(*project);
    QByteArray image;
    QString error;
    EXPECT_FALSE(CCompileHelper().Compile(*project, image, error));
    EXPECT_TRUE(error.contains(QStringLiteral("画面 1"))) << error.toStdString();
    project->m_Frames[0]->TakeElement(255);
    const QByteArray fits = CompileImage(*project);
    EXPECT_EQ(U8(fits, LE32(fits, 2) + 2), 255);
}

} // namespace

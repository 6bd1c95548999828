// The compiler writes and the Emulator reads the same image: a project holding every record kind
// and every key action is compiled, and each record is read back with the Emulator's readers.

#include "CompilerTestSupport.h"
#include "DisplayMemory.h"
#include "GEBar.h"
#include "GEDynamicTxt.h"
#include "GEFuncKey.h"
#include "GEIndicator.h"
#include "GEPicture.h"
#include "GERegister.h"
#include "GEStaticTxt.h"
#include "GETrend.h"
#include "ImageHeader.h"
#include "PanelDrawing.h"
#include "RecordReaders.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <vector>

namespace {

const QString kFaceA = QStringLiteral("ReadBack A");
const QString kFaceB = QStringLiteral("ReadBack B");
const QString kFaceC = QStringLiteral("ReadBack C");

void Bind(CPLCAddress& address, int kind, const char* type, int station, int addr, int sub = 0,
          int shift = 0) {
    address.SetRegType(UnitType(kind, type), 0);
    address.SetStation(static_cast<std::uint8_t>(station));
    address.SetAddress(static_cast<std::uint16_t>(addr));
    address.SetSubAddr(static_cast<std::uint8_t>(sub));
    if (shift != 0)
        address.SetShift(static_cast<std::uint8_t>(shift));
}

void ExpectAddress(const PlcAddress& a, int station, int type, int address, int units, int sub,
                   int shift) {
    EXPECT_EQ(a.station, station);
    EXPECT_EQ(a.type, type);
    EXPECT_EQ(a.address, address);
    EXPECT_EQ(a.units, units);
    EXPECT_EQ(a.subAddress, sub);
    EXPECT_EQ(a.shift, shift);
}

std::vector<int> TextBytes(const PanelImage& image, const TextRun& run) {
    std::vector<int> bytes;
    for (uint32_t i = 0; i < run.count; ++i)
        bytes.push_back(image.Byte(run.bytes + i));
    return bytes;
}

// Every action a key's record can carry, by the key's Type and RadioID.
struct KeyCase {
    int type;
    int radio;
    int action;
};
const KeyCase kKeyCases[] = {
    {kActionSetWire, 0, 0x10},   {kActionSetWire, 1, 0x11},     {kActionSetWire, 2, 0x12},
    {kActionSetWire, 3, 0x13},   {kActionSetRegister, 0, 0x20}, {kActionMultiSet, 0, 0x30},
    {kActionMultiSet, 1, 0x31},  {kActionRecipe, 0, 0x40},      {kActionRecipe, 1, 0x41},
    {kActionRecipe, 2, 0x42},    {kActionRecipe, 3, 0x43},      {kActionJumpFrame, 0, 0x80},
    {kActionJumpFrame, 1, 0x81}, {kActionJumpFrame, 2, 0x82},   {kActionJumpFrame, 3, 0x83},
    {kActionJumpFrame, 4, 0x84},
};
constexpr int kKeyCaseCount = static_cast<int>(std::size(kKeyCases));
// One key per entry of the designer's key list, so every key code is written too.
constexpr int kKeys = 20;

const KeyCase& KeyCaseOf(int key) {
    return kKeyCases[key % kKeyCaseCount];
}

void AddFunctionKeys(CKoravelProject& project) {
    for (int i = 0; i < kKeys; ++i) {
        CGEFuncKey& key = AddElement<CGEFuncKey>(project, 1);
        const KeyCase& c = KeyCaseOf(i);
        key.m_nLeft = 10 * i;
        key.m_nTop = 200;
        key.m_nComboBoxID = i;
        key.m_nType = c.type;
        key.m_byGrade = static_cast<std::uint8_t>(i);
        key.m_bDouble = i == 5;
        key.m_bHand = i % 2 == 0;
        key.m_bVisible = i % 3 == 0;
        key.m_bHide = i == kKeys - 1;
        key.m_SubWire.m_nRadioID = c.radio;
        Bind(key.m_SubWire.m_Wire, PLC_BIT, "X", 2, 0x0102, 0, 5);
        Bind(key.m_SubReg.m_Reg, PLC_WORD, "W", 2, 0x0102, 3);
        key.m_SubReg.m_nParameter = -2;
        key.m_SubReg.m_nDataFormat = kFormatDec;
        key.m_SubJmp.m_nRadioID = c.radio;
        key.m_SubJmp.m_nNumber = 9;
        key.m_SubRecipe.m_nRadioID = c.radio;
        Bind(key.m_SubRecipe.m_Reg, PLC_WORD, "W", 2, 0x0102, 3);
        key.m_SubRecipe.m_nTransferLen = 8;
        key.m_SubRecipe.m_nTransferLimitUp = 100;
        key.m_SubRecipe.m_nTransferLimitDown = 4;
        key.m_SubMulStatus.m_nRadioID = c.radio;
        key.m_SubMulStatus.m_nDataFormat = kFormatDecSign;
        Bind(key.m_SubMulStatus.m_Reg, PLC_WORD, "W", 2, 0x0102, 3);
        key.m_SubMulStatus.m_nAddDelta = 3;
        key.m_SubMulStatus.m_nSubDelta = 4;
        key.m_SubMulStatus.m_nUpperLimit = 50;
        key.m_SubMulStatus.m_nLowerLimit = -10;
    }
}

// Frame 1 holds one element of every other kind, two trends among them; frame 2 the keys.
std::unique_ptr<CKoravelProject> EveryKindProject() {
    auto project = NewProject(2);
    CHMIFrame& first = *project->m_Frames[0];
    first.m_nPrevID = 2;
    first.m_nNextID = 2;
    first.m_nBkColor = 0x000000FF;
    CHMIFrame& second = *project->m_Frames[1];
    second.m_nPrevID = 1;
    second.m_nNextID = 1;
    second.m_nBkColor = 0x00FF0000;

    CKoravelSetting& setting = project->EnsureSetting();
    setting.m_nBeginFrame = 2;
    setting.m_bBackLight = false;
    setting.m_nSaverFrame = 2;
    setting.m_nWaitTime = 7;
    setting.m_nPassWord = 4321;
    setting.m_bAutoChange = true;
    setting.m_bReportFrame = true;
    setting.m_bUseFrame = true;
    setting.m_bCanOffline = true;
    setting.m_nUseFrameSecond = 5;
    setting.m_nUseFrameIndex = 1;
    Bind(setting.m_Reg, PLC_WORD, "W", 4, 0x0030, 1);

    CAlarmList& alarms = project->EnsureAlarmList();
    Bind(alarms.m_Alarm, PLC_ALARM, "A", 3, 0x0120, 4, 2);
    alarms.m_strFontName = kFaceA;
    alarms.m_nFontSize = 16;
    alarms.m_nBkColor = 0x000000FF;
    alarms.m_nTxtBkColor = 0x0000FF00;
    alarms.m_nTxtForeColor = 0x00FF0000;
    alarms.m_bTextBackground = true;
    (*alarms.m_pTexts)[0].m_strContent = "ab";
    (*alarms.m_pTexts)[2].m_strContent = "c";

    CGEStaticTxt& text = AddElement<CGEStaticTxt>(*project);
    text.m_nLeft = 10;
    text.m_nTop = 20;
    text.m_strText = QStringLiteral("A汉B");
    text.m_strFontName = kFaceB;
    text.m_nFontSize = 24;
    text.m_nForeColor = 0x0000FF00;
    text.m_nBkColor = 0x00FFFFFF;
    text.m_nSameColor = 1;

    CGERegister& reg = AddElement<CGERegister>(*project);
    reg.m_nLeft = 30;
    reg.m_nTop = 40;
    reg.m_bReverse = true;
    reg.m_nDataFormat = kFormatDecSign;
    reg.m_bHaveLimit = true;
    reg.m_nComboBoxID = 1;
    reg.m_bEncrypt = true;
    Bind(reg.m_Reg, PLC_WORD, "D", 1, 0x0A0B, 2);
    reg.m_byIntegerBits = 5;
    reg.m_byPointBits = 2;
    reg.m_nForeColor = 0x000000FF;
    reg.m_nBkColor = 0x00FF0000;
    reg.m_nBorderColor = 0x0000FF00;
    reg.m_nSameColor = 1;
    reg.m_nUseBorder = 2;
    reg.m_strFontName = kFaceA;
    reg.m_nFontSize = 48;
    reg.m_bSetting = true;
    reg.m_nFrontZero = 1;
    reg.m_bFillZero = true;
    reg.m_nRawUpperLimit = 1000;
    reg.m_nRawLowerLimit = -1;
    reg.m_nEngUpperLimit = 100;
    reg.m_nEngLowerLimit = 0;

    CGEIndicator& lamp = AddElement<CGEIndicator>(*project);
    lamp.m_nLeft = 50;
    lamp.m_nTop = 60;
    lamp.m_nWidth = 64;
    lamp.m_nHeight = 64;
    lamp.m_bDouble = true;
    lamp.m_nLogic = 0;
    lamp.m_nShape = 0;
    Bind(lamp.m_Wire, PLC_BIT, "X", 2, 0x0102, 0, 5);
    lamp.m_nONColor = 0x0000F800;
    lamp.m_nOFFColor = 0x00001234;

    CGEPicture& picture = AddElement<CGEPicture>(*project);
    QImage bitmap(4, 2, QImage::Format_RGB32);
    bitmap.fill(qRgb(255, 0, 0));
    EXPECT_TRUE(picture.SetBitmap(bitmap));
    picture.m_nLeft = 70;
    picture.m_nTop = 80;
    picture.m_nWidth = 4;
    picture.m_nHeight = 2;

    CGEBar& bar = AddElement<CGEBar>(*project);
    bar.m_nLeft = 90;
    bar.m_nTop = 100;
    bar.m_nWidth = 300;
    bar.m_nHeight = 20;
    bar.m_nDrawDir = 2;
    bar.m_nDataFormat = kFormatHex;
    Bind(bar.m_Reg, PLC_WORD, "W", 1, 5);
    bar.m_nUpperLimit = 1000;
    bar.m_nLowerLimit = -5;
    bar.m_nForeColor = 0x0000FF00;
    bar.m_nBkColor = 0x00FFFFFF;

    for (int i = 0; i < 2; ++i) {
        CGETrend& trend = AddElement<CGETrend>(*project);
        trend.m_nLeft = 110;
        trend.m_nTop = 120;
        trend.m_nWidth = 200;
        trend.m_nHeight = 100;
        trend.m_nDataFormat = kFormatDec;
        Bind(trend.m_Reg, PLC_WORD, "W", 1, 7);
        trend.m_nSamplingPoint = 30;
        trend.m_nUpperLimit = 500;
        trend.m_nLowerLimit = 0;
        trend.m_nSamplingTime = 0x0102;
        trend.m_nBackColor = 0x00000000;
        trend.m_nForeColor = 0x00FFFFFF;
        trend.m_nPenColor = 0x000000FF;
    }

    CGEDynamicTxt& dynamic = AddElement<CGEDynamicTxt>(*project);
    dynamic.m_nLeft = 130;
    dynamic.m_nTop = 140;
    dynamic.m_nSameColor = 0;
    Bind(dynamic.m_Reg, PLC_WORD, "W", 1, 9);
    dynamic.m_strFontName = kFaceC;
    dynamic.m_nFontSize = 16;
    dynamic.m_nForeColor = 0x000000FF;
    dynamic.m_nBkColor = 0x00FF0000;
    CTextList& items = *dynamic.m_pTexts;
    items[0].m_nValue = 0;
    items[0].m_strContent = "OFF";
    items[1].m_nValue = 1;
    items[1].m_strContent.clear();
    items[2].m_nValue = 2;
    items[2].m_strContent = "ON";

    AddFunctionKeys(*project);
    return project;
}

class ReadBack : public ::testing::Test {
protected:
    void SetUp() override {
        auto project = EveryKindProject();
        const QByteArray bytes = CompileImage(*project);
        const auto* data = reinterpret_cast<const uint8_t*>(bytes.constData());
        m_image = PanelImage(std::vector<uint8_t>(data, data + bytes.size()));
        m_header = ReadHeader(m_image);
    }

    // The records of a frame by type code, in index order.
    std::map<int, std::vector<uint32_t>> Records(uint16_t frameId) const {
        std::map<int, std::vector<uint32_t>> records;
        const std::optional<FrameRecord> frame = FindFrame(m_image, m_header, frameId);
        EXPECT_TRUE(frame) << frameId;
        for (uint32_t i = 0; frame && i < frame->elementCount; ++i) {
            const IndexEntry entry =
                ReadIndexEntry(m_image, frame->indexAddress + IndexEntryLayout::kSize * i);
            records[entry.type].push_back(entry.record);
        }
        return records;
    }

    PanelImage m_image;
    ImageHeader m_header;
};

TEST_F(ReadBack, HeaderAndFrames) {
    ASSERT_TRUE(HasHeaderMagic(m_image));
    EXPECT_EQ(m_header.fullWidthTable, 0x8044u);
    EXPECT_EQ(m_header.plcId, 1);
    EXPECT_EQ(m_header.frameCount, 2);
    EXPECT_EQ(m_header.beginFrame, 2);
    EXPECT_EQ(m_header.saverFrame, 2);
    EXPECT_EQ(m_header.waitTime, 7);
    EXPECT_EQ(m_header.settingStation, 4);
    EXPECT_EQ(m_header.settingType, 4);
    EXPECT_EQ(m_header.settingAddress, 0x0030);
    EXPECT_EQ(m_header.settingAddrInc, 1);
    EXPECT_EQ(m_header.settingSubAddress, 1);
    EXPECT_EQ(m_header.options, 0x01 | 0x02 | 0x10 | 0x20);
    EXPECT_TRUE(m_header.alarms);
    EXPECT_TRUE(m_header.entryProtection);
    EXPECT_EQ(m_header.password, 4321);
    EXPECT_EQ(m_header.useFrameSecond, 5);
    EXPECT_EQ(m_header.useFrameIndex, 1);

    const std::optional<FrameRecord> first = FindFrame(m_image, m_header, 1);
    const std::optional<FrameRecord> second = FindFrame(m_image, m_header, 2);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->elementCount, 8);
    EXPECT_EQ(first->prevId, 2);
    EXPECT_EQ(first->nextId, 2);
    EXPECT_EQ(first->background, 0xF800);
    EXPECT_EQ(second->elementCount, kKeys);
    EXPECT_EQ(second->prevId, 1);
    EXPECT_EQ(second->nextId, 1);
    EXPECT_EQ(second->background, 0x001F);
    EXPECT_EQ(second->indexAddress, first->indexAddress + 5 * 8);
    EXPECT_EQ(m_image.OutsideReads(), 0u);
}

TEST_F(ReadBack, TextsRegisterLampPictureBarAndTrends) {
    const auto records = Records(1);
    for (int type = kTypeStaticText; type <= kTypeDynamicText; ++type) {
        const std::size_t count = records.count(type) ? records.at(type).size() : 0;
        ASSERT_EQ(count, type == kTypeFunctionKey ? 0u : type == kTypeTrend ? 2u : 1u) << type;
    }

    const StaticTextRecord text = ReadStaticText(m_image, records.at(kTypeStaticText)[0]);
    EXPECT_EQ(text.left, 10);
    EXPECT_EQ(text.top, 20);
    EXPECT_EQ(text.foreground, 0x07E0);
    EXPECT_EQ(text.background, 0xFFFF);
    EXPECT_TRUE(text.drawBackground);
    EXPECT_EQ(text.text.font, 1) << "the register's face came first";
    EXPECT_EQ(text.text.sizeIndex, 1);
    EXPECT_EQ(TextBytes(m_image, text.text), (std::vector<int>{0x00, 0xC0, 0x00, 0x01}));

    const RegisterRecord reg = ReadRegister(m_image, records.at(kTypeRegister)[0]);
    EXPECT_EQ(reg.left, 30);
    EXPECT_EQ(reg.top, 40);
    EXPECT_EQ(reg.flags, 0x01 | 0x04 | 0x08 | 0x10 | 0x20 | 0x40);
    ExpectAddress(reg.address, 1, 5, 0x0A0B, 32, 2, 0);
    EXPECT_EQ(reg.width, 7);
    EXPECT_EQ(reg.pointBits, 2);
    EXPECT_EQ(reg.foreground, 0xF800);
    EXPECT_EQ(reg.background, 0x001F);
    EXPECT_EQ(reg.borderColour, 0x07E0);
    EXPECT_TRUE(reg.drawBackground);
    EXPECT_EQ(reg.border, 2);
    EXPECT_EQ(reg.font, 0);
    EXPECT_EQ(reg.sizeIndex, 3);
    EXPECT_EQ(reg.flags2, 0x01 | 0x10 | 0x20);
    EXPECT_EQ(reg.rawUpper, 1000u);
    EXPECT_EQ(reg.rawLower, 0xFFFFFFFFu);
    EXPECT_EQ(reg.engUpper, 100u);
    EXPECT_EQ(reg.engLower, 0u);

    const IndicatorRecord lamp = ReadIndicator(m_image, records.at(kTypeIndicator)[0]);
    EXPECT_EQ(lamp.left, 50);
    EXPECT_EQ(lamp.top, 60);
    EXPECT_EQ(lamp.flags, 0x02 | 0x08 | 0x10);
    ExpectAddress(lamp.address, 2, 1, 0x0102, 0, 0, 5);
    EXPECT_EQ(lamp.width, 64);
    EXPECT_EQ(lamp.height, 64);
    EXPECT_EQ(lamp.onColour, 0xF800);
    EXPECT_EQ(lamp.offColour, 0x1234);

    const PictureRecord picture = ReadPicture(m_image, records.at(kTypePicture)[0]);
    EXPECT_EQ(picture.left, 70);
    EXPECT_EQ(picture.top, 80);
    EXPECT_EQ(picture.width, 4);
    EXPECT_EQ(picture.height, 2);
    EXPECT_EQ(picture.number, 0);
    DisplayMemory display;
    DrawPicture(display, m_image, m_header, picture);
    EXPECT_EQ(display.At(70, 80), 0xF800);
    EXPECT_EQ(display.At(73, 81), 0xF800);

    const BarRecord bar = ReadBar(m_image, records.at(kTypeBar)[0]);
    EXPECT_EQ(bar.left, 90);
    EXPECT_EQ(bar.top, 100);
    EXPECT_EQ(bar.flags, 0);
    ExpectAddress(bar.address, 1, 4, 5, 16, 0, 0);
    EXPECT_EQ(bar.width, 300);
    EXPECT_EQ(bar.height, 20);
    EXPECT_EQ(bar.upper, 1000u);
    EXPECT_EQ(bar.lower, 0xFFFFFFFBu);
    EXPECT_EQ(bar.direction, 4);
    EXPECT_EQ(bar.foreground, 0x07E0);
    EXPECT_EQ(bar.background, 0xFFFF);

    for (int n = 0; n < 2; ++n) {
        SCOPED_TRACE(n);
        const TrendRecord trend = ReadTrend(m_image, records.at(kTypeTrend)[std::size_t(n)]);
        EXPECT_EQ(trend.left, 110);
        EXPECT_EQ(trend.top, 120);
        EXPECT_EQ(trend.flags, 0x40 | 0x20);
        ExpectAddress(trend.address, 1, 4, 7, 16, 0, 0);
        EXPECT_EQ(trend.width, 200);
        EXPECT_EQ(trend.height, 100);
        EXPECT_EQ(trend.samplingPoint, 30);
        EXPECT_EQ(trend.upper, 500u);
        EXPECT_EQ(trend.lower, 0u);
        EXPECT_EQ(trend.samplingTime, 0x0102);
        EXPECT_EQ(trend.background, 0x0000);
        EXPECT_EQ(trend.foreground, 0xFFFF);
        EXPECT_EQ(trend.pen, 0xF800);
        EXPECT_EQ(trend.trendCount, 2);
        EXPECT_EQ(trend.trendNumber, n);
    }

    const DynamicTextRecord dynamic = ReadDynamicText(m_image, records.at(kTypeDynamicText)[0]);
    EXPECT_EQ(dynamic.left, 130);
    EXPECT_EQ(dynamic.top, 140);
    ExpectAddress(dynamic.address, 1, 4, 9, 16, 0, 0);
    EXPECT_EQ(dynamic.itemCount, 2) << "the item without text is left out";
    EXPECT_EQ(dynamic.longest, 3);
    EXPECT_EQ(dynamic.foreground, 0xF800);
    EXPECT_EQ(dynamic.background, 0x001F);
    EXPECT_FALSE(dynamic.drawBackground);
    EXPECT_EQ(dynamic.font, 2);
    EXPECT_EQ(dynamic.sizeIndex, 0);
    uint16_t value = 0xFFFF;
    EXPECT_EQ(TextBytes(m_image, DynamicTextItem(m_image, dynamic, 0, &value)),
              (std::vector<int>{0, 1, 1}));
    EXPECT_EQ(value, 0);
    EXPECT_EQ(TextBytes(m_image, DynamicTextItem(m_image, dynamic, 1, &value)),
              (std::vector<int>{0, 2}));
    EXPECT_EQ(value, 2);
    EXPECT_EQ(m_image.OutsideReads(), 0u);
}

TEST_F(ReadBack, AlarmSection) {
    const AlarmSection alarms = ReadAlarmSection(m_image, m_header.alarmSection);
    ExpectAddress(alarms.address, 3, 6, 0x0120, 0, 4, 2);
    EXPECT_EQ(alarms.count, 2);
    EXPECT_EQ(alarms.background, 0xF800);
    EXPECT_EQ(alarms.textBackground, 0x07E0);
    EXPECT_EQ(alarms.textColour, 0x001F);
    EXPECT_TRUE(alarms.drawTextBackground);
    EXPECT_EQ(alarms.font, 0);
    EXPECT_EQ(alarms.sizeIndex, 0);
    EXPECT_EQ(TextBytes(m_image, AlarmText(m_image, m_header.alarmSection, alarms, 0)),
              (std::vector<int>{0, 1}));
    EXPECT_EQ(TextBytes(m_image, AlarmText(m_image, m_header.alarmSection, alarms, 1)),
              (std::vector<int>{2}));
    EXPECT_EQ(m_image.OutsideReads(), 0u);
}

TEST_F(ReadBack, EveryKeyAction) {
    const auto records = Records(2);
    ASSERT_EQ(records.size(), 1u) << "keys only";
    const std::vector<uint32_t>& keys = records.begin()->second;
    ASSERT_EQ(records.begin()->first, kTypeFunctionKey);
    ASSERT_EQ(keys.size(), std::size_t(kKeys));
    std::vector<int> actions;
    for (int i = 0; i < kKeys; ++i) {
        SCOPED_TRACE(i);
        const KeyCase& c = KeyCaseOf(i);
        const FunctionKeyRecord key = ReadFunctionKey(m_image, keys[std::size_t(i)]);
        actions.push_back(key.action);
        EXPECT_EQ(key.left, 10 * i);
        EXPECT_EQ(key.top, 200);
        EXPECT_EQ(key.grade, i);
        EXPECT_EQ(key.action, c.action);
        EXPECT_EQ(key.keyCode, KeyCode(i));
        int flags = (i == 5 ? 0x02 : 0) | (i == kKeys - 1 ? 0x04 : 0) | (i % 2 == 0 ? 0x08 : 0) |
                    (i % 3 == 0 ? 0x40 : 0);
        if (c.type == kActionSetRegister)
            flags |= 0x20;
        if (c.type == kActionMultiSet)
            flags |= 0x10;
        EXPECT_EQ(key.flags, flags);
        if (i == kKeys - 1)
            EXPECT_EQ(key.picture, 0) << "a hidden key has no picture";
        else
            EXPECT_EQ(key.picture & 0xC000, 0xC000);

        switch (c.type) {
        case kActionSetWire:
            ExpectAddress(key.address, 2, 1, 0x0102, 0, 0, 5);
            break;
        case kActionSetRegister:
            ExpectAddress(key.address, 2, 4, 0x0102, 16, 3, 0);
            EXPECT_EQ(key.parameter, 0xFFFFFFFEu);
            break;
        case kActionMultiSet:
            ExpectAddress(key.address, 2, 4, 0x0102, 16, 3, 0);
            EXPECT_EQ(key.step, c.radio == 0 ? 3 : 4);
            EXPECT_EQ(key.parameter, c.radio == 0 ? 50u : 0xFFFFFFF6u);
            break;
        case kActionRecipe:
            ExpectAddress(key.address, 2, 4, 0x0102, 16, 3, 0);
            EXPECT_EQ(key.addrInc, 1);
            EXPECT_EQ(key.transferLen, 8);
            EXPECT_EQ(key.transferLimit, c.radio == 2 ? 100 : 4);
            break;
        case kActionJumpFrame:
            EXPECT_EQ(key.jumpFrame, 9);
            break;
        }
    }
    for (const KeyCase& c : kKeyCases)
        EXPECT_NE(std::find(actions.begin(), actions.end(), c.action), actions.end()) << c.action;
    EXPECT_EQ(m_image.OutsideReads(), 0u);
}

} // namespace

#include "RecordReaders.h"

#include "KeyAction.h"

namespace {

// Positions, widths and heights are BE16.
int Be16Int(const PanelImage& image, uint32_t at) {
    return image.BE16(at);
}

PlcAddress ReadWordAddress(const PanelImage& image, uint32_t at) {
    namespace Layout = WordAddressLayout;
    PlcAddress address;
    address.station = image.Byte(at + Layout::kStation);
    address.type = image.Byte(at + Layout::kType);
    address.address = image.BE16(at + Layout::kAddress);
    address.units = image.Byte(at + Layout::kUnits);
    address.subAddress = image.Byte(at + Layout::kSubAddress);
    return address;
}

PlcAddress ReadBitAddress(const PanelImage& image, uint32_t at) {
    namespace Layout = BitAddressLayout;
    PlcAddress address;
    address.station = image.Byte(at + Layout::kStation);
    address.type = image.Byte(at + Layout::kType);
    address.address = image.BE16(at + Layout::kAddress);
    address.subAddress = image.Byte(at + Layout::kSubAddress);
    address.shift = image.Byte(at + Layout::kShift);
    return address;
}

PlcAddress ReadKeyAddress(const PanelImage& image, uint32_t at) {
    namespace Layout = KeyAddressLayout;
    PlcAddress address;
    address.station = image.Byte(at + Layout::kStation);
    address.type = image.Byte(at + Layout::kType);
    address.units = image.Byte(at + Layout::kUnits);
    address.address = image.BE16(at + Layout::kAddress);
    address.subAddress = image.Byte(at + Layout::kSubAddress);
    address.shift = image.Byte(at + Layout::kShift);
    return address;
}

template <typename Record> void ReadPosition(const PanelImage& image, uint32_t at, Record& record) {
    record.left = Be16Int(image, at + RecordHeadLayout::kLeft);
    record.top = Be16Int(image, at + RecordHeadLayout::kTop);
}

TextRun ReadTextItem(const PanelImage& image, uint32_t at, uint8_t font, uint8_t sizeIndex) {
    return {font, sizeIndex, image.Byte(at + TextItemLayout::kCount), at + TextItemLayout::kText};
}

} // namespace

FrameRecord ReadFrameRecord(const PanelImage& image, uint32_t at) {
    namespace Layout = FrameLayout;
    FrameRecord frame;
    frame.id = image.BE16(at + Layout::kId);
    frame.elementCount = image.Byte(at + Layout::kElementCount);
    frame.prevId = image.BE16(at + Layout::kPrevId);
    frame.nextId = image.BE16(at + Layout::kNextId);
    frame.indexAddress = image.BE32(at + Layout::kIndexAddress);
    frame.background = image.BE16(at + Layout::kBackground);
    return frame;
}

IndexEntry ReadIndexEntry(const PanelImage& image, uint32_t at) {
    return {image.Byte(at + IndexEntryLayout::kType), image.BE32(at + IndexEntryLayout::kRecord)};
}

StaticTextRecord ReadStaticText(const PanelImage& image, uint32_t at) {
    namespace Layout = StaticTextLayout;
    StaticTextRecord text;
    ReadPosition(image, at, text);
    text.text.count = image.Byte(at + Layout::kCount);
    text.foreground = image.BE16(at + Layout::kForeground);
    text.background = image.BE16(at + Layout::kBackground);
    text.drawBackground = image.Byte(at + Layout::kBackgroundFlag) == kDrawBackground;
    text.text.font = image.Byte(at + Layout::kFont);
    text.text.sizeIndex = image.Byte(at + Layout::kSizeIndex);
    text.text.bytes = at + Layout::kText;
    return text;
}

RegisterRecord ReadRegister(const PanelImage& image, uint32_t at) {
    namespace Layout = RegisterLayout;
    RegisterRecord reg;
    ReadPosition(image, at, reg);
    reg.flags = image.Byte(at + RecordHeadLayout::kFlags);
    reg.address = ReadWordAddress(image, at + Layout::kAddress);
    reg.width = image.Byte(at + Layout::kWidth);
    reg.pointBits = image.Byte(at + Layout::kPointBits);
    reg.foreground = image.BE16(at + Layout::kForeground);
    reg.background = image.BE16(at + Layout::kBackground);
    reg.borderColour = image.BE16(at + Layout::kBorderColour);
    reg.drawBackground = image.Byte(at + Layout::kBackgroundFlag) == kDrawBackground;
    reg.border = image.Byte(at + Layout::kBorder);
    reg.font = image.Byte(at + Layout::kFont);
    reg.sizeIndex = image.Byte(at + Layout::kSizeIndex);
    reg.flags2 = image.Byte(at + Layout::kFlags2);
    reg.rawUpper = image.BE32(at + Layout::kRawUpper);
    reg.rawLower = image.BE32(at + Layout::kRawLower);
    reg.engUpper = image.BE32(at + Layout::kEngUpper);
    reg.engLower = image.BE32(at + Layout::kEngLower);
    return reg;
}

IndicatorRecord ReadIndicator(const PanelImage& image, uint32_t at) {
    namespace Layout = IndicatorLayout;
    IndicatorRecord lamp;
    ReadPosition(image, at, lamp);
    lamp.flags = image.Byte(at + RecordHeadLayout::kFlags);
    lamp.address = ReadBitAddress(image, at + Layout::kAddress);
    lamp.width = Be16Int(image, at + Layout::kWidth);
    lamp.height = Be16Int(image, at + Layout::kHeight);
    lamp.onColour = image.BE16(at + Layout::kOnColour);
    lamp.offColour = image.BE16(at + Layout::kOffColour);
    return lamp;
}

FunctionKeyRecord ReadFunctionKey(const PanelImage& image, uint32_t at) {
    namespace Layout = FunctionKeyLayout;
    FunctionKeyRecord key;
    key.at = at;
    ReadPosition(image, at, key);
    key.flags = image.Byte(at + RecordHeadLayout::kFlags);
    key.grade = image.Byte(at + Layout::kGrade);
    key.action = image.Byte(at + Layout::kAction);
    key.keyCode = image.Byte(at + Layout::kKeyCode);
    key.picture = image.BE16(at + Layout::kPicture);
    key.address = ReadKeyAddress(image, at + Layout::kParameters);
    key.jumpFrame = image.BE16(at + Layout::kJumpFrame);
    switch (key.action & ActionCode::kGroupMask) {
    case ActionCode::kSetBitGroup: // the set-bit block carries the shift and no unit count
        key.address.units = 0;
        break;
    case ActionCode::kSetRegister:
        key.address.shift = 0;
        key.parameter = image.BE32(at + Layout::kValue);
        break;
    case ActionCode::kMultiStatusGroup:
        key.address.shift = 0;
        key.step = image.BE16(at + Layout::kStep);
        key.parameter = image.BE32(at + Layout::kLimit);
        break;
    case ActionCode::kRecipeGroup:
        key.address.shift = 0;
        key.addrInc = image.Byte(at + Layout::kAddrInc);
        key.transferLen = image.BE16(at + Layout::kTransferLength);
        key.transferLimit = image.BE16(at + Layout::kTransferLimit);
        break;
    default:
        break;
    }
    return key;
}

PictureRecord ReadPicture(const PanelImage& image, uint32_t at) {
    namespace Layout = PictureLayout;
    PictureRecord picture;
    ReadPosition(image, at, picture);
    picture.width = Be16Int(image, at + Layout::kWidth);
    picture.height = Be16Int(image, at + Layout::kHeight);
    picture.number = image.BE16(at + Layout::kNumber);
    return picture;
}

BarRecord ReadBar(const PanelImage& image, uint32_t at) {
    namespace Layout = BarLayout;
    BarRecord bar;
    ReadPosition(image, at, bar);
    bar.flags = image.Byte(at + RecordHeadLayout::kFlags);
    bar.address = ReadWordAddress(image, at + Layout::kAddress);
    bar.width = Be16Int(image, at + Layout::kWidth);
    bar.height = Be16Int(image, at + Layout::kHeight);
    bar.upper = image.BE32(at + Layout::kUpper);
    bar.lower = image.BE32(at + Layout::kLower);
    bar.direction = image.Byte(at + Layout::kDirection);
    bar.foreground = image.BE16(at + Layout::kForeground);
    bar.background = image.BE16(at + Layout::kBackground);
    return bar;
}

TrendRecord ReadTrend(const PanelImage& image, uint32_t at) {
    namespace Layout = TrendLayout;
    TrendRecord trend;
    ReadPosition(image, at, trend);
    trend.flags = image.Byte(at + RecordHeadLayout::kFlags);
    trend.address = ReadWordAddress(image, at + Layout::kAddress);
    trend.width = Be16Int(image, at + Layout::kWidth);
    trend.height = Be16Int(image, at + Layout::kHeight);
    trend.samplingPoint = image.Byte(at + Layout::kSamplingPoint);
    trend.upper = image.BE32(at + Layout::kUpper);
    trend.lower = image.BE32(at + Layout::kLower);
    trend.samplingTime = image.BE16(at + Layout::kSamplingTime);
    trend.background = image.BE16(at + Layout::kBackground);
    trend.foreground = image.BE16(at + Layout::kForeground);
    trend.pen = image.BE16(at + Layout::kPen);
    trend.trendCount = image.Byte(at + Layout::kTrendCount);
    trend.trendNumber = image.Byte(at + Layout::kTrendNumber);
    return trend;
}

DynamicTextRecord ReadDynamicText(const PanelImage& image, uint32_t at) {
    namespace Layout = DynamicTextLayout;
    DynamicTextRecord text;
    text.at = at;
    ReadPosition(image, at, text);
    text.address = ReadWordAddress(image, at + Layout::kAddress);
    text.itemCount = image.Byte(at + Layout::kItemCount);
    text.longest = image.Byte(at + Layout::kLongest);
    text.foreground = image.BE16(at + Layout::kForeground);
    text.background = image.BE16(at + Layout::kBackground);
    text.drawBackground = image.Byte(at + Layout::kBackgroundFlag) == kDrawBackground;
    text.font = image.Byte(at + Layout::kFont);
    text.sizeIndex = image.Byte(at + Layout::kSizeIndex);
    return text;
}

TextRun DynamicTextItem(const PanelImage& image, const DynamicTextRecord& record, int item,
                        uint16_t* value) {
    namespace Layout = DynamicTextLayout;
    const uint32_t entry =
        record.at + Layout::kEntries + Layout::kEntrySize * static_cast<uint32_t>(item);
    const uint32_t items = record.at + Layout::kEntries + Layout::kEntrySize * record.itemCount;
    *value = image.BE16(entry + Layout::kEntryValue);
    return ReadTextItem(image, items + image.BE32(entry + Layout::kEntryOffset), record.font,
                        record.sizeIndex);
}

AlarmSection ReadAlarmSection(const PanelImage& image, uint32_t at) {
    namespace Layout = AlarmSectionLayout;
    AlarmSection alarms;
    alarms.address = ReadBitAddress(image, at + Layout::kAddress);
    alarms.count = image.Byte(at + Layout::kCount);
    alarms.background = image.BE16(at + Layout::kBackground);
    alarms.textBackground = image.BE16(at + Layout::kTextBackground);
    alarms.textColour = image.BE16(at + Layout::kTextColour);
    alarms.drawTextBackground = image.Byte(at + Layout::kTextBackgroundFlag) == kDrawBackground;
    alarms.font = image.Byte(at + Layout::kFont);
    alarms.sizeIndex = image.Byte(at + Layout::kSizeIndex);
    return alarms;
}

TextRun AlarmText(const PanelImage& image, uint32_t section, const AlarmSection& alarms,
                  int index) {
    namespace Layout = AlarmSectionLayout;
    const uint32_t offset =
        image.BE32(section + Layout::kOffsets + Layout::kOffsetSize * static_cast<uint32_t>(index));
    return ReadTextItem(image, section + Layout::kOffsetBase + offset, alarms.font,
                        alarms.sizeIndex);
}

#include "Records.h"

namespace {

// Addresses in records are 16-bit; widths, heights and positions are BE16 too.
int Be16Int(const PanelImage& image, uint32_t at) {
    return image.BE16(at);
}

// The common address block of bytes 5..10.
PlcAddress ReadAddressBlock(const PanelImage& image, uint32_t at) {
    PlcAddress address;
    address.station = image.Byte(at + 5);
    address.type = image.Byte(at + 6);
    address.address = image.BE16(at + 7);
    address.units = image.Byte(at + 9);
    address.subAddress = image.Byte(at + 10);
    return address;
}

// The parameter block of a key's action starts with station and type code at byte 10.
PlcAddress ReadKeyAddress(const PanelImage& image, uint32_t at) {
    PlcAddress address;
    address.station = image.Byte(at + 10);
    address.type = image.Byte(at + 11);
    address.units = image.Byte(at + 12);
    address.address = image.BE16(at + 13);
    address.subAddress = image.Byte(at + 15);
    address.shift = image.Byte(at + 16);
    return address;
}

} // namespace

FrameRecord ReadFrameRecord(const PanelImage& image, uint32_t at) {
    FrameRecord frame;
    frame.id = image.BE16(at);
    frame.elementCount = image.Byte(at + 2);
    frame.prevId = image.BE16(at + 3);
    frame.nextId = image.BE16(at + 5);
    frame.indexAddress = image.BE32(at + 7);
    frame.background = image.BE16(at + 11);
    return frame;
}

IndexEntry ReadIndexEntry(const PanelImage& image, uint32_t at) {
    return {image.Byte(at), image.BE32(at + 1)};
}

StaticTextRecord ReadStaticText(const PanelImage& image, uint32_t at) {
    StaticTextRecord text;
    text.left = Be16Int(image, at);
    text.top = Be16Int(image, at + 2);
    text.text.count = image.Byte(at + 5);
    text.foreground = image.BE16(at + 6);
    text.background = image.BE16(at + 8);
    text.drawBackground = image.Byte(at + 10) == 1;
    text.text.font = image.Byte(at + 11);
    text.text.sizeIndex = image.Byte(at + 12);
    text.text.bytes = at + 13;
    return text;
}

RegisterRecord ReadRegister(const PanelImage& image, uint32_t at) {
    RegisterRecord reg;
    reg.left = Be16Int(image, at);
    reg.top = Be16Int(image, at + 2);
    reg.flags = image.Byte(at + 4);
    reg.address = ReadAddressBlock(image, at);
    reg.width = image.Byte(at + 11);
    reg.pointBits = image.Byte(at + 12);
    reg.foreground = image.BE16(at + 13);
    reg.background = image.BE16(at + 15);
    reg.borderColour = image.BE16(at + 17);
    reg.drawBackground = image.Byte(at + 19) == 1;
    reg.border = image.Byte(at + 20);
    reg.font = image.Byte(at + 21);
    reg.sizeIndex = image.Byte(at + 22);
    reg.flags2 = image.Byte(at + 23);
    reg.rawUpper = image.BE32(at + 24);
    reg.rawLower = image.BE32(at + 28);
    reg.engUpper = image.BE32(at + 32);
    reg.engLower = image.BE32(at + 36);
    return reg;
}

IndicatorRecord ReadIndicator(const PanelImage& image, uint32_t at) {
    IndicatorRecord lamp;
    lamp.left = Be16Int(image, at);
    lamp.top = Be16Int(image, at + 2);
    lamp.flags = image.Byte(at + 4);
    lamp.address.station = image.Byte(at + 5);
    lamp.address.type = image.Byte(at + 6);
    lamp.address.address = image.BE16(at + 7);
    lamp.address.subAddress = image.Byte(at + 10);
    lamp.address.shift = image.Byte(at + 11);
    return lamp;
}

FunctionKeyRecord ReadFunctionKey(const PanelImage& image, uint32_t at) {
    FunctionKeyRecord key;
    key.at = at;
    key.left = Be16Int(image, at);
    key.top = Be16Int(image, at + 2);
    key.flags = image.Byte(at + 4);
    key.action = image.Byte(at + 6);
    key.keyCode = image.Byte(at + 7);
    key.address = ReadKeyAddress(image, at);
    key.jumpFrame = image.BE16(at + 10);
    switch (key.action & 0xF0) {
    case 0x10: // the set-bit block carries the shift at byte 16 and no unit count
        key.address.units = 0;
        break;
    case 0x20:
        key.address.shift = 0;
        key.parameter = image.BE32(at + 17);
        break;
    case 0x30:
        key.address.shift = 0;
        key.step = image.BE16(at + 17);
        key.parameter = image.BE32(at + 19);
        break;
    case 0x40:
        key.address.shift = 0;
        key.transferLen = image.BE16(at + 18);
        key.transferLimit = image.BE16(at + 20);
        break;
    default:
        break;
    }
    return key;
}

PictureRecord ReadPicture(const PanelImage& image, uint32_t at) {
    PictureRecord picture;
    picture.left = Be16Int(image, at);
    picture.top = Be16Int(image, at + 2);
    picture.width = Be16Int(image, at + 5);
    picture.height = Be16Int(image, at + 7);
    picture.number = image.BE16(at + 9);
    return picture;
}

BarRecord ReadBar(const PanelImage& image, uint32_t at) {
    BarRecord bar;
    bar.left = Be16Int(image, at);
    bar.top = Be16Int(image, at + 2);
    bar.flags = image.Byte(at + 4);
    bar.address = ReadAddressBlock(image, at);
    bar.width = Be16Int(image, at + 11);
    bar.height = Be16Int(image, at + 13);
    bar.upper = image.BE32(at + 15);
    bar.lower = image.BE32(at + 19);
    bar.direction = image.Byte(at + 23);
    bar.foreground = image.BE16(at + 24);
    bar.background = image.BE16(at + 26);
    return bar;
}

TrendRecord ReadTrend(const PanelImage& image, uint32_t at) {
    TrendRecord trend;
    trend.left = Be16Int(image, at);
    trend.top = Be16Int(image, at + 2);
    trend.flags = image.Byte(at + 4);
    trend.address = ReadAddressBlock(image, at);
    trend.width = Be16Int(image, at + 11);
    trend.height = Be16Int(image, at + 13);
    trend.samplingPoint = image.Byte(at + 15);
    trend.upper = image.BE32(at + 16);
    trend.lower = image.BE32(at + 20);
    trend.samplingTime = image.BE16(at + 24);
    trend.background = image.BE16(at + 26);
    trend.foreground = image.BE16(at + 28);
    trend.pen = image.BE16(at + 30);
    return trend;
}

DynamicTextRecord ReadDynamicText(const PanelImage& image, uint32_t at) {
    DynamicTextRecord text;
    text.at = at;
    text.left = Be16Int(image, at);
    text.top = Be16Int(image, at + 2);
    text.address = ReadAddressBlock(image, at);
    text.itemCount = image.Byte(at + 12);
    text.longest = image.Byte(at + 13);
    text.foreground = image.BE16(at + 14);
    text.background = image.BE16(at + 16);
    text.drawBackground = image.Byte(at + 18) == 1;
    text.font = image.Byte(at + 19);
    text.sizeIndex = image.Byte(at + 20);
    return text;
}

TextRun DynamicTextItem(const PanelImage& image, const DynamicTextRecord& record, int item,
                        uint16_t* value) {
    const uint32_t entry = record.at + 21 + 6 * static_cast<uint32_t>(item);
    const uint32_t items = record.at + 21 + 6u * record.itemCount;
    *value = image.BE16(entry);
    const uint32_t at = items + image.BE32(entry + 2);
    return {record.font, record.sizeIndex, image.Byte(at + 1), at + 2};
}

AlarmSection ReadAlarmSection(const PanelImage& image, uint32_t at) {
    AlarmSection alarms;
    alarms.address.station = image.Byte(at + 5);
    alarms.address.type = image.Byte(at + 6);
    alarms.address.address = image.BE16(at + 7);
    alarms.address.subAddress = image.Byte(at + 10);
    alarms.address.shift = image.Byte(at + 11);
    alarms.count = image.Byte(at + 12);
    alarms.background = image.BE16(at + 14);
    alarms.textBackground = image.BE16(at + 16);
    alarms.textColour = image.BE16(at + 18);
    alarms.drawTextBackground = image.Byte(at + 20) == 1;
    alarms.font = image.Byte(at + 21);
    alarms.sizeIndex = image.Byte(at + 22);
    return alarms;
}

TextRun AlarmText(const PanelImage& image, uint32_t section, const AlarmSection& alarms,
                  int index) {
    // Text offsets count from the section's second byte.
    const uint32_t at = section + 1 + image.BE32(section + 27 + 4 * static_cast<uint32_t>(index));
    return {alarms.font, alarms.sizeIndex, image.Byte(at + 1), at + 2};
}

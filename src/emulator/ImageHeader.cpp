#include "ImageHeader.h"

bool HasHeaderMagic(const PanelImage& image) {
    return image.Size() >= kHeaderSize &&
           image.LE16(kImageBase + HeaderLayout::kMagic) == kHeaderMagic;
}

ImageHeader ReadHeader(const PanelImage& image) {
    namespace Field = HeaderLayout;
    const uint32_t base = kImageBase;
    ImageHeader header;
    header.frameTable = image.LE32(base + Field::kFrameTable);
    header.fullWidthTable = image.LE32(base + Field::kFullWidthTable);
    header.halfWidthTable = image.LE32(base + Field::kHalfWidthTable);
    header.plcId = image.Byte(base + Field::kPlcId);
    header.frameCount = image.LE16(base + Field::kFrameCount);
    header.beginFrame = image.LE16(base + Field::kBeginFrame);
    header.saverFrame = image.LE16(base + Field::kSaverFrame);
    header.waitTime = image.Byte(base + Field::kWaitTime);
    header.settingStation = image.Byte(base + Field::kSettingStation);
    header.settingType = image.Byte(base + Field::kSettingType);
    header.settingAddress = image.LE16(base + Field::kSettingAddress);
    header.settingAddrInc = image.Byte(base + Field::kSettingAddrInc);
    header.settingSubAddress = image.Byte(base + Field::kSettingSubAddress);
    header.options = image.Byte(base + Field::kOptions);
    header.alarms = image.Byte(base + Field::kAlarmsActive) == 1;
    header.entryProtection = image.Byte(base + Field::kEntryProtection) == 1;
    header.password = image.LE16(base + Field::kPassword);
    header.useFrameSecond = image.Byte(base + Field::kUseFrameSecond);
    header.useFrameIndex = image.LE16(base + Field::kUseFrameIndex);
    header.pictures = image.LE32(base + Field::kPictures);
    header.alarmSection = image.LE32(base + Field::kAlarmSection);
    return header;
}

#include "ImageHeader.h"

bool HasHeaderMagic(const PanelImage& image) {
    return image.Size() >= kHeaderSize && image.LE16(PanelImage::kBaseAddress) == 0x55AA;
}

ImageHeader ReadHeader(const PanelImage& image) {
    const uint32_t base = PanelImage::kBaseAddress;
    ImageHeader header;
    header.frameTable = image.LE32(base + 2);
    header.fullWidthTable = image.LE32(base + 10);
    header.halfWidthTable = image.LE32(base + 14);
    header.plcId = image.Byte(base + 20);
    header.frameCount = image.LE16(base + 24);
    header.beginFrame = image.LE16(base + 26);
    header.saverFrame = image.LE16(base + 28);
    header.waitTime = image.Byte(base + 30);
    header.settingStation = image.Byte(base + 31);
    header.settingType = image.Byte(base + 32);
    header.settingAddress = image.LE16(base + 33);
    header.settingAddrInc = image.Byte(base + 35);
    header.settingSubAddress = image.Byte(base + 36);
    header.options = image.Byte(base + 37);
    header.alarms = image.Byte(base + 42) == 1;
    header.entryProtection = image.Byte(base + 43) == 1;
    header.password = image.LE16(base + 44);
    header.useFrameSecond = image.Byte(base + 47);
    header.useFrameIndex = image.LE16(base + 48);
    header.pictures = image.LE32(base + 52);
    header.alarmSection = image.LE32(base + 64);
    return header;
}

#pragma once

#include "PanelImage.h"

#include <cstdint>

// Option bits of header byte 37.
enum HeaderOption : uint8_t {
    kAutoChange = 0x01,
    kReportFrame = 0x02,
    kUseClock = 0x04,
    kUseClockOld = 0x08,
    kUseFrame = 0x10,
    kCanOffline = 0x20,
    kSettingIsLocal = 0x40,
};

// The runtime's copy of the 68-byte header (little-endian fields).
struct ImageHeader {
    uint32_t frameTable = 0;
    uint32_t fullWidthTable = 0;
    uint32_t halfWidthTable = 0;
    uint8_t plcId = 0;
    uint16_t frameCount = 0;
    uint16_t beginFrame = 0;
    uint16_t saverFrame = 0;
    uint8_t waitTime = 0;
    uint8_t settingStation = 0;
    uint8_t settingType = 0;
    uint16_t settingAddress = 0;
    uint8_t settingAddrInc = 0;
    uint8_t settingSubAddress = 0;
    uint8_t options = 0;
    bool alarms = false;
    bool entryProtection = false;
    uint16_t password = 0;
    uint8_t useFrameSecond = 0;
    uint16_t useFrameIndex = 0;
    uint32_t pictures = 0;
    uint32_t alarmSection = 0;

    bool Has(HeaderOption option) const { return (options & option) != 0; }
};

constexpr uint32_t kHeaderSize = 68;

// True when the image starts with the magic bytes AA 55.
bool HasHeaderMagic(const PanelImage& image);
ImageHeader ReadHeader(const PanelImage& image);

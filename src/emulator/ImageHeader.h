#pragma once

#include "ImageLayout.h"
#include "PanelImage.h"

#include <cstdint>

// The runtime's copy of the header.
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

// True when the image starts with the magic bytes AA 55.
bool HasHeaderMagic(const PanelImage& image);
ImageHeader ReadHeader(const PanelImage& image);

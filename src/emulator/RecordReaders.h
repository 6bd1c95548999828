#pragma once

#include "ElementType.h"
#include "PanelImage.h"
#include "RecordLayout.h"
#include "SectionLayout.h"

#include <cstdint>

// The records of the frame table, the element index and the elements, read field by field
// through the image's bounded readers.

struct FrameRecord {
    uint16_t id = 0;
    uint8_t elementCount = 0;
    uint16_t prevId = 0;
    uint16_t nextId = 0;
    uint32_t indexAddress = 0;
    uint16_t background = 0;
};

struct IndexEntry {
    uint8_t type = 0;
    uint32_t record = 0;
};

// A PLC (or panel-internal) location as the records carry it.
struct PlcAddress {
    uint8_t station = 0;
    uint8_t type = 0;
    uint16_t address = 0;
    uint8_t units = 0; // 1 = 8 bits, 2 = 16 bits, 4 = 32 bits
    uint8_t subAddress = 0;
    uint8_t shift = 0;
};

struct TextRun {
    uint8_t font = 0;
    uint8_t sizeIndex = 0;
    uint8_t count = 0;
    uint32_t bytes = 0; // address of the first text byte
};

struct StaticTextRecord {
    int left = 0, top = 0;
    uint16_t foreground = 0, background = 0;
    bool drawBackground = false;
    TextRun text;
};

struct RegisterRecord {
    int left = 0, top = 0;
    uint8_t flags = 0;
    PlcAddress address;
    uint8_t width = 0; // characters
    uint8_t pointBits = 0;
    uint16_t foreground = 0, background = 0, borderColour = 0;
    bool drawBackground = false;
    uint8_t border = 0;
    uint8_t font = 0, sizeIndex = 0;
    uint8_t flags2 = 0;
    uint32_t rawUpper = 0, rawLower = 0, engUpper = 0, engLower = 0;
};

struct IndicatorRecord {
    int left = 0, top = 0;
    uint8_t flags = 0;
    PlcAddress address;
    int width = 0, height = 0;
    uint16_t onColour = 0, offColour = 0; // the panel draws its own lamps
};

struct FunctionKeyRecord {
    uint32_t at = 0;
    int left = 0, top = 0;
    uint8_t flags = 0;
    uint8_t grade = 0;
    uint8_t action = 0;
    uint8_t keyCode = 0;
    uint16_t picture = 0;   // the designer's key picture; the panel draws its own
    PlcAddress address;     // bit, register, recipe and multi-status blocks
    uint32_t parameter = 0; // set-register value, multi-status limit
    uint16_t jumpFrame = 0;
    uint16_t step = 0;        // multi-status step
    uint8_t addrInc = 0;      // recipe
    uint16_t transferLen = 0; // recipe
    uint16_t transferLimit = 0;
};

struct PictureRecord {
    int left = 0, top = 0;
    int width = 0, height = 0;
    uint16_t number = 0;
};

struct BarRecord {
    int left = 0, top = 0;
    uint8_t flags = 0;
    PlcAddress address;
    int width = 0, height = 0;
    uint32_t upper = 0, lower = 0;
    uint8_t direction = 0;
    uint16_t foreground = 0, background = 0;
};

struct TrendRecord {
    int left = 0, top = 0;
    uint8_t flags = 0;
    PlcAddress address;
    int width = 0, height = 0;
    uint8_t samplingPoint = 0;
    uint32_t upper = 0, lower = 0;
    uint16_t samplingTime = 0;
    uint16_t background = 0, foreground = 0, pen = 0;
    uint8_t trendCount = 0, trendNumber = 0; // within the frame
};

struct DynamicTextRecord {
    uint32_t at = 0;
    int left = 0, top = 0;
    PlcAddress address;
    uint8_t itemCount = 0;
    uint8_t longest = 0;
    uint16_t foreground = 0, background = 0;
    bool drawBackground = false;
    uint8_t font = 0, sizeIndex = 0;
};

struct AlarmSection {
    PlcAddress address;
    uint8_t count = 0;
    uint16_t background = 0, textBackground = 0, textColour = 0;
    bool drawTextBackground = false;
    uint8_t font = 0, sizeIndex = 0;
};

FrameRecord ReadFrameRecord(const PanelImage& image, uint32_t at);
IndexEntry ReadIndexEntry(const PanelImage& image, uint32_t at);
StaticTextRecord ReadStaticText(const PanelImage& image, uint32_t at);
RegisterRecord ReadRegister(const PanelImage& image, uint32_t at);
IndicatorRecord ReadIndicator(const PanelImage& image, uint32_t at);
FunctionKeyRecord ReadFunctionKey(const PanelImage& image, uint32_t at);
PictureRecord ReadPicture(const PanelImage& image, uint32_t at);
BarRecord ReadBar(const PanelImage& image, uint32_t at);
TrendRecord ReadTrend(const PanelImage& image, uint32_t at);
DynamicTextRecord ReadDynamicText(const PanelImage& image, uint32_t at);
// The text of item i (0-based) of a dynamic text, and its value.
TextRun DynamicTextItem(const PanelImage& image, const DynamicTextRecord& record, int item,
                        uint16_t* value);
AlarmSection ReadAlarmSection(const PanelImage& image, uint32_t at);
TextRun AlarmText(const PanelImage& image, uint32_t section, const AlarmSection& alarms, int index);

#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Builds small panel images for the tests, in the layout the compiler writes:
// header, full-width table and glyphs, half-width table and glyphs, pictures, frame table,
// element index, element records, alarm section. One font (number 0) serves every size index.
//
// The test glyphs identify themselves: half-width glyph g carries g + 1 as the bits of its top
// row and a full bar in row 8; glyph 17 (the register blank) is empty. A full-width glyph k
// carries k + 1 as the 16 bits of its top row.

// Bytes appended at the end, or put at an offset of a zero-filled record of fixed layout.
struct Bytes {
    std::vector<uint8_t> data;
    Bytes() = default;
    explicit Bytes(size_t size);
    Bytes& U8(unsigned v);
    Bytes& BE16(unsigned v);
    Bytes& BE32(uint32_t v);
    Bytes& Append(const std::vector<uint8_t>& more);
    Bytes& PutU8(uint32_t at, unsigned v);
    Bytes& PutBE16(uint32_t at, unsigned v);
    Bytes& PutBE32(uint32_t at, uint32_t v);
    Bytes& PutLE16(uint32_t at, unsigned v);
    Bytes& PutLE32(uint32_t at, uint32_t v);
};

struct Address {
    uint8_t station = 0;
    uint8_t type = 0;
    uint16_t address = 0;
    uint8_t units = 2;
    uint8_t subAddress = 0;
    uint8_t shift = 0;
};

class ImageBuilder {
public:
    // Header fields.
    uint16_t beginFrame = 1;
    uint16_t useFrameIndex = 0;
    uint8_t useFrameSecond = 0;
    uint8_t options = 0x20; // CanOffline unless a test wants the request cache
    uint16_t password = 0;
    bool entryProtection = false;
    Address setting{0, 1, 0, 2, 0, 0};
    uint8_t settingAddrInc = 1;
    int halfGlyphCount = 24;
    int fullGlyphCount = 0x110;
    bool magic = true;

    // Adds a frame; elements are added to the last frame.
    void Frame(uint16_t id, uint16_t background, uint16_t prev = 0, uint16_t next = 0);
    void Element(uint8_t type, const std::vector<uint8_t>& record);
    // Returns the picture number.
    uint16_t Picture(int width, int height, const std::vector<uint16_t>& pixels);
    void Alarms(const Address& first, const std::vector<std::vector<uint8_t>>& texts,
                uint16_t background, uint16_t textColour);

    std::vector<uint8_t> Build() const;

private:
    struct FrameData {
        uint16_t id, prev, next, background;
        std::vector<std::pair<uint8_t, std::vector<uint8_t>>> elements;
    };
    std::vector<FrameData> m_frames;
    std::vector<std::vector<uint16_t>> m_pictures;
    std::vector<uint8_t> m_alarms;
};

// Records, with the fields the tests vary.
std::vector<uint8_t> StaticText(int left, int top, uint16_t fg, uint16_t bg, bool background,
                                const std::vector<uint8_t>& text);
struct RegisterSpec {
    int left = 0, top = 0;
    uint8_t flags = 0x20; // decimal
    Address address;
    uint8_t width = 4, pointBits = 0;
    uint16_t fg = 0xFFFF, bg = 0x0000;
    bool background = true;
    uint8_t border = 0;
    uint8_t flags2 = 0x01; // settable
    uint32_t rawUpper = 0, rawLower = 0, engUpper = 0, engLower = 0;
};
std::vector<uint8_t> Register(const RegisterSpec& spec);
std::vector<uint8_t> Indicator(int left, int top, uint8_t flags, const Address& bit);
std::vector<uint8_t> Picture(int left, int top, int width, int height, uint16_t number);
std::vector<uint8_t> Bar(int left, int top, int width, int height, const Address& address,
                         uint32_t upper, uint32_t lower, uint8_t direction, uint16_t fg,
                         uint16_t bg);
std::vector<uint8_t> Trend(int left, int top, int width, int height, const Address& address,
                           uint8_t points, uint32_t upper, uint32_t lower, uint16_t samplingTime,
                           uint16_t back, uint16_t fore, uint16_t pen);
std::vector<uint8_t>
DynamicText(int left, int top, const Address& address, uint16_t fg, uint16_t bg, bool background,
            const std::vector<std::pair<uint16_t, std::vector<uint8_t>>>& items);
// Function keys: the 10-byte head and the action's parameter block.
std::vector<uint8_t> KeyHead(int left, int top, uint8_t flags, uint8_t action, uint8_t keyCode);
std::vector<uint8_t> JumpKey(uint8_t keyCode, uint16_t frame, uint8_t flags = 0);
std::vector<uint8_t> BitKey(uint8_t keyCode, uint8_t action, const Address& bit, uint8_t flags = 0);
std::vector<uint8_t> SetRegisterKey(uint8_t keyCode, const Address& reg, uint32_t value);
std::vector<uint8_t> MultiStatusKey(uint8_t keyCode, uint8_t action, const Address& reg,
                                    uint16_t step, uint32_t limit, uint8_t flags = 0);
std::vector<uint8_t> RecipeKey(uint8_t keyCode, uint8_t action, const Address& reg, uint16_t length,
                               uint16_t limit);
std::vector<uint8_t> ScreenKey(uint8_t keyCode, uint8_t action);

// The designer's hand-over of the image, scrambled with `key`.
std::vector<uint8_t> HandoverOf(const std::vector<uint8_t>& image, uint8_t key);

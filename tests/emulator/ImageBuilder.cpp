#include "ImageBuilder.h"

namespace {

constexpr uint32_t kBase = 0x8000;
constexpr uint32_t kHeaderSize = 68;
constexpr int kHalfGlyphBytes = 16; // 16-pixel half-width glyph
constexpr int kFullGlyphBytes = 32;

std::vector<uint8_t> HalfGlyph(int g) {
    std::vector<uint8_t> glyph(kHalfGlyphBytes, 0);
    if (g == 17)
        return glyph;
    glyph[0] = static_cast<uint8_t>(g + 1);
    glyph[8] = 0xFF;
    return glyph;
}

std::vector<uint8_t> FullGlyph(int k) {
    std::vector<uint8_t> glyph(kFullGlyphBytes, 0);
    glyph[0] = static_cast<uint8_t>((k + 1) >> 8);
    glyph[1] = static_cast<uint8_t>(k + 1);
    glyph[16] = 0xFF;
    glyph[17] = 0xFF;
    return glyph;
}

void Le(std::vector<uint8_t>& out, size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

Bytes AddressBlock(const Address& a) {
    Bytes b;
    b.U8(a.station).U8(a.type).BE16(a.address).U8(a.units).U8(a.subAddress);
    return b;
}

} // namespace

Bytes& Bytes::U8(unsigned v) {
    data.push_back(static_cast<uint8_t>(v));
    return *this;
}
Bytes& Bytes::BE16(unsigned v) {
    return U8(v >> 8).U8(v);
}
Bytes& Bytes::BE32(uint32_t v) {
    return BE16(v >> 16).BE16(v & 0xFFFF);
}
Bytes& Bytes::Append(const std::vector<uint8_t>& more) {
    data.insert(data.end(), more.begin(), more.end());
    return *this;
}

void ImageBuilder::Frame(uint16_t id, uint16_t background, uint16_t prev, uint16_t next) {
    m_frames.push_back({id, prev, next, background, {}});
}

void ImageBuilder::Element(uint8_t type, const std::vector<uint8_t>& record) {
    m_frames.back().elements.emplace_back(type, record);
}

uint16_t ImageBuilder::Picture(int width, int height, const std::vector<uint16_t>& pixels) {
    (void)width;
    (void)height;
    m_pictures.push_back(pixels);
    return static_cast<uint16_t>(m_pictures.size() - 1);
}

void ImageBuilder::Alarms(const Address& first, const std::vector<std::vector<uint8_t>>& texts,
                          uint16_t background, uint16_t textColour) {
    Bytes s;
    s.U8(0).U8(0).U8(0).U8(0).U8(0);
    s.U8(first.station)
        .U8(first.type)
        .BE16(first.address)
        .U8(0)
        .U8(first.subAddress)
        .U8(first.shift);
    size_t longest = 0;
    for (const auto& t : texts)
        longest = std::max(longest, t.size());
    s.U8(static_cast<unsigned>(texts.size())).U8(static_cast<unsigned>(longest));
    s.BE16(background).BE16(0x0000).BE16(textColour).U8(0).U8(0).U8(0);
    s.BE32(0);
    uint32_t offset = 26 + 4 * static_cast<uint32_t>(texts.size());
    for (const auto& t : texts) {
        s.BE32(offset);
        offset += 2 + static_cast<uint32_t>(t.size());
    }
    for (const auto& t : texts)
        s.U8(0).U8(static_cast<unsigned>(t.size())).Append(t);
    m_alarms = s.data;
}

std::vector<uint8_t> ImageBuilder::Build() const {
    Bytes full; // table then glyphs; every size index of font 0 points at the same block
    for (int i = 0; i < 8; ++i)
        full.BE32(32);
    for (int k = 0; k < fullGlyphCount; ++k)
        full.Append(FullGlyph(k));
    Bytes half;
    for (int i = 0; i < 8; ++i)
        half.BE32(32);
    for (int g = 0; g < halfGlyphCount; ++g)
        half.Append(HalfGlyph(g));
    Bytes pictures;
    if (!m_pictures.empty()) {
        pictures.BE16(static_cast<unsigned>(m_pictures.size()));
        uint32_t offset = 2 + 8 * static_cast<uint32_t>(m_pictures.size());
        for (const auto& p : m_pictures) {
            pictures.BE32(offset).BE32(static_cast<uint32_t>(2 * p.size()));
            offset += static_cast<uint32_t>(2 * p.size());
        }
        for (const auto& p : m_pictures) {
            for (uint16_t px : p)
                pictures.U8(px & 0xFF).U8(px >> 8);
        }
    }
    const uint32_t fullTable = kBase + kHeaderSize;
    const uint32_t halfTable = fullTable + static_cast<uint32_t>(full.data.size());
    const uint32_t pictureAddress = halfTable + static_cast<uint32_t>(half.data.size());
    const uint32_t frameTable = pictureAddress + static_cast<uint32_t>(pictures.data.size());
    size_t elementCount = 0;
    for (const auto& f : m_frames)
        elementCount += f.elements.size();
    const uint32_t indexAddress = frameTable + 13 * static_cast<uint32_t>(m_frames.size());
    const uint32_t recordsAddress = indexAddress + 5 * static_cast<uint32_t>(elementCount);
    Bytes frames, index, records;
    uint32_t entry = indexAddress;
    for (const auto& f : m_frames) {
        frames.BE16(f.id).U8(static_cast<unsigned>(f.elements.size())).BE16(f.prev).BE16(f.next);
        frames.BE32(entry).BE16(f.background);
        for (const auto& [type, record] : f.elements) {
            index.U8(type).BE32(recordsAddress + static_cast<uint32_t>(records.data.size()));
            records.Append(record);
            entry += 5;
        }
    }
    const uint32_t alarmAddress = recordsAddress + static_cast<uint32_t>(records.data.size());

    std::vector<uint8_t> image(kHeaderSize, 0);
    if (magic) {
        image[0] = 0xAA;
        image[1] = 0x55;
    }
    Le(image, 2, frameTable, 4);
    Le(image, 6, alarmAddress, 4);
    Le(image, 10, fullTable, 4);
    Le(image, 14, halfTable, 4);
    image[18] = 0xCC;
    image[23] = 0xCC;
    Le(image, 24, static_cast<uint32_t>(m_frames.size()), 2);
    Le(image, 26, beginFrame, 2);
    image[31] = setting.station;
    image[32] = setting.type;
    Le(image, 33, setting.address, 2);
    image[35] = settingAddrInc;
    image[36] = setting.subAddress;
    image[37] = options;
    image[42] = m_alarms.empty() ? 0 : 1;
    image[43] = entryProtection ? 1 : 0;
    Le(image, 44, password, 2);
    image[47] = useFrameSecond;
    Le(image, 48, useFrameIndex, 2);
    Le(image, 50, 0xCCCC, 2);
    Le(image, 52, pictureAddress, 4);
    Le(image, 56, indexAddress, 4);
    Le(image, 60, recordsAddress, 4);
    Le(image, 64, alarmAddress, 4);
    for (const Bytes* part : {&full, &half, &pictures, &frames, &index, &records})
        image.insert(image.end(), part->data.begin(), part->data.end());
    image.insert(image.end(), m_alarms.begin(), m_alarms.end());
    image.resize((image.size() + 3) / 4 * 4, 0);
    return image;
}

std::vector<uint8_t> StaticText(int left, int top, uint16_t fg, uint16_t bg, bool background,
                                const std::vector<uint8_t>& text) {
    Bytes b;
    b.BE16(left).BE16(top).U8(0).U8(static_cast<unsigned>(text.size())).BE16(fg).BE16(bg);
    b.U8(background ? 1 : 0).U8(0).U8(0).Append(text);
    return b.data;
}

std::vector<uint8_t> Register(const RegisterSpec& s) {
    Bytes b;
    b.BE16(s.left).BE16(s.top).U8(s.flags).Append(AddressBlock(s.address).data);
    b.U8(s.width).U8(s.pointBits).BE16(s.fg).BE16(s.bg).BE16(0x07E0);
    b.U8(s.background ? 1 : 0).U8(s.border).U8(0).U8(0).U8(s.flags2);
    b.BE32(s.rawUpper).BE32(s.rawLower).BE32(s.engUpper).BE32(s.engLower);
    return b.data;
}

std::vector<uint8_t> Indicator(int left, int top, uint8_t flags, const Address& bit) {
    Bytes b;
    b.BE16(left).BE16(top).U8(flags).U8(bit.station).U8(bit.type).BE16(bit.address).U8(0);
    b.U8(bit.subAddress).U8(bit.shift).BE16(32).BE16(32).BE16(0x07E0).BE16(0xF800);
    return b.data;
}

std::vector<uint8_t> Picture(int left, int top, int width, int height, uint16_t number) {
    Bytes b;
    b.BE16(left).BE16(top).U8(0).BE16(width).BE16(height).BE16(number);
    return b.data;
}

std::vector<uint8_t> Bar(int left, int top, int width, int height, const Address& address,
                         uint32_t upper, uint32_t lower, uint8_t direction, uint16_t fg,
                         uint16_t bg) {
    Bytes b;
    b.BE16(left).BE16(top).U8(0x20).Append(AddressBlock(address).data);
    b.BE16(width).BE16(height).BE32(upper).BE32(lower).U8(direction).BE16(fg).BE16(bg);
    return b.data;
}

std::vector<uint8_t> Trend(int left, int top, int width, int height, const Address& address,
                           uint8_t points, uint32_t upper, uint32_t lower, uint16_t samplingTime,
                           uint16_t back, uint16_t fore, uint16_t pen) {
    Bytes b;
    b.BE16(left).BE16(top).U8(0x60).Append(AddressBlock(address).data);
    b.BE16(width).BE16(height).U8(points).BE32(upper).BE32(lower).BE16(samplingTime);
    b.BE16(back).BE16(fore).BE16(pen).U8(1).U8(0);
    return b.data;
}

std::vector<uint8_t>
DynamicText(int left, int top, const Address& address, uint16_t fg, uint16_t bg, bool background,
            const std::vector<std::pair<uint16_t, std::vector<uint8_t>>>& items) {
    size_t longest = 0;
    for (const auto& [value, text] : items)
        longest = std::max(longest, text.size());
    Bytes b;
    b.BE16(left).BE16(top).U8(0).Append(AddressBlock(address).data).U8(0);
    b.U8(static_cast<unsigned>(items.size())).U8(static_cast<unsigned>(longest));
    b.BE16(fg).BE16(bg).U8(background ? 1 : 0).U8(0).U8(0);
    uint32_t offset = 0;
    for (const auto& [value, text] : items) {
        b.BE16(value).BE32(offset);
        offset += 2 + static_cast<uint32_t>(text.size());
    }
    for (const auto& [value, text] : items)
        b.U8(0).U8(static_cast<unsigned>(text.size())).Append(text);
    return b.data;
}

std::vector<uint8_t> KeyHead(int left, int top, uint8_t flags, uint8_t action, uint8_t keyCode) {
    Bytes b;
    b.BE16(left).BE16(top).U8(flags).U8(0).U8(action).U8(keyCode).BE16(0xC000);
    return b.data;
}

std::vector<uint8_t> JumpKey(uint8_t keyCode, uint16_t frame, uint8_t flags) {
    Bytes b;
    b.Append(KeyHead(10, 200, flags, 0x80, keyCode)).BE16(frame);
    return b.data;
}

std::vector<uint8_t> BitKey(uint8_t keyCode, uint8_t action, const Address& bit, uint8_t flags) {
    Bytes b;
    b.Append(KeyHead(50, 200, flags, action, keyCode));
    b.U8(bit.station).U8(bit.type).U8(0).BE16(bit.address).U8(bit.subAddress).U8(bit.shift);
    return b.data;
}

std::vector<uint8_t> SetRegisterKey(uint8_t keyCode, const Address& reg, uint32_t value) {
    Bytes b;
    b.Append(KeyHead(90, 200, 0x20, 0x20, keyCode));
    b.U8(reg.station).U8(reg.type).U8(reg.units).BE16(reg.address).U8(reg.subAddress).U8(0);
    b.BE32(value);
    return b.data;
}

std::vector<uint8_t> MultiStatusKey(uint8_t keyCode, uint8_t action, const Address& reg,
                                    uint16_t step, uint32_t limit, uint8_t flags) {
    Bytes b;
    b.Append(KeyHead(130, 200, flags, action, keyCode));
    b.U8(reg.station).U8(reg.type).U8(reg.units).BE16(reg.address).U8(reg.subAddress).U8(0);
    b.BE16(step).BE32(limit);
    return b.data;
}

std::vector<uint8_t> RecipeKey(uint8_t keyCode, uint8_t action, const Address& reg, uint16_t length,
                               uint16_t limit) {
    Bytes b;
    b.Append(KeyHead(170, 200, 0, action, keyCode));
    b.U8(reg.station).U8(reg.type).U8(reg.units).BE16(reg.address).U8(reg.subAddress).U8(0);
    b.U8(1).BE16(length).BE16(limit);
    return b.data;
}

std::vector<uint8_t> ScreenKey(uint8_t keyCode, uint8_t action) {
    Bytes b;
    b.Append(KeyHead(210, 200, 0, action, keyCode)).BE16(0);
    return b.data;
}

std::vector<uint8_t> Handover(const std::vector<uint8_t>& image, uint8_t key) {
    Bytes b;
    b.BE32(static_cast<uint32_t>(image.size())).U8(key);
    for (uint8_t byte : image)
        b.U8(byte ^ key);
    return b.data;
}

#include "ImageBuilder.h"

#include "GlyphLayout.h"
#include "Handover.h"
#include "ImageLayout.h"
#include "KeyAction.h"
#include "RecordLayout.h"
#include "SectionLayout.h"

#include <QByteArray>

#include <algorithm>

namespace {

constexpr int kHalfGlyphBytes = 16; // 16-pixel half-width glyph
constexpr int kFullGlyphBytes = 32;

std::vector<uint8_t> HalfGlyph(int g) {
    std::vector<uint8_t> glyph(kHalfGlyphBytes, 0);
    if (g == RegisterGlyph::kBlank)
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

// A record of `size` bytes that starts with its position and flags.
Bytes NewRecord(uint32_t size, int left, int top, uint8_t flags = 0) {
    Bytes b(size);
    b.PutBE16(RecordHeadLayout::kLeft, static_cast<unsigned>(left));
    b.PutBE16(RecordHeadLayout::kTop, static_cast<unsigned>(top));
    b.PutU8(RecordHeadLayout::kFlags, flags);
    return b;
}

void PutWordAddress(Bytes& b, uint32_t at, const Address& a) {
    namespace Layout = WordAddressLayout;
    b.PutU8(at + Layout::kStation, a.station)
        .PutU8(at + Layout::kType, a.type)
        .PutBE16(at + Layout::kAddress, a.address)
        .PutU8(at + Layout::kUnits, a.units)
        .PutU8(at + Layout::kSubAddress, a.subAddress);
}

void PutBitAddress(Bytes& b, uint32_t at, const Address& a) {
    namespace Layout = BitAddressLayout;
    b.PutU8(at + Layout::kStation, a.station)
        .PutU8(at + Layout::kType, a.type)
        .PutBE16(at + Layout::kAddress, a.address)
        .PutU8(at + Layout::kSubAddress, a.subAddress)
        .PutU8(at + Layout::kShift, a.shift);
}

void PutKeyAddress(Bytes& b, const Address& a, uint8_t units, uint8_t shift) {
    namespace Layout = KeyAddressLayout;
    const uint32_t at = FunctionKeyLayout::kParameters;
    b.PutU8(at + Layout::kStation, a.station)
        .PutU8(at + Layout::kType, a.type)
        .PutU8(at + Layout::kUnits, units)
        .PutBE16(at + Layout::kAddress, a.address)
        .PutU8(at + Layout::kSubAddress, a.subAddress)
        .PutU8(at + Layout::kShift, shift);
}

void AppendTextItem(Bytes& b, const std::vector<uint8_t>& text) {
    b.U8(0).U8(static_cast<unsigned>(text.size())).Append(text);
}

Bytes KeyRecord(uint32_t size, int left, int top, uint8_t flags, uint8_t action, uint8_t keyCode) {
    namespace Layout = FunctionKeyLayout;
    Bytes b = NewRecord(size, left, top, flags);
    b.PutU8(Layout::kAction, action)
        .PutU8(Layout::kKeyCode, keyCode)
        .PutBE16(Layout::kPicture, kKeyPictureBase);
    return b;
}

} // namespace

Bytes::Bytes(size_t size) : data(size, 0) {}

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
Bytes& Bytes::PutU8(uint32_t at, unsigned v) {
    data.at(at) = static_cast<uint8_t>(v);
    return *this;
}
Bytes& Bytes::PutBE16(uint32_t at, unsigned v) {
    return PutU8(at, v >> 8).PutU8(at + 1, v);
}
Bytes& Bytes::PutBE32(uint32_t at, uint32_t v) {
    return PutBE16(at, v >> 16).PutBE16(at + 2, v & 0xFFFF);
}
Bytes& Bytes::PutLE16(uint32_t at, unsigned v) {
    return PutU8(at, v).PutU8(at + 1, v >> 8);
}
Bytes& Bytes::PutLE32(uint32_t at, uint32_t v) {
    return PutLE16(at, v & 0xFFFF).PutLE16(at + 2, v >> 16);
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
    namespace Layout = AlarmSectionLayout;
    size_t longest = 0;
    for (const auto& t : texts)
        longest = std::max(longest, t.size());
    const auto count = static_cast<uint32_t>(texts.size());
    Bytes s(Layout::kOffsets + Layout::kOffsetSize * count);
    PutBitAddress(s, Layout::kAddress, first);
    s.PutU8(Layout::kCount, count)
        .PutU8(Layout::kLongest, static_cast<unsigned>(longest))
        .PutBE16(Layout::kBackground, background)
        .PutBE16(Layout::kTextColour, textColour);
    for (uint32_t i = 0; i < count; ++i) {
        s.PutBE32(Layout::kOffsets + Layout::kOffsetSize * i,
                  static_cast<uint32_t>(s.data.size()) - Layout::kOffsetBase);
        AppendTextItem(s, texts[i]);
    }
    m_alarms = s.data;
}

std::vector<uint8_t> ImageBuilder::Build() const {
    // Table then glyphs; every size index of font 0 points at the same block.
    Bytes full;
    for (int i = 0; i < kSizeCount; ++i)
        full.BE32(kGlyphTableFontSize);
    for (int k = 0; k < fullGlyphCount; ++k)
        full.Append(FullGlyph(k));
    Bytes half;
    for (int i = 0; i < kSizeCount; ++i)
        half.BE32(kGlyphTableFontSize);
    for (int g = 0; g < halfGlyphCount; ++g)
        half.Append(HalfGlyph(g));
    Bytes pictures;
    if (!m_pictures.empty()) {
        namespace Layout = PictureSectionLayout;
        pictures = Bytes(Layout::kEntries + Layout::kEntrySize * m_pictures.size());
        pictures.PutBE16(Layout::kCount, static_cast<unsigned>(m_pictures.size()));
        uint32_t entry = Layout::kEntries;
        for (const auto& p : m_pictures) {
            pictures.PutBE32(entry + Layout::kEntryOffset,
                             static_cast<uint32_t>(pictures.data.size()));
            pictures.PutBE32(entry + Layout::kEntryLength,
                             static_cast<uint32_t>(Layout::kPixelSize * p.size()));
            for (uint16_t px : p)
                pictures.U8(px & 0xFF).U8(px >> 8);
            entry += Layout::kEntrySize;
        }
    }
    const uint32_t fullTable = kImageBase + kHeaderSize;
    const uint32_t halfTable = fullTable + static_cast<uint32_t>(full.data.size());
    const uint32_t pictureAddress = halfTable + static_cast<uint32_t>(half.data.size());
    const uint32_t frameTable = pictureAddress + static_cast<uint32_t>(pictures.data.size());
    size_t elementCount = 0;
    for (const auto& f : m_frames)
        elementCount += f.elements.size();
    const uint32_t indexAddress =
        frameTable + FrameLayout::kSize * static_cast<uint32_t>(m_frames.size());
    const uint32_t recordsAddress =
        indexAddress + IndexEntryLayout::kSize * static_cast<uint32_t>(elementCount);
    Bytes frames, index, records;
    uint32_t entry = indexAddress;
    for (const auto& f : m_frames) {
        Bytes frame(FrameLayout::kSize);
        frame.PutBE16(FrameLayout::kId, f.id)
            .PutU8(FrameLayout::kElementCount, static_cast<unsigned>(f.elements.size()))
            .PutBE16(FrameLayout::kPrevId, f.prev)
            .PutBE16(FrameLayout::kNextId, f.next)
            .PutBE32(FrameLayout::kIndexAddress, entry)
            .PutBE16(FrameLayout::kBackground, f.background);
        frames.Append(frame.data);
        for (const auto& [type, record] : f.elements) {
            Bytes indexEntry(IndexEntryLayout::kSize);
            indexEntry.PutU8(IndexEntryLayout::kType, type)
                .PutBE32(IndexEntryLayout::kRecord,
                         recordsAddress + static_cast<uint32_t>(records.data.size()));
            index.Append(indexEntry.data);
            records.Append(record);
            entry += IndexEntryLayout::kSize;
        }
    }
    const uint32_t alarmAddress = recordsAddress + static_cast<uint32_t>(records.data.size());

    namespace Field = HeaderLayout;
    Bytes header(kHeaderSize);
    if (magic)
        header.PutLE16(Field::kMagic, kHeaderMagic);
    header.PutLE32(Field::kFrameTable, frameTable)
        .PutLE32(Field::kAlarms, alarmAddress)
        .PutLE32(Field::kFullWidthTable, fullTable)
        .PutLE32(Field::kHalfWidthTable, halfTable)
        .PutU8(Field::kFiller1, kHeaderFiller)
        .PutU8(Field::kFiller2, kHeaderFiller)
        .PutLE16(Field::kFrameCount, static_cast<unsigned>(m_frames.size()))
        .PutLE16(Field::kBeginFrame, beginFrame)
        .PutU8(Field::kSettingStation, setting.station)
        .PutU8(Field::kSettingType, setting.type)
        .PutLE16(Field::kSettingAddress, setting.address)
        .PutU8(Field::kSettingAddrInc, settingAddrInc)
        .PutU8(Field::kSettingSubAddress, setting.subAddress)
        .PutU8(Field::kOptions, options)
        .PutU8(Field::kAlarmsActive, m_alarms.empty() ? 0 : 1)
        .PutU8(Field::kEntryProtection, entryProtection ? 1 : 0)
        .PutLE16(Field::kPassword, password)
        .PutU8(Field::kUseFrameSecond, useFrameSecond)
        .PutLE16(Field::kUseFrameIndex, useFrameIndex)
        .PutLE16(Field::kFiller3, kHeaderFiller16)
        .PutLE32(Field::kPictures, pictureAddress)
        .PutLE32(Field::kElementIndex, indexAddress)
        .PutLE32(Field::kElementRecords, recordsAddress)
        .PutLE32(Field::kAlarmSection, alarmAddress);
    std::vector<uint8_t> image = header.data;
    for (const Bytes* part : {&full, &half, &pictures, &frames, &index, &records})
        image.insert(image.end(), part->data.begin(), part->data.end());
    image.insert(image.end(), m_alarms.begin(), m_alarms.end());
    image.resize((image.size() + 3) / 4 * 4, 0);
    return image;
}

std::vector<uint8_t> StaticText(int left, int top, uint16_t fg, uint16_t bg, bool background,
                                const std::vector<uint8_t>& text) {
    namespace Layout = StaticTextLayout;
    Bytes b = NewRecord(Layout::kText, left, top);
    b.PutU8(Layout::kCount, static_cast<unsigned>(text.size()))
        .PutBE16(Layout::kForeground, fg)
        .PutBE16(Layout::kBackground, bg)
        .PutU8(Layout::kBackgroundFlag, background ? kDrawBackground : 0)
        .Append(text);
    return b.data;
}

std::vector<uint8_t> Register(const RegisterSpec& s) {
    namespace Layout = RegisterLayout;
    Bytes b = NewRecord(Layout::kSize, s.left, s.top, s.flags);
    PutWordAddress(b, Layout::kAddress, s.address);
    b.PutU8(Layout::kWidth, s.width)
        .PutU8(Layout::kPointBits, s.pointBits)
        .PutBE16(Layout::kForeground, s.fg)
        .PutBE16(Layout::kBackground, s.bg)
        .PutBE16(Layout::kBorderColour, 0x07E0)
        .PutU8(Layout::kBackgroundFlag, s.background ? kDrawBackground : 0)
        .PutU8(Layout::kBorder, s.border)
        .PutU8(Layout::kFlags2, s.flags2)
        .PutBE32(Layout::kRawUpper, s.rawUpper)
        .PutBE32(Layout::kRawLower, s.rawLower)
        .PutBE32(Layout::kEngUpper, s.engUpper)
        .PutBE32(Layout::kEngLower, s.engLower);
    return b.data;
}

std::vector<uint8_t> Indicator(int left, int top, uint8_t flags, const Address& bit) {
    namespace Layout = IndicatorLayout;
    Bytes b = NewRecord(Layout::kSize, left, top, flags);
    PutBitAddress(b, Layout::kAddress, bit);
    b.PutBE16(Layout::kWidth, 32)
        .PutBE16(Layout::kHeight, 32)
        .PutBE16(Layout::kOnColour, 0x07E0)
        .PutBE16(Layout::kOffColour, 0xF800);
    return b.data;
}

std::vector<uint8_t> Picture(int left, int top, int width, int height, uint16_t number) {
    namespace Layout = PictureLayout;
    Bytes b = NewRecord(Layout::kSize, left, top);
    b.PutBE16(Layout::kWidth, static_cast<unsigned>(width))
        .PutBE16(Layout::kHeight, static_cast<unsigned>(height))
        .PutBE16(Layout::kNumber, number);
    return b.data;
}

std::vector<uint8_t> Bar(int left, int top, int width, int height, const Address& address,
                         uint32_t upper, uint32_t lower, uint8_t direction, uint16_t fg,
                         uint16_t bg) {
    namespace Layout = BarLayout;
    Bytes b = NewRecord(Layout::kSize, left, top, kFlagDecimal);
    PutWordAddress(b, Layout::kAddress, address);
    b.PutBE16(Layout::kWidth, static_cast<unsigned>(width))
        .PutBE16(Layout::kHeight, static_cast<unsigned>(height))
        .PutBE32(Layout::kUpper, upper)
        .PutBE32(Layout::kLower, lower)
        .PutU8(Layout::kDirection, direction)
        .PutBE16(Layout::kForeground, fg)
        .PutBE16(Layout::kBackground, bg);
    return b.data;
}

std::vector<uint8_t> Trend(int left, int top, int width, int height, const Address& address,
                           uint8_t points, uint32_t upper, uint32_t lower, uint16_t samplingTime,
                           uint16_t back, uint16_t fore, uint16_t pen) {
    namespace Layout = TrendLayout;
    Bytes b = NewRecord(Layout::kSize, left, top, kTrendFlag | kFlagDecimal);
    PutWordAddress(b, Layout::kAddress, address);
    b.PutBE16(Layout::kWidth, static_cast<unsigned>(width))
        .PutBE16(Layout::kHeight, static_cast<unsigned>(height))
        .PutU8(Layout::kSamplingPoint, points)
        .PutBE32(Layout::kUpper, upper)
        .PutBE32(Layout::kLower, lower)
        .PutBE16(Layout::kSamplingTime, samplingTime)
        .PutBE16(Layout::kBackground, back)
        .PutBE16(Layout::kForeground, fore)
        .PutBE16(Layout::kPen, pen)
        .PutU8(Layout::kTrendCount, 1)
        .PutU8(Layout::kTrendNumber, 0);
    return b.data;
}

std::vector<uint8_t>
DynamicText(int left, int top, const Address& address, uint16_t fg, uint16_t bg, bool background,
            const std::vector<std::pair<uint16_t, std::vector<uint8_t>>>& items) {
    namespace Layout = DynamicTextLayout;
    size_t longest = 0;
    for (const auto& [value, text] : items)
        longest = std::max(longest, text.size());
    Bytes b = NewRecord(Layout::kEntries + Layout::kEntrySize * static_cast<uint32_t>(items.size()),
                        left, top);
    PutWordAddress(b, Layout::kAddress, address);
    b.PutU8(Layout::kItemCount, static_cast<unsigned>(items.size()))
        .PutU8(Layout::kLongest, static_cast<unsigned>(longest))
        .PutBE16(Layout::kForeground, fg)
        .PutBE16(Layout::kBackground, bg)
        .PutU8(Layout::kBackgroundFlag, background ? kDrawBackground : 0);
    uint32_t entry = Layout::kEntries;
    uint32_t offset = 0;
    for (const auto& [value, text] : items) {
        b.PutBE16(entry + Layout::kEntryValue, value).PutBE32(entry + Layout::kEntryOffset, offset);
        entry += Layout::kEntrySize;
        offset += TextItemLayout::kText + static_cast<uint32_t>(text.size());
    }
    for (const auto& [value, text] : items)
        AppendTextItem(b, text);
    return b.data;
}

std::vector<uint8_t> KeyHead(int left, int top, uint8_t flags, uint8_t action, uint8_t keyCode) {
    return KeyRecord(FunctionKeyLayout::kParameters, left, top, flags, action, keyCode).data;
}

std::vector<uint8_t> JumpKey(uint8_t keyCode, uint16_t frame, uint8_t flags) {
    Bytes b =
        KeyRecord(FunctionKeyLayout::kJumpSize, 10, 200, flags, ActionCode::kJumpFrame, keyCode);
    b.PutBE16(FunctionKeyLayout::kJumpFrame, frame);
    return b.data;
}

std::vector<uint8_t> BitKey(uint8_t keyCode, uint8_t action, const Address& bit, uint8_t flags) {
    Bytes b = KeyRecord(FunctionKeyLayout::kSetBitSize, 50, 200, flags, action, keyCode);
    PutKeyAddress(b, bit, 0, bit.shift);
    return b.data;
}

std::vector<uint8_t> SetRegisterKey(uint8_t keyCode, const Address& reg, uint32_t value) {
    Bytes b = KeyRecord(FunctionKeyLayout::kSetRegisterSize, 90, 200, kFlagDecimal,
                        ActionCode::kSetRegister, keyCode);
    PutKeyAddress(b, reg, reg.units, 0);
    b.PutBE32(FunctionKeyLayout::kValue, value);
    return b.data;
}

std::vector<uint8_t> MultiStatusKey(uint8_t keyCode, uint8_t action, const Address& reg,
                                    uint16_t step, uint32_t limit, uint8_t flags) {
    Bytes b = KeyRecord(FunctionKeyLayout::kMultiStatusSize, 130, 200, flags, action, keyCode);
    PutKeyAddress(b, reg, reg.units, 0);
    b.PutBE16(FunctionKeyLayout::kStep, step).PutBE32(FunctionKeyLayout::kLimit, limit);
    return b.data;
}

std::vector<uint8_t> RecipeKey(uint8_t keyCode, uint8_t action, const Address& reg, uint16_t length,
                               uint16_t limit) {
    Bytes b = KeyRecord(FunctionKeyLayout::kRecipeSize, 170, 200, 0, action, keyCode);
    PutKeyAddress(b, reg, reg.units, 0);
    b.PutU8(FunctionKeyLayout::kAddrInc, 1)
        .PutBE16(FunctionKeyLayout::kTransferLength, length)
        .PutBE16(FunctionKeyLayout::kTransferLimit, limit);
    return b.data;
}

std::vector<uint8_t> ScreenKey(uint8_t keyCode, uint8_t action) {
    return KeyRecord(FunctionKeyLayout::kJumpSize, 210, 200, 0, action, keyCode).data;
}

std::vector<uint8_t> HandoverOf(const std::vector<uint8_t>& image, uint8_t key) {
    const QByteArray bytes(reinterpret_cast<const char*>(image.data()),
                           static_cast<qsizetype>(image.size()));
    std::vector<uint8_t> handover(Handover::kHeadSize + image.size());
    Handover::Encode(bytes, key, handover);
    return handover;
}

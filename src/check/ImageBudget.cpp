#include "ImageBudget.h"

#include "ByteOrder.h"
#include "CompileHelper.h"
#include "GEPicture.h"
#include "GlyphLayout.h"
#include "ImageLayout.h"
#include "KoravelProject.h"
#include "RecordLayout.h"
#include "SectionLayout.h"

#include <algorithm>

namespace {

std::uint32_t HeaderField(const QByteArray& image, std::uint32_t offset) {
    return GetLE32(image, offset);
}

// The ten sections from the header's addresses; the glyph tables hold 32 bytes a font.
std::vector<BudgetSection> Sections(const QByteArray& image, std::uint32_t fonts) {
    namespace Field = HeaderLayout;
    const std::uint32_t fullTable = HeaderField(image, Field::kFullWidthTable);
    const std::uint32_t halfTable = HeaderField(image, Field::kHalfWidthTable);
    const std::uint32_t pictures = HeaderField(image, Field::kPictures);
    const std::uint32_t frameTable = HeaderField(image, Field::kFrameTable);
    const std::uint32_t index = HeaderField(image, Field::kElementIndex);
    const std::uint32_t records = HeaderField(image, Field::kElementRecords);
    const std::uint32_t alarms = HeaderField(image, Field::kAlarmSection);
    const std::uint32_t end = kImageBase + static_cast<std::uint32_t>(image.size());
    const std::uint32_t tables = kGlyphTableFontSize * fonts;
    const std::vector<std::pair<QString, std::uint32_t>> starts{
        {QStringLiteral("header"), kImageBase},
        {QStringLiteral("full-width table"), fullTable},
        {QStringLiteral("full-width glyphs"), fullTable + tables},
        {QStringLiteral("half-width table"), halfTable},
        {QStringLiteral("half-width glyphs"), halfTable + tables},
        {QStringLiteral("pictures"), pictures},
        {QStringLiteral("frame table"), frameTable},
        {QStringLiteral("element index"), index},
        {QStringLiteral("element records"), records},
        {QStringLiteral("alarms"), alarms},
    };
    std::vector<BudgetSection> sections;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const std::uint32_t next = i + 1 < starts.size() ? starts[i + 1].second : end;
        sections.push_back({starts[i].first, starts[i].second, next - starts[i].second});
    }
    return sections;
}

std::vector<FontCost> Fonts(const CFontRegistry& registry) {
    std::vector<FontCost> fonts;
    for (const FontEntry& entry : registry.Entries()) {
        for (int index = 0; index < kSizeCount; ++index) {
            const auto i = static_cast<std::size_t>(index);
            const int size = PixelSize(index);
            const int full = static_cast<int>(entry.full[i].chars.size());
            const int half = static_cast<int>(entry.half[i].chars.size());
            if (full + half == 0)
                continue;
            const auto bytes = static_cast<std::uint32_t>(full * size * ((size + 7) / 8) +
                                                          half * size * ((size / 2 + 7) / 8));
            fonts.push_back({entry.face, size, full, half, bytes});
        }
    }
    std::stable_sort(fonts.begin(), fonts.end(), [](const FontCost& a, const FontCost& b) {
        return a.fullWidthGlyphs + a.halfWidthGlyphs > b.fullWidthGlyphs + b.halfWidthGlyphs;
    });
    return fonts;
}

// Records follow each other in frame order, so each ends where the next begins.
std::vector<FrameCost> Frames(const CKoravelProject& project, const QByteArray& image) {
    const std::uint32_t index = HeaderField(image, HeaderLayout::kElementIndex);
    const std::uint32_t end = HeaderField(image, HeaderLayout::kAlarmSection);
    const std::uint32_t count =
        (HeaderField(image, HeaderLayout::kElementRecords) - index) / IndexEntryLayout::kSize;
    const auto recordAt = [&](std::uint32_t n) {
        return n < count ? GetBE32(image, index - kImageBase + n * IndexEntryLayout::kSize +
                                              IndexEntryLayout::kRecord)
                         : end;
    };
    std::vector<FrameCost> frames;
    std::uint32_t n = 0;
    for (const auto& frame : project.m_Frames) {
        const auto elements = static_cast<std::uint32_t>(frame->m_Parts.size());
        frames.push_back({frame->m_nID, static_cast<int>(elements),
                          FrameLayout::kSize + IndexEntryLayout::kSize * elements +
                              recordAt(n + elements) - recordAt(n)});
        n += elements;
    }
    std::stable_sort(frames.begin(), frames.end(),
                     [](const FrameCost& a, const FrameCost& b) { return a.bytes > b.bytes; });
    return frames;
}

// Picture k of the section belongs to the k-th picture element in compile order.
std::vector<PictureCost> Pictures(const CKoravelProject& project, const QByteArray& image) {
    namespace Layout = PictureSectionLayout;
    const std::uint32_t section = HeaderField(image, HeaderLayout::kPictures) - kImageBase;
    std::vector<PictureCost> pictures;
    std::uint32_t k = 0;
    for (const auto& frame : project.m_Frames) {
        for (std::size_t i = 0; i < frame->m_Parts.size(); ++i) {
            if (frame->m_Parts[i]->m_nTypeCode != kTypePicture)
                continue;
            const auto& picture = static_cast<const CGEPicture&>(*frame->m_Parts[i]);
            const std::uint32_t length =
                GetBE32(image, section + Layout::kEntries + Layout::kEntrySize * k++ +
                                   Layout::kEntryLength);
            pictures.push_back({frame->m_nID, static_cast<int>(i), picture.m_nWidth,
                                picture.m_nHeight, Layout::kEntrySize + length});
        }
    }
    std::stable_sort(pictures.begin(), pictures.end(),
                     [](const PictureCost& a, const PictureCost& b) { return a.bytes > b.bytes; });
    return pictures;
}

} // namespace

ImageBudget MeasureImage(const CKoravelProject& project, const std::atomic<bool>* abort) {
    ImageBudget budget;
    CCompileHelper compiler(nullptr, abort);
    compiler.SetLayoutOnly(true);
    QByteArray image;
    if (!compiler.Compile(project, image, budget.error))
        return budget;
    budget.compiled = true;
    budget.imageBytes = static_cast<std::uint32_t>(image.size());
    const auto fonts = static_cast<std::uint32_t>(compiler.Fonts().Entries().size());
    budget.sections = Sections(image, fonts);
    budget.fonts = Fonts(compiler.Fonts());
    budget.frames = Frames(project, image);
    budget.pictures = Pictures(project, image);
    return budget;
}

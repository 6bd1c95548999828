#include "PanelDrawing.h"

#include "BuiltinImages.h"
#include "GlyphLayout.h"

#include <algorithm>

namespace {

struct Glyph {
    uint32_t address = 0;
    int width = 0;
    int rowBytes = 0;
};

Glyph LocateGlyph(const PanelImage& image, uint32_t table, uint8_t font, uint8_t sizeIndex,
                  int number, bool fullWidth) {
    const int size = GlyphSize(sizeIndex);
    const int width = fullWidth ? size : size / 2;
    const int rowBytes = (width + 7) / 8;
    const uint32_t index = sizeIndex < kSizeCount ? sizeIndex : 0;
    const uint32_t block =
        image.BE32(table + kGlyphTableFontSize * font + kGlyphBlockOffsetSize * index);
    const uint32_t glyphBytes = static_cast<uint32_t>(rowBytes * size);
    return {table + block + static_cast<uint32_t>(number) * glyphBytes, width, rowBytes};
}

void DrawGlyph(DisplayMemory& display, const PanelImage& image, int x, int y, int size,
               const Glyph& glyph, const TextColours& colours) {
    uint8_t bits[14]; // the widest row: 112 pixels
    for (int row = 0; row < size; ++row) {
        const uint32_t rowAt = glyph.address + static_cast<uint32_t>(row * glyph.rowBytes);
        for (int i = 0; i < glyph.rowBytes; ++i)
            bits[i] = image.Byte(rowAt + static_cast<uint32_t>(i));
        display.BitRow(x, y + row, bits, glyph.width, colours.foreground, colours.background,
                       colours.drawBackground);
    }
}

} // namespace

int GlyphSize(uint8_t sizeIndex) {
    return kGlyphPixelSizes[sizeIndex < kSizeCount ? sizeIndex : 0];
}

int DrawText(DisplayMemory& display, const PanelImage& image, const ImageHeader& header, int x,
             int y, const TextRun& run, const TextColours& colours) {
    const int size = GlyphSize(run.sizeIndex);
    for (int i = 0; i < run.count; ++i) {
        const uint8_t first = image.Byte(run.bytes + static_cast<uint32_t>(i));
        Glyph glyph;
        if (first & kFullWidthBit) {
            const int number = (first & kFullWidthHighBits) << 8 | image.Byte(run.bytes + i + 1u);
            ++i;
            glyph =
                LocateGlyph(image, header.fullWidthTable, run.font, run.sizeIndex, number, true);
        } else {
            glyph =
                LocateGlyph(image, header.halfWidthTable, run.font, run.sizeIndex, first, false);
        }
        if (x >= DisplayMemory::kWidth)
            return x; // the rest is off screen
        DrawGlyph(display, image, x, y, size, glyph, colours);
        x += glyph.width;
    }
    return x;
}

void DrawHalfGlyph(DisplayMemory& display, const PanelImage& image, const ImageHeader& header,
                   int x, int y, uint8_t font, uint8_t sizeIndex, uint8_t glyph,
                   const TextColours& colours) {
    DrawGlyph(display, image, x, y, GlyphSize(sizeIndex),
              LocateGlyph(image, header.halfWidthTable, font, sizeIndex, glyph, false), colours);
}

std::optional<FrameRecord> FindFrame(const PanelImage& image, const ImageHeader& header,
                                     uint16_t id) {
    for (uint32_t i = 0; i < header.frameCount; ++i) {
        const uint32_t at = header.frameTable + FrameLayout::kSize * i;
        if (at - kImageBase >= image.Size())
            break; // a frame count past the image finds nothing more
        if (image.BE16(at + FrameLayout::kId) == id)
            return ReadFrameRecord(image, at);
    }
    return std::nullopt;
}

void DrawPicture(DisplayMemory& display, const PanelImage& image, const ImageHeader& header,
                 const PictureRecord& picture) {
    namespace Layout = PictureSectionLayout;
    const uint32_t entry = header.pictures + Layout::kEntries + Layout::kEntrySize * picture.number;
    const uint32_t data = header.pictures + image.BE32(entry + Layout::kEntryOffset);
    // Only the visible part is copied: a damaged size must not cost billions of reads.
    const int rows = std::min(picture.height, DisplayMemory::kHeight - picture.top);
    const int columns = std::min(picture.width, DisplayMemory::kWidth - picture.left);
    for (int y = 0; y < rows; ++y) {
        const uint32_t row = data + Layout::kPixelSize * static_cast<uint32_t>(y * picture.width);
        for (int x = 0; x < columns; ++x)
            display.Pixel(picture.left + x, picture.top + y,
                          image.LE16(row + Layout::kPixelSize * static_cast<uint32_t>(x)));
    }
}

void DrawFunctionKey(DisplayMemory& display, const FunctionKeyRecord& key, bool pressed) {
    if (key.flags & kKeyHide)
        return;
    const bool large = key.flags & kFlagDouble;
    const int size = large ? 64 : 32;
    int x = key.left;
    if (key.flags & kKeyHand) {
        DrawImage(display, x, key.top, HandImage(large), Blit::Transparent);
        x += size;
    }
    DrawImage(display, x, key.top, KeyImage(key.keyCode, large),
              pressed ? Blit::TransparentPressed : Blit::Transparent);
}

void DrawTrendFrame(DisplayMemory& display, const TrendRecord& trend) {
    display.FillRect(trend.left, trend.top, trend.width, trend.height, trend.background);
    display.Rect(trend.left, trend.top, trend.width, trend.height, trend.foreground);
    // Light axis ticks along the left and bottom edge, one per tenth of the range.
    for (int i = 1; i < 10; ++i) {
        const int y = trend.top + trend.height - 1 - i * (trend.height - 1) / 10;
        display.HLine(trend.left + 1, y, 3, trend.foreground);
        const int x = trend.left + i * (trend.width - 1) / 10;
        display.VLine(x, trend.top + trend.height - 4, 3, trend.foreground);
    }
}

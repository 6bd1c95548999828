#pragma once

#include "DisplayMemory.h"
#include "ImageHeader.h"
#include "PanelImage.h"
#include "RecordReaders.h"

#include <optional>

// Drawing of what the image describes: texts from its glyph tables, pictures, the static parts
// of function keys and trends, and frame search.

// Pixel height of a size index; an index outside 0..7 counts as 0, like the compiler's fallback.
int GlyphSize(uint8_t sizeIndex);

struct TextColours {
    uint16_t foreground = 0;
    uint16_t background = 0;
    bool drawBackground = false;
};

// Draws `run.count` text bytes at (x, y); returns the pen position after the text.
int DrawText(DisplayMemory& display, const PanelImage& image, const ImageHeader& header, int x,
             int y, const TextRun& run, const TextColours& colours);
// Draws one half-width glyph (register digits and blanks are fixed glyph numbers).
void DrawHalfGlyph(DisplayMemory& display, const PanelImage& image, const ImageHeader& header,
                   int x, int y, uint8_t font, uint8_t sizeIndex, uint8_t glyph,
                   const TextColours& colours);

std::optional<FrameRecord> FindFrame(const PanelImage& image, const ImageHeader& header,
                                     uint16_t id);

void DrawPicture(DisplayMemory& display, const PanelImage& image, const ImageHeader& header,
                 const PictureRecord& picture);
void DrawFunctionKey(DisplayMemory& display, const FunctionKeyRecord& key, bool pressed);
void DrawTrendFrame(DisplayMemory& display, const TrendRecord& trend);

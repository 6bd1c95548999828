#pragma once

#include "BuildOutputs.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <vector>

class CKoravelProject;

// The panel takes images of at most this many bytes: the compiler's limit, as a byte count of
// the budget's type.
inline constexpr std::uint32_t kImageLimit = static_cast<std::uint32_t>(kMaxImageSize);

// One section of the image, in image order.
struct BudgetSection {
    QString name; // "header", "full-width table", ...
    std::uint32_t address = 0;
    std::uint32_t bytes = 0;
};

struct PictureCost {
    int frameId = 0;
    int element = 0;
    int width = 0;
    int height = 0;
    std::uint32_t bytes = 0; // its table entry and its pixels
};

// The glyphs of one face at one size.
struct FontCost {
    QString face;
    int size = 0;
    int fullWidthGlyphs = 0;
    int halfWidthGlyphs = 0;
    std::uint32_t bytes = 0;
};

struct FrameCost {
    int frameId = 0;
    int elements = 0;
    std::uint32_t bytes = 0; // its frame record, index entries and element records
};

// What the compiled image takes, by section, against the panel's limit, and who takes most.
struct ImageBudget {
    bool compiled = false;
    QString error; // why the project does not compile
    std::uint32_t imageBytes = 0;
    std::vector<BudgetSection> sections;
    // Largest first; each list holds every picture, face and size, and frame.
    std::vector<PictureCost> pictures;
    std::vector<FontCost> fonts; // by glyph count
    std::vector<FrameCost> frames;
};

// Compiles the project, only reading it, with blank glyphs: the layout and every size are
// those of the real image. `abort` ends the compile early (compiled is then false).
ImageBudget MeasureImage(const CKoravelProject& project, const std::atomic<bool>* abort = nullptr);

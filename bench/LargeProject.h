#pragma once

#include "KoravelProject.h"

#include <memory>

// The large project of the benchmarks: 100 frames of 30 elements (20 static texts, registers,
// lamps, keys and bars), `glyphs` distinct Chinese characters spread over 4 sizes and 2 faces,
// and 10 pictures of 480 x 272. Addresses are bound to `plc` (none: no types).
inline constexpr int kLargeFrames = 100;
inline constexpr int kLargeElementsPerFrame = 30;

std::unique_ptr<CKoravelProject> LargeProject(int glyphs, const CPLCEntity* plc = nullptr);

// Character k of the CJK block's common characters, one after the other.
char16_t Han(int k);

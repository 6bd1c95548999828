#pragma once

#include "GlyphLayout.h"
#include "RecordReaders.h"

#include <cstdint>
#include <optional>
#include <vector>

// How a register element turns a raw PLC value into the fixed half-width glyphs that the
// compiler puts first in every register font (kRegisterGlyphs): 0..15 the digits, then
// RegisterGlyph's overflow, blank, minus and point.

// The raw value read at `bits` width, sign-extended when the register is signed.
int64_t RawValue(uint32_t raw, int bits, bool isSigned);
// A 32-bit limit field as the register's sign reads it.
int64_t LimitValue(uint32_t field, bool isSigned);
// a + (b - a) * (x - c) / (d - c) in floating point, rounded half away from zero; empty when
// c == d.
std::optional<int64_t> Interpolate(int64_t a, int64_t b, int64_t x, int64_t c, int64_t d);
// The value the register shows: raw, or scaled into engineering units.
int64_t DisplayValue(const RegisterRecord& reg, uint32_t raw);

// `width` glyphs, the number right-aligned; "?" in every place when it does not fit.
std::vector<uint8_t> RegisterGlyphs(int64_t value, int width, int pointBits, bool decimal);

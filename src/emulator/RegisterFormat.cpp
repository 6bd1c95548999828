#include "RegisterFormat.h"

#include "RuntimeMemory.h"

#include <algorithm>
#include <cmath>

int64_t RawValue(uint32_t raw, int bits, bool isSigned) {
    if (bits < 32)
        raw &= (1u << bits) - 1;
    if (!isSigned)
        return raw;
    if (bits < 32 && (raw & (1u << (bits - 1))))
        return static_cast<int64_t>(raw) - (int64_t{1} << bits);
    return static_cast<int32_t>(raw);
}

int64_t LimitValue(uint32_t field, bool isSigned) {
    return isSigned ? int64_t{static_cast<int32_t>(field)} : int64_t{field};
}

std::optional<int64_t> Interpolate(int64_t a, int64_t b, int64_t x, int64_t c, int64_t d) {
    if (c == d)
        return std::nullopt;
    const double result = static_cast<double>(a) + static_cast<double>(b - a) *
                                                       static_cast<double>(x - c) /
                                                       static_cast<double>(d - c);
    // Limits from a damaged or careless image can push the result past 64 bits.
    constexpr double kLargest = 9.0e18;
    return static_cast<int64_t>(std::round(std::clamp(result, -kLargest, kLargest)));
}

int64_t DisplayValue(const RegisterRecord& reg, uint32_t raw) {
    const bool isSigned = reg.flags & kFlagSigned;
    const int64_t value = RawValue(raw, AccessBits(WordAccess(reg.address.units)), isSigned);
    if ((reg.flags & kRegHaveLimit) && (reg.flags & kRegScaling)) {
        const std::optional<int64_t> scaled = Interpolate(
            LimitValue(reg.engLower, isSigned), LimitValue(reg.engUpper, isSigned), value,
            LimitValue(reg.rawLower, isSigned), LimitValue(reg.rawUpper, isSigned));
        if (scaled)
            return *scaled;
    }
    return value;
}

std::vector<uint8_t> RegisterGlyphs(int64_t value, int width, int pointBits, bool decimal) {
    const uint64_t base = decimal ? 10 : 16;
    uint64_t magnitude =
        value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    std::vector<uint8_t> digits; // least significant first
    do {
        digits.push_back(static_cast<uint8_t>(magnitude % base));
        magnitude /= base;
    } while (magnitude != 0);
    // A value below 1 keeps one 0 before the point.
    while (pointBits > 0 && static_cast<int>(digits.size()) < pointBits + 1)
        digits.push_back(0);

    std::vector<uint8_t> text; // most significant first
    if (value < 0)
        text.push_back(RegisterGlyph::kMinus);
    for (size_t i = digits.size(); i-- > 0;) {
        text.push_back(digits[i]);
        if (pointBits > 0 && i == static_cast<size_t>(pointBits))
            text.push_back(RegisterGlyph::kPoint);
    }
    if (width <= 0)
        return {};
    if (static_cast<int>(text.size()) > width)
        return std::vector<uint8_t>(static_cast<size_t>(width), RegisterGlyph::kOverflow);
    std::vector<uint8_t> glyphs(static_cast<size_t>(width) - text.size(), RegisterGlyph::kBlank);
    glyphs.insert(glyphs.end(), text.begin(), text.end());
    return glyphs;
}

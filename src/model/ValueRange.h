#pragma once

#include <cstdint>

// The values a register of `unitCount` units can hold: one unit is a byte, two a 16-bit word,
// anything else 32 bits; signed when the number format is DEC_SIGN.
struct ValueRange {
    std::int64_t min = 0;
    std::int64_t max = 0;
};

ValueRange RangeForUnits(int unitCount, bool isSigned);

// Number formats of every value that is shown or entered.
enum DataFormat : int { kFormatOct = 0, kFormatDec = 1, kFormatHex = 2, kFormatDecSign = 3 };

// "OCT", "DEC", "HEX", "DEC_SIGN"; "" outside 0 to 3.
const char* DataFormatName(int format);

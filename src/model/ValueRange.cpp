#include "ValueRange.h"

ValueRange RangeForUnits(int unitCount, bool isSigned) {
    if (unitCount == 1)
        return isSigned ? ValueRange{-128, 127} : ValueRange{0, 255};
    if (unitCount == 2)
        return isSigned ? ValueRange{-32768, 32767} : ValueRange{0, 65535};
    return isSigned ? ValueRange{-2147483648LL, 2147483647LL} : ValueRange{0, 4294967295LL};
}

const char* DataFormatName(int format) {
    switch (format) {
    case kFormatOct:
        return "OCT";
    case kFormatDec:
        return "DEC";
    case kFormatHex:
        return "HEX";
    case kFormatDecSign:
        return "DEC_SIGN";
    default:
        return "";
    }
}

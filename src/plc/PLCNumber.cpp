#include "PLCNumber.h"

#include "PLCEntity.h"

#include <algorithm>
#include <limits>

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

int DigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'z')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'Z')
        return c - u'A' + 10;
    return -1;
}

bool IsDigitOf(QStringView text, qsizetype i, int base) {
    if (i >= text.size())
        return false;
    const int digit = DigitValue(text[i].unicode());
    return digit >= 0 && digit < base;
}

} // namespace

std::int64_t ParseNumber(QStringView text, int base) {
    qsizetype i = 0;
    while (i < text.size() && IsBlank(text[i].unicode()))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (base == 16 && i + 1 < text.size() && text[i] == u'0' &&
        (text[i + 1] == u'x' || text[i + 1] == u'X') && IsDigitOf(text, i + 2, 16))
        i += 2;

    const std::uint64_t limit = negative ? std::uint64_t(1) << 63 : (std::uint64_t(1) << 63) - 1;
    std::uint64_t magnitude = 0;
    for (; IsDigitOf(text, i, base); ++i) {
        const auto digit = static_cast<std::uint64_t>(DigitValue(text[i].unicode()));
        magnitude = magnitude > (limit - digit) / static_cast<std::uint64_t>(base)
                        ? limit
                        : magnitude * static_cast<std::uint64_t>(base) + digit;
    }
    if (!negative)
        return static_cast<std::int64_t>(magnitude);
    if (magnitude == limit)
        return std::numeric_limits<std::int64_t>::min();
    return -static_cast<std::int64_t>(magnitude);
}

int ParseInt(QStringView text) {
    return static_cast<int>(std::clamp<std::int64_t>(
        ParseNumber(text), std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

std::uint8_t ParseTypeValue(QStringView text) {
    std::int64_t value = 0;
    if (text.startsWith(u"0x", Qt::CaseInsensitive))
        value = ParseNumber(text.sliced(2), 16);
    else if (text.endsWith(u'H', Qt::CaseInsensitive))
        value = ParseNumber(text.chopped(1), 16);
    else if (text.startsWith(u'0'))
        value = ParseNumber(text.sliced(1), 8);
    else
        value = ParseNumber(text);
    return static_cast<std::uint8_t>(value);
}

QString FormatNumber(std::int64_t value, int dataFormat) {
    const auto bits = static_cast<std::uint64_t>(value);
    switch (dataFormat) {
    case PLC_OCT:
        return u'0' + QString::number(bits, 8);
    case PLC_HEX:
        return QString::number(bits, 16).toUpper() + u'H';
    case PLC_DEC_SIGN:
        return QString::number(value);
    default:
        return QString::number(bits);
    }
}

#include "XmlValue.h"

#include "Markup.h"
#include "ValueRange.h"

#include <limits>

namespace {

// Digits from `pos` on, accumulated with saturation at `limit` (the magnitude bound).
std::uint64_t AccumulateDigits(QStringView text, qsizetype pos, int base, std::uint64_t limit) {
    std::uint64_t value = 0;
    for (; pos < text.size(); ++pos) {
        const char16_t c = text[pos].unicode();
        int digit = -1;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        if (digit < 0 || digit >= base)
            break;
        if (value > (limit - static_cast<std::uint64_t>(digit)) / static_cast<std::uint64_t>(base))
            return limit;
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    }
    return value;
}

qsizetype SkipBlanks(QStringView text) {
    qsizetype pos = 0;
    while (pos < text.size() &&
           (text[pos] == u' ' || text[pos] == u'\t' || text[pos] == u'\r' || text[pos] == u'\n'))
        ++pos;
    return pos;
}

} // namespace

std::int64_t ParseDecimal64(QStringView text) {
    qsizetype pos = SkipBlanks(text);
    bool negative = false;
    if (pos < text.size() && (text[pos] == u'-' || text[pos] == u'+')) {
        negative = text[pos] == u'-';
        ++pos;
    }
    constexpr std::uint64_t maxPositive = std::numeric_limits<std::int64_t>::max();
    const std::uint64_t magnitude =
        AccumulateDigits(text, pos, 10, maxPositive + (negative ? 1 : 0));
    if (negative)
        return magnitude == maxPositive + 1 ? std::numeric_limits<std::int64_t>::min()
                                            : -static_cast<std::int64_t>(magnitude);
    return static_cast<std::int64_t>(magnitude);
}

std::int32_t ParseDecimal32(QStringView text) {
    const std::int64_t value = ParseDecimal64(text);
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

std::uint32_t ParseColour(QStringView text) {
    const std::int64_t value = ParseDecimal64(text);
    if (value > std::numeric_limits<std::uint32_t>::max())
        return std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(value);
}

std::uint32_t ParseHex(QStringView text) {
    qsizetype pos = SkipBlanks(text);
    if (pos + 1 < text.size() && text[pos] == u'0' &&
        (text[pos + 1] == u'x' || text[pos + 1] == u'X'))
        pos += 2;
    return static_cast<std::uint32_t>(
        AccumulateDigits(text, pos, 16, std::numeric_limits<std::uint32_t>::max()));
}

bool IsTrueText(QStringView text) {
    return text.compare(u"TRUE", Qt::CaseInsensitive) == 0;
}

void ReadBool(const QString& text, bool& value) {
    if (!text.isEmpty())
        value = IsTrueText(text);
}

void ReadInt(const QString& text, std::int32_t& value) {
    if (!text.isEmpty())
        value = ParseDecimal32(text);
}

void ReadInt64(const QString& text, std::int64_t& value) {
    if (!text.isEmpty())
        value = ParseDecimal64(text);
}

void ReadColour(const QString& text, std::uint32_t& value) {
    if (!text.isEmpty())
        value = ParseColour(text);
}

// Narrow fields keep the low bits of the value, as an assignment to the field would.
void ReadUInt16(const QString& text, std::uint16_t& value) {
    if (!text.isEmpty())
        value = static_cast<std::uint16_t>(ParseDecimal64(text));
}

void ReadUInt8(const QString& text, std::uint8_t& value) {
    if (!text.isEmpty())
        value = static_cast<std::uint8_t>(ParseDecimal64(text));
}

void ReadUInt32(const QString& text, std::uint32_t& value) {
    if (!text.isEmpty())
        value = static_cast<std::uint32_t>(ParseDecimal64(text));
}

std::int32_t IntOr(const QString& text, std::int32_t fallback) {
    return text.isEmpty() ? fallback : ParseDecimal32(text);
}

std::uint32_t ColourOr(const QString& text, std::uint32_t fallback) {
    return text.isEmpty() ? fallback : ParseColour(text);
}

QString TextOr(const QString& text, const QString& fallback) {
    return text.isEmpty() ? fallback : text;
}

void SetChildDataFormat(CMarkup& xml, int format) {
    xml.SetChildAttribute(u"DataFormat", format);
    xml.SetChildAttribute(u"Desc", QString::fromLatin1(DataFormatName(format)));
}

#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>

// Number forms of catalog and address attributes, read as C's strtoll reads them: leading
// blanks, an optional sign, then the digits of the base up to the first other character (no
// digits give 0). Values beyond 64 bits saturate; base 16 also takes a "0x" prefix.
std::int64_t ParseNumber(QStringView text, int base = 10);

// A decimal attribute for an int field, clamped to the range of int.
int ParseInt(QStringView text);

// A type code: "0x1F" and "1FH" are hexadecimal, "017" is octal, anything else decimal; the
// panel takes one byte of it.
std::uint8_t ParseTypeValue(QStringView text);

// Reads a number into a field, keeping as many low bits as the field has; an empty text keeps
// the field, as every attribute is optional.
template <typename T> void ReadNumber(QStringView text, int base, T& value) {
    if (!text.isEmpty())
        value = static_cast<T>(ParseNumber(text, base));
}

// A value as the editor shows numbers of a catalog format (PLCDataFormat): octal with a leading
// "0", unsigned decimal, upper-case hexadecimal with a trailing "H", or signed decimal.
QString FormatNumber(std::int64_t value, int dataFormat);

#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <initializer_list>

class CMarkup;

// Value encodings of the project file. Numbers are read like the C runtime reads them: leading
// blanks, an optional sign, then digits up to the first other character; a value out of range
// saturates. Readers that take a pointer leave the target alone when the text is empty, so a
// missing attribute keeps the member's initial value.

std::int64_t ParseDecimal64(QStringView text);
std::int32_t ParseDecimal32(QStringView text);
// The unsigned decimal of a colour reference ("-1" wraps like strtoul does).
std::uint32_t ParseColour(QStringView text);
// A hexadecimal piece of picture data; non-hex text reads as 0.
std::uint32_t ParseHex(QStringView text);

// "TRUE" in any letter case is true, any other non-empty text false.
bool IsTrueText(QStringView text);

// Helpers that keep the current value when the text is empty.
void ReadBool(const QString& text, bool& value);
void ReadInt(const QString& text, std::int32_t& value);
void ReadInt64(const QString& text, std::int64_t& value);
void ReadColour(const QString& text, std::uint32_t& value);
void ReadUInt16(const QString& text, std::uint16_t& value);
void ReadUInt8(const QString& text, std::uint8_t& value);
void ReadUInt32(const QString& text, std::uint32_t& value);

// Helpers that use `fallback` for an empty text.
std::int32_t IntOr(const QString& text, std::int32_t fallback);
std::uint32_t ColourOr(const QString& text, std::uint32_t fallback);
QString TextOr(const QString& text, const QString& fallback);

inline QString BoolText(bool value) {
    return value ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
}
inline QString Int64Text(std::int64_t value) {
    return QString::number(value);
}
inline QString ColourText(std::uint32_t value) {
    return QString::number(value);
}

// The name written beside an enumeration's index; "" outside the table.
inline const char16_t* ChoiceName(std::initializer_list<const char16_t*> names, int index) {
    if (index < 0 || index >= static_cast<int>(names.size()))
        return u"";
    return names.begin()[index];
}

// `DataFormat` and its name `Desc` as attributes of the current child, as every element and
// key action with a number format writes them.
void SetChildDataFormat(CMarkup& xml, int format);

#include "FixedText.h"

FixedText::FixedText(char* buffer, std::size_t capacity) : buffer_(buffer), capacity_(capacity) {
    buffer_[0] = '\0';
}

FixedText& FixedText::Add(const char* text) {
    std::size_t length = 0;
    while (text[length] != '\0')
        ++length;
    return Add(text, length);
}

FixedText& FixedText::Add(const char* text, std::size_t length) {
    const std::size_t room = capacity_ - 1 - size_;
    if (length > room) {
        length = room;
        truncated_ = true;
    }
    for (std::size_t i = 0; i < length; ++i)
        buffer_[size_ + i] = text[i];
    size_ += length;
    buffer_[size_] = '\0';
    return *this;
}

FixedText& FixedText::Hex(std::uint64_t value, int minDigits) {
    char digits[16];
    int count = 0;
    do {
        digits[15 - count] = "0123456789ABCDEF"[value & 0xF];
        value >>= 4;
        ++count;
    } while (value != 0 || (count < minDigits && count < 16));
    return Add(digits + 16 - count, static_cast<std::size_t>(count));
}

FixedText& FixedText::Decimal(std::int64_t value, int minDigits) {
    char digits[21];
    int count = 0;
    // Negated in unsigned arithmetic, so the smallest value has its magnitude too.
    std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    do {
        digits[20 - count] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
        ++count;
    } while (magnitude != 0 || (count < minDigits && count < 20));
    if (value < 0)
        Add("-", 1);
    return Add(digits + 21 - count, static_cast<std::size_t>(count));
}

CivilTime ToCivilTime(std::int64_t seconds) {
    std::int64_t days = seconds / 86400;
    std::int64_t rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    // Days since 1970 to a proleptic Gregorian date, counting in 400-year eras from 0000-03-01.
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    CivilTime time;
    time.day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    time.month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    time.year = static_cast<int>(yearOfEra + era * 400 + (time.month <= 2 ? 1 : 0));
    time.hour = static_cast<int>(rest / 3600);
    time.minute = static_cast<int>(rest / 60 % 60);
    time.second = static_cast<int>(rest % 60);
    return time;
}

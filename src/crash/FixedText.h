#pragma once

#include <cstddef>
#include <cstdint>

// Text formatted into a buffer reserved beforehand, for the crash handler, which must not
// allocate: what does not fit is cut off, never written past the end, and the text stays
// NUL-terminated.
class FixedText {
public:
    // `capacity` counts the terminating NUL; it must be at least 1.
    FixedText(char* buffer, std::size_t capacity);

    FixedText& Add(const char* text);
    FixedText& Add(const char* text, std::size_t length);
    FixedText& Hex(std::uint64_t value, int minDigits); // upper case, zero-padded
    FixedText& Decimal(std::int64_t value, int minDigits = 1);

    const char* Data() const { return buffer_; }
    std::size_t Size() const { return size_; }
    bool Truncated() const { return truncated_; }

private:
    char* buffer_;
    std::size_t capacity_;
    std::size_t size_ = 0;
    bool truncated_ = false;
};

// A calendar date and time of day, from seconds since 1970-01-01 00:00 (already shifted to the
// wanted time zone). The C library's conversions take locks, so the handler does its own.
struct CivilTime {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

CivilTime ToCivilTime(std::int64_t seconds);

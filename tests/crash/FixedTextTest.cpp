// The crash handler's text formatting: numbers, calendar dates, and the bound of its buffer.

#include "FixedText.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

TEST(FixedText, NeverWritesPastItsBuffer) {
    // Guard bytes after the buffer show any write beyond it (and so does ASan).
    std::vector<char> memory(8 + 8, '#');
    FixedText text(memory.data(), 8);
    text.Add("0123456789").Hex(0xABCDEF, 16).Decimal(-42).Add("\r\n");
    EXPECT_EQ(std::string(text.Data()), "0123456");
    EXPECT_EQ(text.Size(), 7u);
    EXPECT_TRUE(text.Truncated());
    EXPECT_EQ(std::string(memory.begin() + 8, memory.end()), "########");
}

TEST(FixedText, FormatsNumbers) {
    char buffer[128];
    FixedText text(buffer, sizeof buffer);
    text.Hex(0, 16).Add("|").Hex(0xABC, 2).Add("|").Hex(~0ull, 8).Add("|").Decimal(7, 2);
    text.Add("|").Decimal(-5, 3).Add("|").Decimal(INT64_MIN);
    EXPECT_EQ(std::string(text.Data()), "0000000000000000|ABC|FFFFFFFFFFFFFFFF|07|-005|"
                                        "-9223372036854775808");
    EXPECT_FALSE(text.Truncated());
}

TEST(FixedText, CivilTimeFromSeconds) {
    struct Case {
        std::int64_t seconds;
        CivilTime expected;
    };
    const Case cases[] = {
        {0, {1970, 1, 1, 0, 0, 0}},          {-1, {1969, 12, 31, 23, 59, 59}},
        {951782400, {2000, 2, 29, 0, 0, 0}}, {1709251199, {2024, 2, 29, 23, 59, 59}},
        {4102444800, {2100, 1, 1, 0, 0, 0}}, {1735689599, {2024, 12, 31, 23, 59, 59}},
    };
    for (const Case& c : cases) {
        const CivilTime t = ToCivilTime(c.seconds);
        EXPECT_EQ((std::vector<int>{t.year, t.month, t.day, t.hour, t.minute, t.second}),
                  (std::vector<int>{c.expected.year, c.expected.month, c.expected.day,
                                    c.expected.hour, c.expected.minute, c.expected.second}))
            << c.seconds;
    }
}

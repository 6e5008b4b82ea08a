// SPDX-License-Identifier: MIT
#include <cstdint>
#include <limits>

#include "common.h"

namespace kurvilo {
namespace {

struct TextCase {
    std::int64_t units;
    const char* text;
};

TEST(TextForm, WritesTheCanonicalTextOfEachUnitCount) {
    const TextCase cases[] = {
        {0, "0"},
        {1, "0.0001"},
        {-1, "-0.0001"},
        {-10, "-0.001"},
        {-5000, "-0.5"},
        {10000, "1"},
        {31416, "3.1416"},
        {123450, "12.345"},
        {200000, "20"},
        {100000000, "10000"},
        {123456789012345678, "12345678901234.5678"},
        {9223372036854775807, "922337203685477.5807"},
        {std::numeric_limits<std::int64_t>::min(), "-922337203685477.5808"},
        {1234, "0.1234"},
        {100, "0.01"},
        {-10000, "-1"},
        {99990000, "9999"},
        {10001, "1.0001"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.units);
        EXPECT_EQ(toText(Fixed4::fromUnits(c.units)), c.text);
    }
}

TEST(TextForm, NeverLongerThanTwentyOneCharacters) {
    EXPECT_EQ(toText(Fixed4::min()).size(), kMaxFixed4Chars);
    EXPECT_LE(toText(Fixed4::max()).size(), kMaxFixed4Chars);
}

TEST(TextForm, Utf32FormMatchesUtf8Form) {
    for (std::int64_t u : {0LL, 5LL, -123456789LL, 9223372036854775807LL}) {
        std::u32string wide;
        appendText(wide, Fixed4::fromUnits(u));
        std::string narrow;
        for (char32_t c : wide)
            narrow.push_back(static_cast<char>(c));
        EXPECT_EQ(narrow, toText(Fixed4::fromUnits(u)));
    }
}

TEST(TextForm, FromIntegerIsExact) {
    EXPECT_EQ(Fixed4::fromInteger(std::numeric_limits<std::int32_t>::min()).units(),
              -21474836480000LL);
    EXPECT_EQ(toText(Fixed4::fromInteger(-3)), "-3");
    EXPECT_EQ(Fixed4::fromInteger(201).value(), 201.0L);
}

}  // namespace
}  // namespace kurvilo

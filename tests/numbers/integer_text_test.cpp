// SPDX-License-Identifier: MIT
#include "numbers/integer_text.h"

#include "common.h"

namespace kurvilo {
namespace {

TEST(IntegerParse, AcceptsDecimalAndHexadecimalForms) {
    const struct {
        const char* text;
        std::int32_t value;
    } cases[] = {
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {" 12", 12},
        {"$1F", 31},
        {"0x1F", 31},
        {"0X1f", 31},
        {"x1F", 31},
        {"X1F", 31},
        {"$FFFFFFFF", -1},
        {"$80000000", -2147483647 - 1},
        {"$000000001", 1},
        {"007", 7},
        {"+5", 5},
        {"-0", 0},
        {"0", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseInteger(std::string_view(c.text)), c.value);
    }
}

TEST(IntegerParse, RejectsEverythingElse) {
    for (const char* text : {"2147483648", "-2147483649", "12 ", "1.5", "-$1F", "+0x1F", "0x", "$",
                             "", " ", "-", "$100000000", "1e3", "0x1G", "- 1", "x-1"}) {
        SCOPED_TRACE(text);
        EXPECT_FAILURE(parseInteger(std::string_view(text)), EConvertError);
    }
}

TEST(IntegerParse, MessageQuotesTheText) {
    try {
        parseInteger(std::string_view("12 "));
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'12 ' is not a valid integer value");
    }
}

TEST(IntegerText, WritesPlainDecimalDigits) {
    EXPECT_EQ(integerText(0), "0");
    EXPECT_EQ(integerText(-2147483647 - 1), "-2147483648");
    std::u32string wide;
    appendIntegerText(wide, -2147483647 - 1);
    EXPECT_EQ(wide, U"-2147483648");
}

TEST(SpinControl, FallsBackToTheMinimumWhenTheTextIsNotAnInteger) {
    EXPECT_EQ(readSpinControl("42", 1), 42);
    EXPECT_EQ(readSpinControl("", 1), 1);
    EXPECT_EQ(readSpinControl("-", -200), -200);
    EXPECT_EQ(readSpinControl("$10", 1), 16);
}

}  // namespace
}  // namespace kurvilo

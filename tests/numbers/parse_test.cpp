// SPDX-License-Identifier: MIT
#include <cstdint>
#include <limits>
#include <random>

#include "common.h"
#include "numbers/utf8.h"

namespace kurvilo {
namespace {

struct ParseCase {
    const char* text;
    std::int64_t units;
};

TEST(Parse, ReadsTheDocumentedForms) {
    const ParseCase cases[] = {
        {"3.1416", 31416},
        {" -0.5 ", -5000},
        {"+2", 20000},
        {"007", 70000},
        {"1.50", 15000},
        {"5.", 50000},
        {".5", 5000},
        {".", 0},
        {"1e3", 10000000},
        {"2.5E-3", 25},
        {"1E", 10000},
        {"1e-", 10000},
        {"1e+3", 10000000},
        {"   7   ", 70000},
        {"+7", 70000},
        {"7.", 70000},
        {".7", 7000},
        {"922337203685477.5807", 9223372036854775807},
        {"-922337203685477.5808", std::numeric_limits<std::int64_t>::min()},
        {"1e-600", 0},
        {"0e4999", 0},
        {"-0", 0},
        {"0.00012e4", 12000},
        {"12345678901234567890e-10", 12345678901235},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseFixed4(std::string_view(c.text)).units(), c.units);
    }
}

TEST(Parse, RoundsOnceAtTheFifthDecimalWithTiesToEven) {
    const ParseCase cases[] = {
        {"0.00005", 0},       {"0.00015", 2},         {"0.00025", 2}, {"0.000251", 3},
        {"12.34567", 123457}, {"-12.34565", -123456}, {"0.00035", 4}, {"-0.00005", 0},
        {"0.000049999", 0},   {"0.0000500000001", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseFixed4(std::string_view(c.text)).units(), c.units);
    }
}

TEST(Parse, RejectsTextsOutsideTheSyntaxOrRange) {
    for (const char* text : {"",        "abc",    "E5",     "- 5",    "+ 5",
                             "1 2",     "1.2.3",  "1,5",    "1e15",   "922337203685477.5808",
                             "1e-6000", "\t1",    "1\t",    "-",      "+",
                             "e",       "1e5000", "1e4999", "0e5000", "--1",
                             "1-",      "0x10",   "1e+-3",  " "}) {
        SCOPED_TRACE(text);
        EXPECT_FAILURE(parseFixed4(std::string_view(text)), EConvertError);
    }
}

TEST(Parse, FailureMessageQuotesTheTextExactly) {
    for (const char* text : {"", "1.2.3", " x ", "θ"}) {
        try {
            parseFixed4(std::string_view(text));
            ADD_FAILURE() << text;
        } catch (const EConvertError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "'" + std::string(text) + "' is not a valid floating point value");
        }
    }
}

TEST(Parse, ExponentDigitsStopBeingReadAtFiveHundred) {
    // 1e-600: 6, 60, 600 (60 was below 500, so the third digit is read); the value underflows to 0.
    EXPECT_EQ(parseFixed4(std::string_view("1e-600")).units(), 0);
    // 1e-6000: the fourth digit is left over once 600 is reached.
    EXPECT_FAILURE(parseFixed4(std::string_view("1e-6000")), EConvertError);
    // 1e-4999 is read whole (499 < 500 before the last digit).
    EXPECT_EQ(parseFixed4(std::string_view("1e-4999")).units(), 0);
    EXPECT_FAILURE(parseFixed4(std::string_view("1e-49990")), EConvertError);
    // 5e0499 reads 0, 4, 49, 499: a leading zero is a digit like any other; far out of range.
    EXPECT_FAILURE(parseFixed4(std::string_view("5e0499")), EConvertError);
}

TEST(Parse, TextFormOfEveryBoundaryUnitCountParsesBack) {
    const std::int64_t lo = std::numeric_limits<std::int64_t>::min();
    const std::int64_t hi = std::numeric_limits<std::int64_t>::max();
    for (std::int64_t u : {lo, lo + 1, lo + 9999, lo + 10000, hi, hi - 1, hi - 9999, hi - 10000,
                           std::int64_t{0}, std::int64_t{1}, std::int64_t{-1}, std::int64_t{9999},
                           std::int64_t{10000}, std::int64_t{-10001}}) {
        SCOPED_TRACE(u);
        EXPECT_EQ(parseFixed4(toText(Fixed4::fromUnits(u))).units(), u);
    }
}

TEST(Parse, TextFormOfRandomUnitCountsParsesBack) {
    std::mt19937_64 rng(20261207);
    for (int i = 0; i < 200000; ++i) {
        std::int64_t u = static_cast<std::int64_t>(rng());
        // Also cover small magnitudes, where the fraction digits dominate.
        if (i % 2 == 1) u >>= (rng() % 63);
        const std::string text = toText(Fixed4::fromUnits(u));
        const std::int64_t back = parseFixed4(text).units();
        if (back != u) {
            ADD_FAILURE() << u << " -> " << text << " -> " << back;
            break;
        }
    }
}

TEST(Parse, ShortPathForPlainTextsReadsLikeTheFullParse) {
    // The UTF-8 parse takes a short path for plain texts ("-", digits, separator, up to four
    // fraction digits); the UTF-32 parse always reads the whole syntax. Texts of that shape and
    // just outside it read the same through both, value for value and failure for failure.
    SeparatorGuard guard;
    std::mt19937_64 rng(63);
    const char* const separators[] = {".", ",", "\u066B"};
    for (int i = 0; i < 300000; ++i) {
        const std::string separator = separators[i % 3];
        setDecimalSeparator(toUtf32(separator)[0]);
        std::string text;
        if (rng() % 4 == 0) text += '-';
        if (rng() % 16 == 0) text += rng() % 2 == 0 ? "+" : " ";
        const int wholeDigits = static_cast<int>(rng() % 17);
        for (int k = 0; k < wholeDigits; ++k)
            text += static_cast<char>('0' + rng() % 10);
        if (rng() % 3 != 0) {
            text += rng() % 20 == 0 ? std::string(".") : separator;
            const int fractionDigits = static_cast<int>(rng() % 7);
            for (int k = 0; k < fractionDigits; ++k)
                text += static_cast<char>('0' + rng() % 10);
        }
        if (rng() % 20 == 0) text += "e1";
        const std::string viaUtf8 = outcome([&] { return parseFixed4(std::string_view(text)); });
        const std::string viaUtf32 = outcome([&] { return parseFixed4(toUtf32(text)); });
        if (viaUtf8 != viaUtf32) {
            FAIL() << "'" << text << "': " << viaUtf8 << " instead of " << viaUtf32;
        }
    }
}

TEST(Parse, ManyDigitsRoundOnlyOnce) {
    EXPECT_EQ(parseFixed4(std::string_view("0.00015000000001")).units(), 2);
    EXPECT_EQ(parseFixed4(std::string_view("0.00025000000001")).units(), 3);
    EXPECT_EQ(parseFixed4(std::string_view("1234567890123.45678901234567890123")).units(),
              12345678901234568);
}

}  // namespace
}  // namespace kurvilo

// SPDX-License-Identifier: MIT
#include "numbers/separator.h"

#include "common.h"

namespace kurvilo {
namespace {

TEST(Separator, CommaIsWrittenAndIsTheOnlyPointAccepted) {
    SeparatorGuard guard;
    setDecimalSeparator(U',');
    EXPECT_EQ(toText(units(31416)), "3,1416");
    EXPECT_EQ(parseFixed4(std::string_view("3,1416")).units(), 31416);
    EXPECT_FAILURE(parseFixed4(std::string_view("3.1416")), EConvertError);
    EXPECT_EQ(parseFixed4(std::string_view(",5")).units(), 5000);
}

TEST(Separator, ACharacterOutsideAsciiWorksBothWays) {
    SeparatorGuard guard;
    setDecimalSeparator(U'\u066B');  // Arabic decimal separator, two bytes in UTF-8
    const std::string text = toText(units(-15000));
    EXPECT_EQ(text, "-1\u066B5");
    EXPECT_EQ(parseFixed4(text).units(), -15000);
    EXPECT_EQ(parseFixed4(std::u32string_view(U"-1\u066B5")).units(), -15000);
    EXPECT_FAILURE(parseFixed4(std::string_view("1.5")), EConvertError);
    // A truncated multi-byte separator is not a separator.
    EXPECT_FAILURE(parseFixed4(std::string_view("1\xD9")), EConvertError);
}

TEST(Separator, LocaleSymbolMustBeExactlyOneCharacter) {
    EXPECT_EQ(separatorFromLocaleSymbol(","), U',');
    EXPECT_EQ(separatorFromLocaleSymbol(""), U'.');
    EXPECT_EQ(separatorFromLocaleSymbol(",,"), U'.');
    EXPECT_EQ(separatorFromLocaleSymbol("\u066B"), U'\u066B');
    EXPECT_EQ(separatorFromLocaleSymbol("5"), U'.');
}

TEST(Separator, UnusableCharactersAreRefused) {
    SeparatorGuard guard;
    // Ambiguous in a number, or a character of the formula language or of its value atoms.
    for (const char32_t c : std::u32string_view(U"5- +eEsxZ()[]{}*/^:<>=\u03A3\u03C0\u03B8")) {
        SCOPED_TRACE(static_cast<std::uint32_t>(c));
        EXPECT_THROW(setDecimalSeparator(c), std::invalid_argument);
    }
    EXPECT_EQ(decimalSeparator(), U'.');
    EXPECT_EQ(separatorFromLocaleSymbol("]"), U'.');
    for (const char32_t c : std::u32string_view(U",'\u066B\u00B7")) {
        EXPECT_NO_THROW(setDecimalSeparator(c));
        EXPECT_EQ(decimalSeparator(), c);
    }
}

}  // namespace
}  // namespace kurvilo

// SPDX-License-Identifier: MIT
#include "numbers/utf8.h"

#include <gtest/gtest.h>

namespace kurvilo {
namespace {

TEST(Utf8, EveryByteStringSurvivesTheRoundTrip) {
    const std::string texts[] = {"",
                                 "plain",
                                 "\u03A3\u03C0\u03B8",
                                 "\xff",
                                 "a\xc3",
                                 "\xe3\x81",
                                 "\xed\xa0\x80",
                                 "\xc0\xaf",
                                 "\xf4\x90\x80\x80",
                                 "ok\x80ok"};
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        EXPECT_EQ(toUtf8(toUtf32(text)), text);
    }
}

TEST(Utf8, ValidCharactersAreOneUnitEach) {
    EXPECT_EQ(toUtf32("\u03A3{n=}\u03C0\u03B8\U0001F600"), U"\u03A3{n=}\u03C0\u03B8\U0001F600");
    EXPECT_EQ(toUtf32("\xff").size(), 1u);
}

}  // namespace
}  // namespace kurvilo

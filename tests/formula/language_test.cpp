// SPDX-License-Identifier: MIT
// The language's documented examples, through the whole engine.
#include "formula_test_support.h"

namespace kurvilo {
namespace {

TEST(Language, WorkedExampleGivesFourPointZeroZeroOneTwo) {
    expectValues({{"2(x+1)^2-sin(t)x", "4.0012"}});
}

TEST(Language, NamesReadTheirSlotsAndConstants) {
    expectValues({{"-x", "-0.5"},
                  {"vx^2", "0.09"},
                  {"v\u03B8^2", "0.09"},
                  {"x^2", "0.25"},
                  {"vy*vx^2", "-0.18"},
                  {"a*b-c+d", "5"},
                  {"\u03C0", "3.1416"},
                  {"2\u03C0", "6.2832"},
                  {"\u03B8", "0.5"},
                  {"vr", "-2"},
                  {"r", "4"},
                  {"t", "1.5"},
                  {"n", "0"},
                  {"y", "4"},
                  {"vy", "-2"}});
}

TEST(Language, ProductsAndSumsGoLeftToRight) {
    expectValues({{"2*3+4*5-6/4", "24.5"},
                  {"3-2-1", "0"},
                  {"8/2/2", "2"},
                  {"10/3", "3.3333"},
                  {"1/3*3", "0.9999"}});
}

TEST(Language, PowersBindTighterAndDoNotChain) {
    expectValues({{"-2^2", "-4"},
                  {"2*3^2", "18"},
                  {"2^3*2", "16"},
                  {"2^-1", "0.5"},
                  {"x^0.5", "0.7071"},
                  {"0^0", "0"},
                  {"0^-1", "0"},
                  {"3^2^2", "16"},
                  {"1+3^2^2", "6"},
                  {"-3^2^2", "-3"},
                  {"2^-x", "1.4142"}});
}

TEST(Language, PowersOfNegativeBases) {
    expectValues({{"(-2)^3", "-8"},
                  {"(-2)^-1", "-0.5"},
                  {"(-2)^2", "4"},
                  {"(-8)^(1/3)", "0"},
                  {"1-(-2)^0.5", "0"},
                  {"5+(1-(-2)^0.5)", "5"}});
}

TEST(Language, SignsAfterOperatorsCloseEmptyTerms) {
    expectValues({{"2*-3", "-4"}, {"2*(-3)", "-6"}, {"--x", "-0.5"}, {"x+-1", "-0.5"}});
}

TEST(Language, FunctionsApplyToTheGroupBehindThem) {
    expectValues({{"sin(\u03C0)", "0"},
                  {"cos(\u03C0/2)", "0"},
                  {"ln(exp(1))", "1"},
                  {"log(2)", "0.6931"},
                  {"tan(1)", "1.5574"},
                  {"sin(t)", "0.9975"},
                  {"exp(-x)", "0.6065"},
                  {"sin(cos(0))", "0.8415"}});
}

TEST(Language, MalformedTextEndsQuietly) {
    expectValues({{"", "0"},
                  {"x z", "0.5"},
                  {"x)", "0.5"},
                  {"sin(x", "0"},
                  {"[[2]]", "2"},
                  {"2*(3", "0"},
                  {"(x z)+1", "1.5"},
                  {"x Z+5", "0.5"},
                  {"()", "0"},
                  {"^2", "0"}});
}

}  // namespace
}  // namespace kurvilo

// SPDX-License-Identifier: MIT
// Where a "*" is written next to a value atom, and the lost literal before a power.
#include "formula_test_support.h"

namespace kurvilo {
namespace {

TEST(ImpliedMultiplication, NeighbouringOperandsMultiply) {
    expectValues({{"2x", "1"},
                  {"x2", "1"},
                  {"x.5", "0.25"},
                  {"xy", "2"},
                  {"x(1+x)", "0.75"},
                  {"(1+x)(2+x)", "3.75"},
                  {"2(3)", "6"},
                  {"(2)3", "6"},
                  {"xsin(t)", "0.4988"},
                  {"sin(t)x", "0.4988"},
                  {"ab", "6"},
                  {"2\u03C0x", "3.1416"}});
}

TEST(ImpliedMultiplication, LiteralBeforeAPoweredNameOrFunctionIsLost) {
    expectValues(
        {{"2x^2", "0.25"}, {"2\u03C0^2", "9.8697"}, {"2sin(t)^2", "0.995"}, {"2sin(t)", "1.995"}});
}

TEST(ImpliedMultiplication, NameOrGroupBeforeAPowerStillMultiplies) {
    expectValues({{"ax^2", "0.5"}, {"2(x)^2", "0.5"}, {"(2)x^2", "0.5"}});
}

TEST(ImpliedMultiplication, GroupBehindAFunctionNameIsItsArgument) {
    expectValues({{"sin(x)", "0.4794"},
                  {"exp(1)", "2.7183"},
                  {"ln(2)", "0.6931"},
                  {"-cos(0)", "-1"},
                  {"2tan(0)", "0"}});
}

TEST(ImpliedMultiplication, CounterBeforeAGroupMultipliesThroughItsOwnRule) {
    // No "*" goes between "n" and the group, but the counter's own substitution writes one.
    expectValues({{"Σ{n=1<>2:n}+n(3)", "9"}, {"n(2)", "0"}});
}

}  // namespace
}  // namespace kurvilo

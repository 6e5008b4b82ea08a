// SPDX-License-Identifier: MIT
// Seeded random formulas for the tests: built from the language's pieces, from arbitrary
// characters, and from the kinds of text that stress the rewriting.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <random>
#include <string>
#include <string_view>

namespace kurvilo {

class FormulaGenerator {
  public:
    explicit FormulaGenerator(std::uint64_t seed) : rng_(seed) {}

    std::string grammatical(int depth) {
        std::string out = operand(depth);
        const int terms = pick(4);
        for (int i = 0; i < terms; ++i) {
            static const char* const kOperators[] = {"+", "-", "*", "/", "^", "", "*-", "^-"};
            out += kOperators[pick(8)];
            out += operand(depth);
        }
        return out;
    }

    // Texts no one would type but anyone may paste: deep nesting, runs of atoms and names,
    // stray closing brackets.
    std::string hostile() {
        static const char* const kPieces[] = {
            "(",   ")",      "[",        "]", "x",  "2", "^",  "-", "*",    "/",  "+",
            "sin", "\u03A3", "{n=1<>2:", "}", "1.", "n", "ln", "a", "(-2)", "0.5"};
        std::string out;
        const int repeats = 1 + pick(40);
        const std::string unit = noiseFrom(kPieces, std::size(kPieces), 1 + pick(4));
        for (int i = 0; i < repeats; ++i)
            out += unit;
        out += noiseFrom(kPieces, std::size(kPieces), pick(6));
        return out;
    }

    std::string noise(std::size_t length) {
        static const char* const kPieces[] = {
            "(", ")",  "[", "]", "{", "}",  "\u03A3", "\u03C0", "\u03B8", "<>",
            ":", "=",  "^", "*", "/", "+",  "-",      ".",      "0",      "7",
            "x", "vx", "y", "t", "n", "a",  "d",      "sin",    "ln",     "e",
            "E", " ",  "$", ",", "Z", "\t", "\u00E9", "\u3042"};
        std::string out;
        for (std::size_t i = 0; i < length; ++i)
            out += kPieces[pick(std::size(kPieces))];
        return out;
    }

    // A value text as a field may hold it: a number in any accepted form, or not a number.
    std::string valueText() {
        static const char* const kTexts[] = {"0",     "0.5", "-2",  "4",      "1.5",
                                             " 7 ",   "+3",  "1e2", "2.5E-3", "-0.0001",
                                             "",      "abc", "x",   "1,5",    "922337203685477",
                                             "00012", ".",   "5.",  "(1)",    "[2]"};
        return kTexts[pick(std::size(kTexts))];
    }

  private:
    std::string noiseFrom(const char* const* pieces, std::size_t count, std::size_t length) {
        std::string out;
        for (std::size_t i = 0; i < length; ++i)
            out += pieces[pick(count)];
        return out;
    }

    static std::string join(std::initializer_list<std::string_view> parts) {
        std::string out;
        for (std::string_view part : parts)
            out.append(part);
        return out;
    }

    int pick(std::size_t n) { return static_cast<int>(rng_() % n); }

    std::string number() {
        static const char* const kNumbers[] = {"0",      "1",      "2",     "0.5",
                                               "3.25",   ".5",     "5.",    "10",
                                               "0.0001", "123456", "1.2.3", "99999999999"};
        return kNumbers[pick(std::size(kNumbers))];
    }

    std::string operand(int depth) {
        static const char* const kNames[] = {"x",      "vx", "y",      "vy",      "t",
                                             "r",      "vr", "\u03B8", "v\u03B8", "n",
                                             "\u03C0", "a",  "b",      "c",       "d"};
        static const char* const kFunctions[] = {"sin", "cos", "tan", "log", "exp", "ln"};
        switch (depth > 0 ? pick(6) : pick(3)) {
            case 0:
                return number();
            case 1:
                return kNames[pick(std::size(kNames))];
            case 2:
                return join({number(), kNames[pick(std::size(kNames))]});
            case 3:
                return join({"(", grammatical(depth - 1), ")"});
            case 4:
                return join(
                    {kFunctions[pick(std::size(kFunctions))], "(", grammatical(depth - 1), ")"});
            default: {
                const int lower = pick(5) - 2;
                const int upper = lower + pick(6) - 1;
                return join({"\u03A3{n=", std::to_string(lower), "<>", std::to_string(upper), ":",
                             grammatical(depth - 1), "}"});
            }
        }
    }

    std::mt19937_64 rng_;
};

}  // namespace kurvilo

// The names a formula may use, in the order the substitution stage replaces them, the texts
// substituted for them in one evaluation, and the letters the stages look for (so that a stage
// can skip every name whose letters a text does not hold).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "formula/evaluate.h"

namespace kurvilo::detail {

inline constexpr char32_t kSigma = U'\u03A3';
inline constexpr char32_t kPi = U'\u03C0';
inline constexpr char32_t kTheta = U'\u03B8';

// π as the formulas know it: 3.1416.
inline constexpr std::int64_t kPiUnits = 31416;

// The letters of the names and function names, as bits.
constexpr std::uint32_t letterBit(char32_t c) noexcept {
    constexpr char32_t kLetters[] = {U'a', U'b', U'c', U'd', U'e', U'g', U'i', U'l', U'n',  U'o',
                                     U'p', U'r', U's', U't', U'v', U'x', U'y', kPi,  kTheta};
    for (std::uint32_t bit = 0; bit < std::size(kLetters); ++bit) {
        if (kLetters[bit] == c) return 1u << bit;
    }
    return 0;
}

constexpr std::uint32_t lettersOfName(std::u32string_view name) noexcept {
    std::uint32_t mask = 0;
    for (char32_t c : name)
        mask |= letterBit(c);
    return mask;
}

// All letter bits of a text.
std::uint32_t lettersOf(std::u32string_view text) noexcept;

// Where a name's text comes from: a value slot, a constant, the summation counter n or π.
enum class NameSource : unsigned char { Value, Constant, Counter, Pi };

struct Name {
    std::u32string_view name;
    NameSource source;
    unsigned char index;
    std::uint32_t letters;
};

// The substitution order: every two-character name before the one-character name inside it.
inline constexpr std::array<Name, 15> kNames{{
    {U"vx", NameSource::Value, 0, lettersOfName(U"vx")},
    {U"x", NameSource::Value, 1, lettersOfName(U"x")},
    {U"vy", NameSource::Value, 2, lettersOfName(U"vy")},
    {U"y", NameSource::Value, 3, lettersOfName(U"y")},
    {U"t", NameSource::Value, 4, lettersOfName(U"t")},
    {U"vr", NameSource::Value, 2, lettersOfName(U"vr")},
    {U"r", NameSource::Value, 3, lettersOfName(U"r")},
    {U"v\u03B8", NameSource::Value, 0, lettersOfName(U"v\u03B8")},
    {U"\u03B8", NameSource::Value, 1, lettersOfName(U"\u03B8")},
    {U"n", NameSource::Counter, 0, lettersOfName(U"n")},
    {U"\u03C0", NameSource::Pi, 0, lettersOfName(U"\u03C0")},
    {U"a", NameSource::Constant, 0, lettersOfName(U"a")},
    {U"b", NameSource::Constant, 1, lettersOfName(U"b")},
    {U"c", NameSource::Constant, 2, lettersOfName(U"c")},
    {U"d", NameSource::Constant, 3, lettersOfName(U"d")},
}};

// A substituted text with any of these letters may name further names.
inline constexpr std::uint32_t kNameLetters = [] {
    std::uint32_t mask = 0;
    for (const Name& name : kNames)
        mask |= name.letters;
    return mask;
}();

// The texts of one evaluation's names, each converted to UTF-32 on its first use.
class NameTexts {
  public:
    void reset(const FormulaTexts& texts, char32_t separator);
    // The summation counter n, written as a plain decimal integer.
    void setCounter(std::int32_t n);

    const std::u32string& text(const Name& name);
    // The letter bits of that text (0 for the counter and π: digits, a sign, the separator).
    std::uint32_t letters(const Name& name);

  private:
    struct Converted {
        std::u32string text;
        std::uint32_t letters = 0;
    };
    Converted& converted(NameSource source, unsigned index);

    const FormulaTexts* texts_ = nullptr;
    char32_t separator_ = U'.';
    std::array<Converted, 9> slots_;  // values 0..4, then constants 0..3
    unsigned convertedSlots_ = 0;     // bit i: slots_[i] holds this evaluation's text
    std::u32string counter_;
    std::u32string pi_;
};

}  // namespace kurvilo::detail

// SPDX-License-Identifier: MIT
// The names a formula may use, in the order the substitution stage replaces them, the texts
// substituted for them in one evaluation, and the letters the stages look for (so that a stage
// can skip every name whose letters a text does not hold).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "formula/inputs.h"
#include "formula/summation_term.h"
#include "formula/text_buffer.h"
#include "numbers/fixed4.h"

namespace kurvilo::detail {

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

// Beside the letters, the lookup marks the characters that start a stage's work: "Σ" (a
// summation term), "(" (a group) and "[" (a value atom). These bits lie above every letter's, so
// the letter masks of names and functions never hold them.
inline constexpr std::uint32_t kLetterBits = (1u << 19) - 1;
inline constexpr std::uint32_t kSigmaBit = 1u << 21;
inline constexpr std::uint32_t kOpenBit = 1u << 22;
inline constexpr std::uint32_t kAtomBit = 1u << 23;

// letterBit, and the stage bits, for every character below 0x400 (ASCII and the Greek letters).
struct LetterTable {
    std::array<std::uint32_t, 0x400> bits{};
    constexpr LetterTable() {
        for (char32_t c = 0; c < bits.size(); ++c)
            bits[c] = letterBit(c);
        bits[kSigma] |= kSigmaBit;
        bits[U'('] |= kOpenBit;
        bits[U'['] |= kAtomBit;
    }
};
inline constexpr LetterTable kLetterTable;

inline std::uint32_t letterBitOf(char32_t c) noexcept {
    return c < kLetterTable.bits.size() ? kLetterTable.bits[c] : 0;
}

// All letter bits of a text, with its stage bits.
inline std::uint32_t lettersOf(std::u32string_view text) noexcept {
    std::uint32_t mask = 0;
    for (const char32_t c : text)
        mask |= letterBitOf(c);
    return mask;
}

// Which of up to 16 letter masks a text's letters hold completely, in three table lookups: each
// table answers for seven of the letter bits which masks those bits do not rule out.
template <std::size_t N>
class LetterSets {
  public:
    static_assert(N <= 16);
    constexpr explicit LetterSets(const std::array<std::uint32_t, N>& masks) {
        for (std::size_t chunk = 0; chunk < 3; ++chunk) {
            for (std::uint32_t present = 0; present < 128; ++present) {
                std::uint16_t holds = 0;
                for (std::size_t k = 0; k < N; ++k) {
                    const std::uint32_t needed = (masks[k] >> (7 * chunk)) & 127;
                    if ((present & needed) == needed) holds |= std::uint16_t(1u << k);
                }
                tables_[chunk][present] = holds;
            }
        }
    }
    // Bit k: every letter of mask k is in letters (stage bits above them are ignored).
    constexpr unsigned operator()(std::uint32_t letters) const noexcept {
        return tables_[0][letters & 127] & tables_[1][(letters >> 7) & 127] &
               tables_[2][(letters >> 14) & 127];
    }

  private:
    std::array<std::array<std::uint16_t, 128>, 3> tables_{};
};

// The function names, in the order the function stage tries them. "ln" is the only one of two
// letters; each ends in "s", "n", "g" or "p", which keeps a group behind it its argument.
inline constexpr std::array<std::u32string_view, 6> kFunctionNames{U"sin", U"cos", U"tan",
                                                                   U"log", U"exp", U"ln"};

// Where a name's text comes from: a value slot, a constant, the summation counter n or π.
enum class NameSource : unsigned char { Value, Constant, Counter, Pi };

struct Name {
    std::u32string_view name;
    NameSource source;
    unsigned char index;
};

// The substitution order: every two-character name before the one-character name inside it.
inline constexpr std::array<Name, 15> kNames{{
    {U"vx", NameSource::Value, 0},
    {U"x", NameSource::Value, 1},
    {U"vy", NameSource::Value, 2},
    {U"y", NameSource::Value, 3},
    {U"t", NameSource::Value, 4},
    {U"vr", NameSource::Value, 2},
    {U"r", NameSource::Value, 3},
    {U"v\u03B8", NameSource::Value, 0},
    {U"\u03B8", NameSource::Value, 1},
    {U"n", NameSource::Counter, 0},
    {U"\u03C0", NameSource::Pi, 0},
    {U"a", NameSource::Constant, 0},
    {U"b", NameSource::Constant, 1},
    {U"c", NameSource::Constant, 2},
    {U"d", NameSource::Constant, 3},
}};

// The letters of each name, in the same order, apart so that a stage can run over them quickly.
inline constexpr std::array<std::uint32_t, kNames.size()> kNameLetterMasks = [] {
    std::array<std::uint32_t, kNames.size()> masks{};
    for (std::size_t i = 0; i < kNames.size(); ++i)
        masks[i] = lettersOfName(kNames[i].name);
    return masks;
}();

inline constexpr LetterSets<kNames.size()> kNamesPresent{kNameLetterMasks};

// A substituted text with any of these letters may name further names.
inline constexpr std::uint32_t kNameLetters = [] {
    std::uint32_t mask = 0;
    for (const std::uint32_t letters : kNameLetterMasks)
        mask |= letters;
    return mask;
}();

// Where a name starts, as its index in kNames: by its one character, or, for the two-character
// names, all of which start with "v", by their second character.
struct NameStarts {
    static constexpr char32_t kTwoCharacterStart = U'v';
    std::array<signed char, 0x400> single{};
    std::array<signed char, 0x400> afterStart{};
    constexpr NameStarts() {
        single.fill(-1);
        afterStart.fill(-1);
        for (std::size_t k = 0; k < kNames.size(); ++k) {
            const std::u32string_view name = kNames[k].name;
            if (name.size() == 1) {
                single[name[0]] = static_cast<signed char>(k);
            } else {
                afterStart[name[1]] = static_cast<signed char>(k);
            }
        }
    }
};
inline constexpr NameStarts kNameStarts;

// nameAt reads the longest name from the left; that finds what the substitution stage's passes
// replace only because no name is longer than two characters, every two-character name starts
// with "v", and "v" is no name of its own.
static_assert([] {
    for (const Name& name : kNames) {
        if (name.name.size() > 2 || name.name == U"v") return false;
        if (name.name.size() == 2 && name.name[0] != NameStarts::kTwoCharacterStart) return false;
        for (const char32_t c : name.name) {
            if (c >= 0x400) return false;
        }
    }
    return true;
}());

// The name that starts at position i of a text, as its index in kNames (its length in length),
// or -1: reading the longest name from the left finds what the substitution stage's passes
// replace, up to the first character the scan does not know (in "vvx" the passes replace "vx",
// while the scan stops at the first "v" either way).
inline int nameAt(std::u32string_view text, std::size_t i, std::size_t& length) noexcept {
    const char32_t c = text[i];
    length = 1;
    if (c == NameStarts::kTwoCharacterStart) {
        if (i + 1 >= text.size() || text[i + 1] >= kNameStarts.afterStart.size()) return -1;
        length = 2;
        return kNameStarts.afterStart[text[i + 1]];
    }
    return c < kNameStarts.single.size() ? kNameStarts.single[c] : -1;
}

// The longest text the plain-number read accepts: "-", the integer digits, the separator and the
// fraction digits.
inline constexpr std::size_t kMaxPlainNumber = 1 + kPlainIntegerDigits + 1 + kPlainFractionDigits;

// The texts of one evaluation's names, each converted to UTF-32 on its first use.
class NameTexts {
  public:
    void reset(const FormulaTexts& texts, char32_t separator);
    // The summation counter n, written as a plain decimal integer.
    void setCounter(std::int32_t n);

    std::u32string_view text(const Name& name) {
        switch (name.source) {
            case NameSource::Value:
            case NameSource::Constant:
                return converted(name).text;
            case NameSource::Counter:
                if (counterStale_) writeCounter();
                return counter_;
            case NameSource::Pi:
                break;
        }
        if (pi_.empty()) writePi();
        return pi_;
    }
    // True, with its value, when the name's text is a plain number (an optional "-", up to 14
    // integer digits, up to four fraction digits after the separator): the value atom of such
    // a text reads as that value.
    bool plainValue(const Name& name, Fixed4& value);
    // The letter bits of that text (0 for the counter and π: digits, a sign, the separator).
    std::uint32_t letters(const Name& name) {
        return name.source == NameSource::Value || name.source == NameSource::Constant
                   ? converted(name).letters
                   : 0;
    }

  private:
    struct Converted {
        TextBuffer text;
        std::uint32_t letters = 0;
        signed char plain = 0;  // 1: the text is a plain number, of this value
        Fixed4 value;
    };
    Converted& converted(const Name& name) {
        const unsigned slot = name.source == NameSource::Value ? name.index : 5u + name.index;
        Converted& entry = slots_[slot];
        if (!(convertedSlots_ & (1u << slot))) convert(entry, slot);
        return entry;
    }
    void convert(Converted& entry, unsigned slot);
    void writeCounter();
    void writePi();

    const FormulaTexts* texts_ = nullptr;
    std::array<Converted, 9> slots_;  // values 0..4, then constants 0..3
    unsigned convertedSlots_ = 0;     // bit i: slots_[i] holds this evaluation's text
    unsigned plainKnown_ = 0;         // bit i: slots_[i].plain is this evaluation's answer
    char32_t separator_ = U'.';
    std::string separatorUtf8_ = ".";
    std::int32_t counterValue_ = 0;
    TextBuffer counter_;  // counterValue_ as text, unless counterStale_
    bool counterStale_ = true;
    TextBuffer pi_;  // π's text with separator_, once asked for
};

}  // namespace kurvilo::detail

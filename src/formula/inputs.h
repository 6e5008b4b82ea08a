// SPDX-License-Identifier: MIT
// What one evaluation takes in besides the formula: the texts substituted for its names, and the
// cap on how long a working text may grow. The ground floor of the formula engine: every other
// header of it may include this one, and this one includes nothing of the engine.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace kurvilo {

// The texts the engine substitutes for names (UTF-8), by reference: ListBox1's items and the
// keypad's constant fields. They are inserted unchanged and parsed by the scan; they must stay
// alive and unchanged while an evaluation runs.
struct FormulaTexts {
    // Slots 0..4: "vx"/"vθ", "x"/"θ", "vy"/"vr", "y"/"r", "t".
    std::array<std::string_view, 5> values{"0", "0", "0", "0", "0"};
    // "a", "b", "c", "d".
    std::array<std::string_view, 4> constants{"0", "0", "0", "0"};
};

// The same texts, owned: for callers that build them (the command-line tool, tests).
struct FormulaInputs {
    std::array<std::string, 5> values{"0", "0", "0", "0", "0"};
    std::array<std::string, 4> constants{"0", "0", "0", "0"};

    operator FormulaTexts() const noexcept {
        FormulaTexts texts;
        for (std::size_t i = 0; i < values.size(); ++i)
            texts.values[i] = values[i];
        for (std::size_t i = 0; i < constants.size(); ++i)
            texts.constants[i] = constants[i];
        return texts;
    }
};

// No working text grows beyond this many characters: a longer one fails with EFormulaTooLong.
inline constexpr std::size_t kMaxWorkingText = std::size_t{1} << 24;

}  // namespace kurvilo

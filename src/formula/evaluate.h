// SPDX-License-Identifier: MIT
// EvaluateFormula: one formula text in, one Fixed4 out, or a failure. The formula is evaluated by
// rewriting its text: summation terms, then innermost groups, then per reduction the functions,
// the names and one left-to-right arithmetic scan.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>

#include "numbers/fixed4.h"

namespace kurvilo {

class EvaluationObserver;

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

// Set from any thread; an evaluation that was given the token ends with EAbort at its next check
// (before every reduction and every summation index).
class CancellationToken {
  public:
    void cancel() noexcept { cancelled_.store(true, std::memory_order_relaxed); }
    void reset() noexcept { cancelled_.store(false, std::memory_order_relaxed); }
    bool cancelled() const noexcept { return cancelled_.load(std::memory_order_relaxed); }

  private:
    std::atomic<bool> cancelled_{false};
};

struct EvaluationOptions {
    const CancellationToken* cancel = nullptr;  // none: the evaluation runs to its end
    EvaluationObserver* observer = nullptr;     // none: nobody is told the steps
};

// No working text grows beyond this many characters: a longer one fails with EFormulaTooLong.
inline constexpr std::size_t kMaxWorkingText = std::size_t{1} << 24;

// Raises EConvertError, EZeroDivide, EInvalidOp or EOverflow for the formula's own failures;
// EFormulaTooLong when its text would outgrow kMaxWorkingText; EOutOfMemory when memory runs out;
// EAbort when cancelled. Catches nothing else.
Fixed4 EvaluateFormula(std::string_view formula, const FormulaTexts& texts,
                       const EvaluationOptions& options = {});

}  // namespace kurvilo

// SPDX-License-Identifier: MIT
// EvaluateFormula: one formula text in, one Fixed4 out, or a failure. The formula is evaluated by
// rewriting its text: summation terms, then innermost groups, then per reduction the functions,
// the names and one left-to-right arithmetic scan.
#pragma once

#include <atomic>
#include <cstddef>
#include <optional>
#include <string_view>

#include "formula/inputs.h"
#include "numbers/fixed4.h"

namespace kurvilo {

class EvaluationObserver;

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
    // A formula's plan (its recorded arithmetic) may stand in for the rewriting, where it gives
    // the same result; false: always the rewriting (for comparisons of the two).
    bool plans = true;
};

// Raises EConvertError, EZeroDivide, EInvalidOp or EOverflow for the formula's own failures;
// EFormulaTooLong when its text would outgrow kMaxWorkingText; EOutOfMemory when memory runs out;
// EAbort when cancelled. Catches nothing else.
Fixed4 EvaluateFormula(std::string_view formula, const FormulaTexts& texts,
                       const EvaluationOptions& options = {});

namespace detail {
// The number of operations of the plan the formula gets with the current separator, or nothing
// where it keeps the rewriting. For tests.
std::optional<std::size_t> recordedPlanSize(std::string_view formula);
}  // namespace detail

}  // namespace kurvilo

// SPDX-License-Identifier: MIT
// SIGINT, SIGTERM and SIGHUP during a run: the first asks the run to stop at the next tick
// boundary (an evaluation under way is cancelled), so that it can write its outputs as they
// stand; a second ends the program at once, removing the temporary files of the writes under way
// first. Either way the exit status is 128 + the signal's number.
#pragma once

#include <csignal>

#include "formula/evaluate.h"
#include "sim/tick.h"

namespace kurvilo::cli {

class Interruption {
  public:
    Interruption();   // catches the three signals
    ~Interruption();  // and lets them be again
    Interruption(const Interruption&) = delete;
    Interruption& operator=(const Interruption&) = delete;

    // The first signal received; 0 while none has come.
    int signal() const noexcept;
    // Cancelled by the first signal.
    const CancellationToken& token() const noexcept;

  private:
    struct sigaction previous_[3];
};

// Evaluates a tick's two formulas here, as the tick does, but cancellable by a signal.
class InterruptibleEvaluator final : public FormulaPairEvaluator {
  public:
    explicit InterruptibleEvaluator(const Interruption& interruption)
        : interruption_(interruption) {}
    void evaluate(std::string_view formula2, std::string_view formula1, const FormulaTexts& texts,
                  Fixed4& e2, Fixed4& e1) override;

  private:
    const Interruption& interruption_;
};

}  // namespace kurvilo::cli

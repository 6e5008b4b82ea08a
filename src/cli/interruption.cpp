// SPDX-License-Identifier: MIT
#include "cli/interruption.h"

#include <unistd.h>

#include <atomic>

#include "picture/temporaries.h"

namespace kurvilo::cli {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

std::atomic<int> received{0};
CancellationToken cancellation;
static_assert(std::atomic<int>::is_always_lock_free, "read and written by a signal handler");

void onSignal(int number) {
    int none = 0;
    if (!received.compare_exchange_strong(none, number)) {
        // The second: no more waiting for the outputs.
        removeTemporaries();
        ::_exit(128 + number);
    }
    cancellation.cancel();
}

}  // namespace

Interruption::Interruption() {
    received.store(0);
    cancellation.reset();
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // The handler runs alone: a second signal waits until the first has been noted.
    for (const int number : kSignals)
        sigaddset(&action.sa_mask, number);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < 3; ++i)
        sigaction(kSignals[i], &action, &previous_[i]);
}

Interruption::~Interruption() {
    for (int i = 0; i < 3; ++i)
        sigaction(kSignals[i], &previous_[i], nullptr);
}

int Interruption::signal() const noexcept {
    return received.load();
}

const CancellationToken& Interruption::token() const noexcept {
    return cancellation;
}

void InterruptibleEvaluator::evaluate(std::string_view formula2, std::string_view formula1,
                                      const FormulaTexts& texts, Fixed4& e2, Fixed4& e1) {
    EvaluationOptions options;
    options.cancel = &interruption_.token();
    e2 = EvaluateFormula(formula2, texts, options);
    e1 = EvaluateFormula(formula1, texts, options);
}

}  // namespace kurvilo::cli

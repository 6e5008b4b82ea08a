// SPDX-License-Identifier: MIT
// libFuzzer harness for EvaluateFormula and the formula notes. The input is the formula, then up
// to nine value texts (vx, x, vy, y, t, a, b, c, d), separated by "\n". Every evaluation must give
// a value or one of the named failures, and every note must lie on the formula's characters; the
// formula's plan, used with those texts and again with them turned round, must give what the
// rewriting gives; any other outcome, a crash or a sanitizer report is a finding. The six
// evaluations of one input share a second: when it is spent the one running is cancelled and the
// rest are skipped, so an input stays well inside libFuzzer's timeout. A cancellation is a finding
// too unless the formula holds a summation term (whose bounds may ask for billions of terms).
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <thread>

#include "formula/evaluate.h"
#include "formula/notes.h"
#include "numbers/failures.h"
#include "numbers/utf8.h"

namespace {

using Clock = std::chrono::steady_clock;

// One watchdog for the whole run: it cancels the evaluation running once the input's second
// is spent.
class Watchdog {
  public:
    Watchdog() : thread_([this] { watch(); }) { thread_.detach(); }

    void start() {
        token.reset();
        started_.store(Clock::now().time_since_epoch().count(), std::memory_order_release);
    }
    void stop() { started_.store(0, std::memory_order_release); }

    kurvilo::CancellationToken token;

  private:
    void watch() {
        for (;;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            const auto started = started_.load(std::memory_order_acquire);
            if (started == 0) continue;
            const auto elapsed = Clock::now().time_since_epoch().count() - started;
            if (Clock::duration(elapsed) > std::chrono::seconds(1)) token.cancel();
        }
    }

    std::atomic<Clock::rep> started_{0};
    std::thread thread_;
};

bool isNamedFailure(std::string_view kind) {
    for (const char* named : {"EConvertError", "EZeroDivide", "EInvalidOp", "EOverflow",
                              "EFormulaTooLong", "EOutOfMemory"}) {
        if (kind == named) return true;
    }
    return false;
}

[[noreturn]] void finding(const char* what, std::string_view detail) {
    std::fprintf(stderr, "finding: %s: %.*s\n", what, static_cast<int>(detail.size()),
                 detail.data());
    std::abort();
}

const std::string kAborted = "EAbort";

// "ok:" and the unit count, or the failure's kind and message; EAbort alone.
std::string outcome(std::string_view formula, const kurvilo::FormulaTexts& texts, bool plans,
                    Watchdog& watchdog) {
    kurvilo::EvaluationOptions options;
    options.cancel = &watchdog.token;
    options.plans = plans;
    std::string result;
    try {
        result = "ok:" + std::to_string(kurvilo::EvaluateFormula(formula, texts, options).units());
    } catch (const kurvilo::EAbort&) {
        // "Σ" in UTF-8.
        if (formula.find("\xCE\xA3") == std::string_view::npos) {
            finding("the evaluations of a formula without a summation ran longer than a second",
                    formula);
        }
        result = kAborted;
    } catch (const kurvilo::Failure& failure) {
        if (!isNamedFailure(failure.kind())) finding("a failure of no named kind", failure.kind());
        result = std::string(failure.kind()) + ": " + failure.what();
    } catch (const std::exception& other) {
        finding("an exception that is no named failure", other.what());
    }
    return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string_view parts[10];
    std::size_t count = 0;
    for (std::size_t from = 0; count < 10;) {
        const std::size_t newline = count < 9 ? input.find('\n', from) : std::string_view::npos;
        parts[count++] =
            input.substr(from, newline == std::string_view::npos ? newline : newline - from);
        if (newline == std::string_view::npos) break;
        from = newline + 1;
    }
    kurvilo::FormulaTexts texts;
    for (std::size_t i = 1; i < count; ++i) {
        if (i <= 5) {
            texts.values[i - 1] = parts[i];
        } else {
            texts.constants[i - 6] = parts[i];
        }
    }
    // The same texts one slot further on: the plan recorded above runs with other values.
    kurvilo::FormulaTexts turned;
    for (std::size_t i = 0; i < 5; ++i)
        turned.values[i] = texts.values[(i + 1) % 5];
    for (std::size_t i = 0; i < 4; ++i)
        turned.constants[i] = texts.constants[(i + 1) % 4];
    static Watchdog watchdog;
    watchdog.start();
    for (const kurvilo::FormulaTexts* inputs : {&texts, &turned, &texts}) {
        const std::string planned = outcome(parts[0], *inputs, true, watchdog);
        if (planned == kAborted) break;
        const std::string rewritten = outcome(parts[0], *inputs, false, watchdog);
        if (rewritten == kAborted) break;
        if (planned != rewritten) finding("a plan that differs from the rewriting", parts[0]);
    }
    watchdog.stop();

    // The notes of the same formula: no failure, each over characters the formula has.
    const std::u32string text = kurvilo::toUtf32(parts[0]);
    const kurvilo::NoteOptions noteOptions{&texts, true};
    for (const kurvilo::FormulaNote& note : kurvilo::formulaNotes(parts[0], noteOptions)) {
        if (note.begin >= note.end || note.end > text.size()) {
            finding("a note beyond the characters of its formula", parts[0]);
        }
    }
    return 0;
}

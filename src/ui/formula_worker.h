// SPDX-License-Identifier: MIT
// The tick's two formula evaluations, so that a long formula cannot freeze the window. Formulas
// that are quick by their shape (no summation term, short texts) are evaluated right on the UI
// thread: most ticks cost no thread switch at all. The others run on a thread of their own while
// the tick waits on the UI thread: a plain blocking wait first; past that, a local event loop
// that keeps the window painted and lets only the stop button (or its key) and the window's
// close through, either of which cancels the evaluation (EAbort). A failure of the evaluation is
// raised again on the UI thread, where the tick catches it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>

#include "formula/evaluate.h"
#include "sim/tick.h"

class QEventLoop;
class QObject;
class QWidget;

namespace kurvilo {

class FormulaWorker : public FormulaPairEvaluator {
  public:
    // How long a tick waits, blocked, for formulas on the thread before the window is kept alive
    // meanwhile.
    static constexpr std::chrono::milliseconds kPlainWait{100};
    // A formula no longer than this, without a summation term, over value and constant texts no
    // longer than kQuickText, takes well under a millisecond: it is evaluated on the UI thread.
    static constexpr std::size_t kQuickFormula = 512;
    static constexpr std::size_t kQuickText = 128;

    // Whether `formula` over `texts` is evaluated on the calling thread.
    static bool isQuick(std::string_view formula, const FormulaTexts& texts) noexcept;

    // `stopButton` and `stopKey`, the stop key's shortcut, stay usable while the window waits.
    FormulaWorker(QWidget* stopButton, QObject* stopKey);
    ~FormulaWorker() override;

    FormulaWorker(const FormulaWorker&) = delete;
    FormulaWorker& operator=(const FormulaWorker&) = delete;

    void evaluate(std::string_view formula2, std::string_view formula1, const FormulaTexts& texts,
                  Fixed4& e2, Fixed4& e1) override;

    // Ends the running evaluation at its next check; the tick then ends with EAbort.
    void cancel() noexcept { token_.cancel(); }
    // Whether a tick is waiting in its local event loop right now.
    bool waitingLive() const { return activeLoop_ != nullptr; }
    // How many pairs of formulas went to the thread so far.
    int handedToThread() const { return handedToThread_; }

  private:
    struct Job {
        std::string_view formula2;
        std::string_view formula1;
        FormulaTexts texts;
    };

    void run();
    bool finished();
    void waitPlain();
    void waitLive();

    QWidget* stopButton_;
    QObject* stopKey_;
    CancellationToken token_;

    std::mutex mutex_;
    std::condition_variable wake_;      // a job or the end for the worker
    std::condition_variable finished_;  // the job is done, for the UI thread
    Job job_;
    bool jobPending_ = false;
    bool jobDone_ = false;
    bool stopping_ = false;
    bool waitingLive_ = false;  // the UI thread waits in its event loop: wake it with an event
    Fixed4 e2_;
    Fixed4 e1_;
    std::exception_ptr error_;

    // UI thread only: the loop a tick waits in, and whether the worker's word ended it.
    std::unique_ptr<QObject> notifier_;
    QEventLoop* activeLoop_ = nullptr;
    bool notified_ = false;
    int handedToThread_ = 0;

    std::thread thread_;  // last: it starts once everything above exists
};

}  // namespace kurvilo

// SPDX-License-Identifier: MIT
// The tick's two formula evaluations on a thread of their own, so that a long formula cannot
// freeze the window. The tick itself stays on the UI thread and waits for them: a plain wait
// first; past that, a local event loop that keeps the window painted and lets only the stop
// button and the window's close through, either of which cancels the evaluation (EAbort). A
// failure of the evaluation is raised again on the UI thread, where the tick catches it.
#pragma once

#include <atomic>
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
    // How long a tick waits for its formulas before the window is kept alive meanwhile; the
    // first part of it watching for the end without sleeping, as most formulas take
    // microseconds and a sleep and wake-up would cost more than they do.
    static constexpr std::chrono::milliseconds kPlainWait{100};
    static constexpr std::chrono::microseconds kWatchfulWait{200};

    // `stopButton` stays pressable while the window waits.
    explicit FormulaWorker(QWidget* stopButton);
    ~FormulaWorker() override;

    FormulaWorker(const FormulaWorker&) = delete;
    FormulaWorker& operator=(const FormulaWorker&) = delete;

    void evaluate(std::string_view formula2, std::string_view formula1, const FormulaTexts& texts,
                  Fixed4& e2, Fixed4& e1) override;

    // Ends the running evaluation at its next check; the tick then ends with EAbort.
    void cancel() noexcept { token_.cancel(); }
    // Whether a tick is waiting in its local event loop right now.
    bool waitingLive() const { return activeLoop_ != nullptr; }

  private:
    struct Job {
        std::string_view formula2;
        std::string_view formula1;
        FormulaTexts texts;
    };

    void run();
    bool finished();
    bool waitWatchfully();
    void waitPlain();
    void waitLive();

    QWidget* stopButton_;
    CancellationToken token_;

    std::mutex mutex_;
    std::condition_variable wake_;      // a job or the end for the worker
    std::condition_variable finished_;  // the job is done, for the UI thread
    Job job_;
    bool jobPending_ = false;
    bool jobDone_ = false;
    std::atomic<bool> jobDoneSeen_{false};  // jobDone_, readable without the lock
    bool stopping_ = false;
    bool waitingLive_ = false;  // the UI thread waits in its event loop: wake it with an event
    Fixed4 e2_;
    Fixed4 e1_;
    std::exception_ptr error_;

    // UI thread only: the loop a tick waits in, and whether the worker's word ended it.
    std::unique_ptr<QObject> notifier_;
    QEventLoop* activeLoop_ = nullptr;
    bool notified_ = false;

    std::thread thread_;  // last: it starts once everything above exists
};

}  // namespace kurvilo

// SPDX-License-Identifier: MIT
#include "ui/formula_worker.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QMetaObject>
#include <QObject>
#include <QWidget>
#include <QWindow>
#include <utility>

namespace kurvilo {

namespace {

// While a tick waits live, every input goes nowhere except a press of the stop button or its key;
// paint, timer, close and all other events pass.
class InputBlocker : public QObject {
  public:
    InputBlocker(QWidget* stopButton, QObject* stopKey)
        : stopButton_(stopButton), stopKey_(stopKey) {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~InputBlocker() override { QCoreApplication::instance()->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseMove:
                // The window hands the press on to the widget under the mouse: judged there.
                if (qobject_cast<QWindow*>(watched) != nullptr) return false;
                return watched != stopButton_;
            case QEvent::Shortcut:
                return watched != stopKey_ && qobject_cast<QWindow*>(watched) == nullptr;
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::ShortcutOverride:
            case QEvent::Wheel:
            case QEvent::ContextMenu:
            case QEvent::TouchBegin:
            case QEvent::TouchUpdate:
            case QEvent::TouchEnd:
            case QEvent::TabletPress:
            case QEvent::TabletMove:
            case QEvent::TabletRelease:
            case QEvent::InputMethod:
            case QEvent::DragEnter:
            case QEvent::DragMove:
            case QEvent::Drop:
                return qobject_cast<QWindow*>(watched) == nullptr;
            default:
                return false;
        }
    }

  private:
    QWidget* stopButton_;
    QObject* stopKey_;
};

}  // namespace

FormulaWorker::FormulaWorker(QWidget* stopButton, QObject* stopKey)
    : stopButton_(stopButton),
      stopKey_(stopKey),
      notifier_(std::make_unique<QObject>()),
      thread_([this] { run(); }) {}

FormulaWorker::~FormulaWorker() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    token_.cancel();
    wake_.notify_one();
    thread_.join();
}

void FormulaWorker::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || jobPending_; });
        if (stopping_) return;
        jobPending_ = false;
        const Job job = job_;
        lock.unlock();

        Fixed4 e2;
        Fixed4 e1;
        std::exception_ptr error;
        try {
            const EvaluationOptions options{&token_, nullptr};
            e2 = EvaluateFormula(job.formula2, job.texts, options);
            e1 = EvaluateFormula(job.formula1, job.texts, options);
        } catch (...) {
            error = std::current_exception();
        }

        lock.lock();
        e2_ = e2;
        e1_ = e1;
        error_ = error;
        jobDone_ = true;
        finished_.notify_all();
        // Wakes the UI thread if it waits in its event loop (a fast tick never does, and then
        // costs no event); a word that arrives late for an earlier job only makes the loop look
        // again.
        if (waitingLive_) {
            QMetaObject::invokeMethod(
                notifier_.get(),
                [this] {
                    notified_ = true;
                    if (activeLoop_ != nullptr) activeLoop_->quit();
                },
                Qt::QueuedConnection);
        }
    }
}

bool FormulaWorker::finished() {
    std::lock_guard lock(mutex_);
    return jobDone_;
}

void FormulaWorker::waitPlain() {
    std::unique_lock lock(mutex_);
    finished_.wait(lock, [this] { return jobDone_; });
}

void FormulaWorker::waitLive() {
    const InputBlocker blocker(stopButton_, stopKey_);
    QEventLoop loop;
    activeLoop_ = &loop;
    {
        std::lock_guard lock(mutex_);
        waitingLive_ = true;
    }
    while (!finished()) {
        notified_ = false;
        loop.exec();
        if (!notified_ && !finished()) {
            // Someone else ended the loop: the application is quitting. Nothing may outlive
            // the tick, so the evaluation is cancelled and its end awaited.
            cancel();
            waitPlain();
        }
    }
    {
        std::lock_guard lock(mutex_);
        waitingLive_ = false;
    }
    activeLoop_ = nullptr;
}

bool FormulaWorker::isQuick(std::string_view formula, const FormulaTexts& texts) noexcept {
    if (formula.size() > kQuickFormula) return false;
    // "Σ" in UTF-8: a summation term may run for minutes.
    if (formula.find("\xCE\xA3") != std::string_view::npos) return false;
    for (std::string_view value : texts.values) {
        if (value.size() > kQuickText) return false;
    }
    for (std::string_view constant : texts.constants) {
        if (constant.size() > kQuickText) return false;
    }
    return true;
}

void FormulaWorker::evaluate(std::string_view formula2, std::string_view formula1,
                             const FormulaTexts& texts, Fixed4& e2, Fixed4& e1) {
    if (isQuick(formula2, texts) && isQuick(formula1, texts)) {
        // Here and now: no cancellation can be needed, and a failure reaches the tick directly.
        e2 = EvaluateFormula(formula2, texts);
        e1 = EvaluateFormula(formula1, texts);
        return;
    }

    ++handedToThread_;
    {
        std::lock_guard lock(mutex_);
        job_ = Job{formula2, formula1, texts};
        jobPending_ = true;
        jobDone_ = false;
        error_ = nullptr;
        token_.reset();
    }
    wake_.notify_one();

    bool done = false;
    {
        std::unique_lock lock(mutex_);
        done = finished_.wait_for(lock, kPlainWait, [this] { return jobDone_; });
    }
    if (!done) waitLive();

    std::exception_ptr error;
    {
        std::lock_guard lock(mutex_);
        error = std::exchange(error_, nullptr);
        e2 = e2_;
        e1 = e1_;
    }
    if (error) std::rethrow_exception(error);
}

}  // namespace kurvilo

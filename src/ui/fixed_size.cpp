// SPDX-License-Identifier: MIT
#include "ui/fixed_size.h"

#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace kurvilo {

namespace {

constexpr Qt::WindowStates kLarger = Qt::WindowMaximized | Qt::WindowFullScreen;

// How long the window waits for the window system at each turn: to give it the larger size it
// asked for, then to give it back its own. Past that it goes on by itself.
constexpr int kLongestWaitMs = 500;

class FixedSize : public QObject {
  public:
    FixedSize(QWidget* window, QSize size) : QObject(window), window_(window), size_(size) {
        window_->setFixedSize(size_);
        window_->installEventFilter(this);
        wait_.setSingleShot(true);
        wait_.setInterval(kLongestWaitMs);
        connect(&wait_, &QTimer::timeout, this, [this] {
            if (phase_ == Phase::Released) {
                askForNormal();
            } else if (phase_ == Phase::Returning) {
                if (window_->size() != size_) window_->resize(size_);
                hold();
            }
        });
        watchWindow();
    }

    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::WinIdChange:
            case QEvent::Show:
                watchWindow();
                break;
            case QEvent::Resize:
                sizeChanged();
                break;
            default:
                break;
        }
        return false;
    }

  private:
    enum class Phase {
        Held,       // at its size, which the window system knows to be fixed
        Released,   // let go of its size: a larger one was asked for
        Returning,  // asked to be normal again: waiting for its own size
    };

    // The window system's window exists once the widget is shown (or asked for its id).
    void watchWindow() {
        QWindow* handle = window_->windowHandle();
        if (handle == nullptr || handle == watched_) return;
        watched_ = handle;
        // Told at once, while the request is on its way: the size must be let go before the
        // window system answers it.
        connect(handle, &QWindow::windowStateChanged, this, &FixedSize::stateChanged);
    }

    bool larger() const {
        const Qt::WindowStates states =
            watched_ != nullptr ? watched_->windowStates() : window_->windowState();
        return (states & kLarger) != 0;
    }

    void stateChanged(Qt::WindowState state) {
        if ((state & kLarger) == 0) {
            sizeChanged();
            return;
        }
        if (phase_ == Phase::Held) {
            window_->setMinimumSize(0, 0);
            window_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        }
        phase_ = Phase::Released;
        wait_.start();
    }

    void sizeChanged() {
        if (phase_ == Phase::Released && larger() && window_->size() != size_) {
            // The larger size was given and taken: back to normal, once the window system has
            // finished giving it.
            QTimer::singleShot(0, this, &FixedSize::askForNormal);
        } else if (phase_ != Phase::Held && !larger() && window_->size() == size_) {
            hold();
        }
    }

    // Normal again: the window system gives the window back its size (on Wayland the window
    // must keep the larger one until the compositor says so).
    void askForNormal() {
        if (phase_ != Phase::Released) return;
        phase_ = Phase::Returning;
        if (larger()) {
            if (watched_ != nullptr) {
                watched_->setWindowStates(Qt::WindowNoState);
            } else {
                window_->setWindowState(Qt::WindowNoState);
            }
        }
        wait_.start();
        sizeChanged();
    }

    void hold() {
        phase_ = Phase::Held;
        wait_.stop();
        window_->setFixedSize(size_);
    }

    QWidget* window_;
    QSize size_;
    QWindow* watched_ = nullptr;
    Phase phase_ = Phase::Held;
    QTimer wait_;
};

}  // namespace

void keepFixedSize(QWidget* window, QSize size) {
    new FixedSize(window, size);
}

}  // namespace kurvilo

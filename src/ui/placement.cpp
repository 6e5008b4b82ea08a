// SPDX-License-Identifier: MIT
#include "ui/placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace kurvilo {

namespace {

// One axis: the start of a span of `length` at `wanted`, moved inside [first, first + room).
int inside(int wanted, int length, int first, int room) {
    if (length >= room) return first;
    return std::clamp(wanted, first, first + room - length);
}

}  // namespace

QPoint placeInside(QPoint wanted, QSize frame, const QRect& area) {
    return {inside(wanted.x(), frame.width(), area.left(), area.width()),
            inside(wanted.y(), frame.height(), area.top(), area.height())};
}

void placeWindow(QWidget* window, QPoint wanted, QSize designedFrame, QPoint onScreenOf) {
    QScreen* screen = QGuiApplication::screenAt(onScreenOf);
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        window->move(wanted);
        return;
    }
    // Once shown, the window system has told the frame's real size (title bar and borders);
    // before, the frame is taken to be as large as designed.
    const QSize frame = window->frameGeometry().size().expandedTo(designedFrame);
    window->move(placeInside(wanted, frame, screen->availableGeometry()));
}

}  // namespace kurvilo

// SPDX-License-Identifier: MIT
// Where the windows open on screens of any size and scale: at their designed places where they
// fit, else moved just enough to lie wholly inside the available area of the screen (the screen
// less its panels). The main window goes on the screen of its designed place; the keypad keeps
// its designed offset from the main window, inside the main window's screen.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace kurvilo {

// The top left of a frame of size `frame` at `wanted`, moved just enough to lie inside `area`;
// a frame larger than the area keeps to its top left.
QPoint placeInside(QPoint wanted, QSize frame, const QRect& area);

// Moves the window, whose frame is `designedFrame` in size until the window system tells its
// real size, to `wanted` or just enough inside the available area of the screen at `onScreenOf`
// (a point, in global coordinates, of the screen meant).
void placeWindow(QWidget* window, QPoint wanted, QSize designedFrame, QPoint onScreenOf);

}  // namespace kurvilo

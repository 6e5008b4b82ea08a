// SPDX-License-Identifier: MIT
// Both windows have a fixed size: the window system is told so, and whatever asks for them to be
// maximised or shown full screen (a title-bar button, a double click, a compositor's key, the
// program itself) gets them back at their size, unharmed.
//
// A Wayland compositor such as weston maximises even a window of fixed size, and then requires
// the window to take the size it was given: Qt keeps the fixed size, and the compositor ends the
// connection with a protocol error, which ends the program and loses the run. So the window lets
// go of its size while a maximise is under way, takes the size it is given, asks to be normal
// again, and holds its own size once more when it is back.
#pragma once

#include <QSize>

class QWidget;

namespace kurvilo {

void keepFixedSize(QWidget* window, QSize size);

}  // namespace kurvilo

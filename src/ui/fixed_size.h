// SPDX-License-Identifier: MIT
// Both windows have a fixed size: the window system is told so, and a request to maximise them
// or show them full screen (a title bar's button, the program itself) gets them back at their
// size, unharmed.
//
// A Wayland compositor such as weston maximises even a window of fixed size, and then requires
// the window to take the size it was given: Qt keeps the fixed size, and the compositor ends the
// connection with a protocol error, which ends the program and loses the run. So the window lets
// go of its size while a maximise is under way, takes the size it is given, asks to be normal
// again, and holds its own size once more when it is back. (A compositor that maximises the
// window of its own accord, weston on Super+Shift+M, tells Qt so only after Qt has answered it at
// the fixed size: there the program cannot step in. GNOME and KDE leave a fixed-size window as
// it is.)
#pragma once

#include <QSize>

class QWidget;

namespace kurvilo {

void keepFixedSize(QWidget* window, QSize size);

}  // namespace kurvilo

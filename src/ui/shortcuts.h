// SPDX-License-Identifier: MIT
// Every key the two windows answer to beyond typing, Tab and Space, in one place (the manual
// page lists them). A key does what its button does, only where the button could be pressed;
// no key changes a caption.
//   main window: F5, Ctrl+Enter    描写開始
//                Escape            描写中止, while a run is active
//                Ctrl+S            保存
//                F4 in a formula   its "・・・" (the keypad)
//   keypad:      Ctrl+Enter        入力 (Enter and Escape alone do nothing there)
#pragma once

class QShortcut;

namespace kurvilo {

class TForm1;
class TForm2;

// The main window's keys; returns the stop key's shortcut, which a tick that waits for long
// formulas lets through with the stop button.
QShortcut* addMainWindowShortcuts(TForm1& form1);
void addKeypadShortcuts(TForm2& form2);

}  // namespace kurvilo

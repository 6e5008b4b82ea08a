// SPDX-License-Identifier: MIT
// Every key the two windows answer to beyond typing, Tab and Space, in one place (the manual
// page lists them). A key does what its button does, only where the button could be pressed;
// no key changes a caption.
//   main window: F5, Ctrl+Enter    描写開始
//                Escape            描写中止, while a run is active
//                Ctrl+S            保存
//                F4 in a formula   its "・・・" (the keypad)
//                Ctrl+O            open a run file            (also in the context menu)
//                Ctrl+Shift+S      save the settings as one
//                F6                resume a stopped run
//                F7                one tick of a stopped run
//                Ctrl+Shift+E      export the picture as PNG
//                Ctrl+G            export the run as an animated GIF
//                Ctrl+Shift+C      copy the run as a kurvilo-cli command
//   keypad:      Ctrl+Enter        入力 (Enter and Escape alone do nothing there)
#pragma once

class QMenu;
class QShortcut;

namespace kurvilo {

class TForm1;
class TForm2;

// The main window's keys; returns the stop key's shortcut, which a tick that waits for long
// formulas lets through with the stop button.
QShortcut* addMainWindowShortcuts(TForm1& form1);
void addKeypadShortcuts(TForm2& form2);

// The actions of the run as a document, each with its key, and the window's context menu that
// shows them with their keys (PopupMenu1).
QMenu* addRunActions(TForm1& form1);
// Enables each of them where it can be done (while the menu shows them).
void updateRunActions(TForm1& form1);

}  // namespace kurvilo

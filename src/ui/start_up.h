// SPDX-License-Identifier: MIT
// The program's start-up, shared by main and the window tests: the application's name, desktop
// entry, icon, face and Japanese translations of Qt's own dialogs, then the main window Form1
// and, right after it, the keypad Form2, which lives as long as Form1.
#pragma once

#include <memory>

namespace kurvilo {

class TForm1;
class TForm2;

struct Windows {
    std::unique_ptr<TForm1> form1;
    TForm2* form2 = nullptr;  // owned by form1
};

// The name shown for the program as a whole (the windows keep their own captions), its desktop
// entry and icon, the text face of every control, and Qt's texts in Japanese whatever the
// locale. Safe to call again.
void setUpApplication();

// Form1 (its FormCreate runs while it is made), then Form2, hidden.
Windows createWindows();

}  // namespace kurvilo

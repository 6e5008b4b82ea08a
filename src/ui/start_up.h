// SPDX-License-Identifier: MIT
// The program's start-up, shared by main and the window tests: the application's name, desktop
// entry, icon, face and Japanese translations of Qt's own dialogs, then the main window Form1
// and, right after it, the keypad Form2, which lives as long as Form1; the command line.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

namespace kurvilo {

class TForm1;
class TForm2;

struct Windows {
    std::unique_ptr<TForm1> form1;
    TForm2* form2 = nullptr;  // owned by form1
};

// What the environment must say before the application is made. Under X, the window's pixels
// reach the server inside the request instead of through shared memory: with shared memory a
// paint that overlaps the last one first waits for the server to have read it, and every tick's
// paint overlaps the last tick's (the point, the list), so each tick cost a round trip to the
// server and two thread wake-ups. A value the user set stays, but "0" (keep shared memory) is
// taken away, since Qt would read it as "no shared memory" too.
void prepareEnvironment();

// The name shown for the program as a whole (the windows keep their own captions), its desktop
// entry and icon, the text face of every control, and Qt's texts in Japanese whatever the
// locale. Safe to call again.
void setUpApplication();

// Form1 (its FormCreate runs while it is made), then Form2, hidden.
Windows createWindows();

// The program's command line: nothing, or the one run file to open ("kurvilo FILE", as a desktop
// opens a .kurvilo file). Qt's own options are none of it.
struct CommandLine {
    QString runFile;  // empty: none
    QString error;    // why the command line is refused; empty when it is not
};
CommandLine readCommandLine(const QStringList& arguments);  // without the program's name

// Opens the command line's run file in the window once it shows, a refusal in a message box.
// The empty string when it opened (or there was none), else the refusal.
QString openCommandLineFile(TForm1& form1, const CommandLine& line);

}  // namespace kurvilo

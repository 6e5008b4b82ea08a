// SPDX-License-Identifier: MIT
// Kurvilo's start-up: the application, its name, the two windows, and the event loop until the
// main window closes. The program reads no command line and keeps no settings.
#include <QApplication>

#include "ui/start_up.h"
#include "ui/unit6.h"

int main(int, char* argv[]) {
    // The program takes no command line: not even Qt's own options (-style, -qwindowtitle, ...).
    static int argumentCount = 1;
    static char* arguments[] = {argv[0], nullptr};
    QApplication application(argumentCount, arguments);
    kurvilo::setUpApplication();
    kurvilo::Windows windows = kurvilo::createWindows();
    windows.form1->show();
    return application.exec();
}

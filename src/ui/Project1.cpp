// Kurvilo's start-up: the application, its name, the two windows, and the event loop until the
// main window closes. The program reads no command line and keeps no settings.
#include <QApplication>

#include "ui/start_up.h"
#include "ui/unit6.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    kurvilo::setUpApplication();
    kurvilo::Windows windows = kurvilo::createWindows();
    windows.form1->show();
    return application.exec();
}

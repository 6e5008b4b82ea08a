// SPDX-License-Identifier: MIT
// Kurvilo's start-up: the application, its name, the two windows, the run file named on the
// command line, and the event loop until the main window closes. The program keeps no settings.
#include <QApplication>
#include <QFile>
#include <QStringList>
#include <QTimer>
#include <cstdio>

#include "ui/start_up.h"
#include "ui/unit6.h"

int main(int argc, char* argv[]) {
    // The command line is the run file to open and nothing else: not even Qt's own options
    // (-style, -qwindowtitle, ...).
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QFile::decodeName(argv[i]);
    const kurvilo::CommandLine line = kurvilo::readCommandLine(arguments);
    if (!line.error.isEmpty()) {
        std::fprintf(stderr, "%s\n", line.error.toLocal8Bit().constData());
        return 2;
    }
    kurvilo::prepareEnvironment();
    static int argumentCount = 1;
    static char* qtArguments[] = {argv[0], nullptr};
    QApplication application(argumentCount, qtArguments);
    kurvilo::setUpApplication();
    kurvilo::Windows windows = kurvilo::createWindows();
    windows.form1->show();
    QTimer::singleShot(0, windows.form1.get(),
                       [&] { kurvilo::openCommandLineFile(*windows.form1, line); });
    return application.exec();
}

// SPDX-License-Identifier: MIT
#include "ui/start_up.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

#include "ui/Unit1.h"
#include "ui/unit6.h"
#include "ui/window_style.h"

// The icons are in the window library: a static library's resources need asking for by name.
static void initialiseIcons() {
    Q_INIT_RESOURCE(icons);
}

namespace kurvilo {

namespace {

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/hicolor/%1x%1/apps/kurvilo.png").arg(size),
                     QSize(size, size));
    return icon;
}

// Qt's own dialogs (the save dialog, its overwrite prompt, file errors) speak Japanese like the
// rest of the program, whatever the locale.
void loadQtTranslations() {
    const QString name = QStringLiteral("qtbase_ja");
    QCoreApplication* application = QCoreApplication::instance();
    if (application->findChild<QTranslator*>(name, Qt::FindDirectChildrenOnly) != nullptr) return;
    auto* translator = new QTranslator(application);
    translator->setObjectName(name);
    if (translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    } else {
        qWarning("Kurvilo: Qt's Japanese translations (%s) were not found", qPrintable(name));
    }
}

}  // namespace

void prepareEnvironment() {
    // Qt reads any value, even "0", as "no shared memory": "0" is the user's way to keep it.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) {
        qputenv("QT_XCB_NO_MITSHM", "1");
    } else if (qgetenv("QT_XCB_NO_MITSHM") == "0") {
        qunsetenv("QT_XCB_NO_MITSHM");
    }
}

void setUpApplication() {
    initialiseIcons();
    // Only the name, not the display name: Qt would append a display name to every caption.
    QApplication::setApplicationName(QStringLiteral("Kurvilo"));
    QApplication::setDesktopFileName(QStringLiteral("org.kurvilo.Kurvilo"));
    QApplication::setWindowIcon(programIcon());
    // The windows' text face for every control that sets none of its own (the group boxes'
    // style sheet stops the windows' own font from reaching their children).
    QApplication::setFont(uiFont(12));
    loadQtTranslations();
}

Windows createWindows() {
    Windows windows;
    windows.form1 = std::make_unique<TForm1>();
    windows.form2 = new TForm2(windows.form1.get());
    windows.form1->setKeypad(windows.form2);
    return windows;
}

CommandLine readCommandLine(const QStringList& arguments) {
    CommandLine line;
    if (arguments.size() > 1) {
        line.error = QStringLiteral(
            "usage: kurvilo [FILE]  (FILE: a run file, *.kurvilo, or a PNG "
            "picture that carries one)");
    } else if (arguments.size() == 1) {
        line.runFile = arguments.first();
        if (line.runFile.isEmpty()) line.error = QStringLiteral("kurvilo: the file name is empty");
    }
    return line;
}

QString openCommandLineFile(TForm1& form1, const CommandLine& line) {
    if (line.runFile.isEmpty()) return {};
    const QString failure = form1.openRunFile(line.runFile);
    if (!failure.isEmpty())
        QMessageBox::critical(&form1, QCoreApplication::applicationName(), failure);
    return failure;
}

}  // namespace kurvilo

// SPDX-License-Identifier: MIT
// Sets the windows up for the README's picture: a run of a Lissajous figure, stopped, with the
// keypad open below the main window, then has ImageMagick's import take the whole X screen.
// Usage (under an X server): ui_screenshot_scene OUT.png [dark] [polar] [wayland]
//   dark: under a dark theme's palette; polar: an orbit in PolarMotion instead;
//   wayland: under a Wayland compositor (weston started with --debug), which places the windows
//   itself and whose screen weston-screenshooter takes.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPalette>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "ui/Unit1.h"
#include "ui/components.h"
#include "ui/start_up.h"
#include "ui/unit6.h"

// weston-screenshooter writes wayland-screenshot-<time>.png into the folder it runs in.
int takeWaylandScreen(const QString& output) {
    QTemporaryDir folder;
    QProcess shooter;
    shooter.setWorkingDirectory(folder.path());
    shooter.start(QStringLiteral("weston-screenshooter"), {});
    if (!shooter.waitForFinished(10000) || shooter.exitCode() != 0) return 1;
    const QStringList taken = QDir(folder.path()).entryList({QStringLiteral("*.png")});
    if (taken.size() != 1) return 1;
    QFile::remove(output);
    return QFile::copy(QDir(folder.path()).filePath(taken.first()), output) ? 0 : 1;
}

int main(int argc, char* argv[]) {
    kurvilo::prepareEnvironment();
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT.png [dark] [polar]\n", argv[0]);
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    bool polar = false;
    bool wayland = false;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "dark") == 0) {
            QPalette dark;
            dark.setColor(QPalette::Window, QColor(53, 53, 53));
            dark.setColor(QPalette::WindowText, Qt::white);
            dark.setColor(QPalette::Base, QColor(35, 35, 35));
            dark.setColor(QPalette::Text, Qt::white);
            dark.setColor(QPalette::Button, QColor(53, 53, 53));
            dark.setColor(QPalette::ButtonText, Qt::white);
            dark.setColor(QPalette::Mid, QColor(100, 100, 100));
            dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(127, 127, 127));
            dark.setColor(QPalette::Disabled, QPalette::Text, QColor(127, 127, 127));
            dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(127, 127, 127));
            QApplication::setPalette(dark);
        } else if (std::strcmp(argv[i], "polar") == 0) {
            polar = true;
        } else if (std::strcmp(argv[i], "wayland") == 0) {
            wayland = true;
        }
    }
    kurvilo::setUpApplication();
    kurvilo::Windows windows = kurvilo::createWindows();
    kurvilo::TForm1& form1 = *windows.form1;
    kurvilo::TForm2& form2 = *windows.form2;

    // Side by side on the screen instead of the keypad covering the plot (it opens at its
    // offset from the main window: moved below it once open).
    form1.move(8, 8);
    const QPoint keypadPlace(8, 8 + form1.height() + 8);
    form1.show();

    if (polar) {
        form1.RadioGroup1->item(1)->click();
        form1.Edit1->setText(QStringLiteral("r*vθ^2-4/r^2"));
        form1.Edit2->setText(QStringLiteral("-2*vr*vθ/r"));
        form1.LabeledEdit13->setText(QStringLiteral("10"));
        form1.LabeledEdit15->setText(QStringLiteral("0.05"));
    } else {
        form1.Edit1->setText(QStringLiteral("-4*y"));
        form1.Edit2->setText(QStringLiteral("-x"));
        form1.LabeledEdit16->setText(QStringLiteral("10"));
        form1.LabeledEdit12->setText(QStringLiteral("10"));
    }
    form1.ComboBox2->setCurrentIndex(0);  // time step 1/10
    form1.Button1->click();

    int result = 0;
    QTimer::singleShot(1500, &form1, [&] {
        form1.Button2->click();
        QTimer::singleShot(0, &form2, [&] {
            if (!wayland) form2.move(keypadPlace);
            form2.LabeledEdit1->setText(QStringLiteral("2"));
            // "-4*y" becomes "-4*y+a*sin(t)", key by key.
            form2.Button17->click();  // +
            form2.Button35->click();  // a
            form2.Button19->click();  // *
            form2.Button22->click();  // sin()
            form2.Edit1->cursorBackward(false);
            form2.Button16->click();  // t
            form2.Edit1->end(false);
            QTimer::singleShot(700, &form2, [&] {
                result = wayland ? takeWaylandScreen(output)
                                 : QProcess::execute(
                                       QStringLiteral("import"),
                                       {QStringLiteral("-window"), QStringLiteral("root"), output});
                form2.Button30->click();
                form1.close();
            });
        });
        form1.Button3->click();
    });
    application.exec();
    return result;
}

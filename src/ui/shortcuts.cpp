// SPDX-License-Identifier: MIT
#include "ui/shortcuts.h"

#include <QKeySequence>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <functional>
#include <initializer_list>

#include "ui/Unit1.h"
#include "ui/unit6.h"

namespace kurvilo {

namespace {

// Ctrl with the main Enter key or the keypad's.
const std::initializer_list<QKeySequence> kCtrlEnter{QKeySequence(Qt::CTRL | Qt::Key_Return),
                                                     QKeySequence(Qt::CTRL | Qt::Key_Enter)};

// `keys` pressed anywhere in `window` (or, with Qt::WidgetShortcut, in that one control) run
// `action`.
QShortcut* onKeys(QWidget* window, std::initializer_list<QKeySequence> keys,
                  Qt::ShortcutContext context, std::function<void()> action) {
    auto* shortcut = new QShortcut(window);
    shortcut->setKeys(QList<QKeySequence>(keys));
    shortcut->setContext(context);
    QObject::connect(shortcut, &QShortcut::activated, window, std::move(action));
    return shortcut;
}

}  // namespace

QShortcut* addMainWindowShortcuts(TForm1& form1) {
    // click() does nothing on a disabled button: the keys start and save only where the buttons
    // can be pressed.
    onKeys(&form1, {QKeySequence(Qt::Key_F5)}, Qt::WindowShortcut,
           [&form1] { form1.Button1->click(); });
    onKeys(&form1, kCtrlEnter, Qt::WindowShortcut, [&form1] { form1.Button1->click(); });
    onKeys(&form1, {QKeySequence(Qt::CTRL | Qt::Key_S)}, Qt::WindowShortcut,
           [&form1] { form1.Button16->click(); });
    onKeys(form1.Edit1, {QKeySequence(Qt::Key_F4)}, Qt::WidgetShortcut,
           [&form1] { form1.Button3->click(); });
    onKeys(form1.Edit2, {QKeySequence(Qt::Key_F4)}, Qt::WidgetShortcut,
           [&form1] { form1.Button4->click(); });
    // Escape stops a running run; in Idle it does nothing ("描写中止" there would enable 保存).
    return onKeys(&form1, {QKeySequence(Qt::Key_Escape)}, Qt::WindowShortcut, [&form1] {
        if (form1.Timer1->isActive()) form1.Button2->click();
    });
}

void addKeypadShortcuts(TForm2& form2) {
    onKeys(&form2, kCtrlEnter, Qt::WindowShortcut, [&form2] { form2.Button29->click(); });
}

}  // namespace kurvilo

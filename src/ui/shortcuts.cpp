// SPDX-License-Identifier: MIT
#include "ui/shortcuts.h"

#include <QAction>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
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

namespace {

struct RunAction {
    const char* name;     // the object name
    const char* caption;  // the menu's text, which is also what a screen reader says
    QKeySequence key;
    void (TForm1::*handler)();
    bool (TForm1::*enabled)() const;  // null: always
};

bool idle(const TForm1& form1) {
    return !form1.Timer1->isActive();
}

// The menu's entries in order; an empty name is a separator.
const RunAction kRunActions[] = {
    {"ActionOpenRun", "実行ファイルを開く…", QKeySequence(Qt::CTRL | Qt::Key_O),
     &TForm1::openRunFileChosen, &TForm1::canOpenRunFile},
    {"ActionSaveRun", "実行ファイルとして保存…", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
     &TForm1::saveRunFileChosen, nullptr},
    {"", "", {}, nullptr, nullptr},
    {"ActionResume", "描写再開", QKeySequence(Qt::Key_F6), &TForm1::resumeRun, &TForm1::canResume},
    {"ActionStep", "1 ステップ進める", QKeySequence(Qt::Key_F7), &TForm1::stepRun,
     &TForm1::canResume},
    {"", "", {}, nullptr, nullptr},
    {"ActionExportPng", "PNG で書き出し…", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E),
     &TForm1::exportPngChosen, nullptr},
    {"ActionExportGif", "GIF アニメで書き出し…", QKeySequence(Qt::CTRL | Qt::Key_G),
     &TForm1::exportGifChosen, &TForm1::canExportAnimation},
    {"ActionCopyCommand", "コマンドとしてコピー", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
     &TForm1::copyCommand, nullptr},
};

}  // namespace

QMenu* addRunActions(TForm1& form1) {
    auto* menu = new QMenu(&form1);
    menu->setObjectName(QStringLiteral("PopupMenu1"));
    menu->setAccessibleName(QStringLiteral("実行ファイルと書き出し"));
    for (const RunAction& entry : kRunActions) {
        if (*entry.name == '\0') {
            menu->addSeparator();
            continue;
        }
        auto* action = new QAction(QString::fromUtf8(entry.caption), &form1);
        action->setObjectName(QString::fromLatin1(entry.name));
        action->setShortcut(entry.key);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setShortcutVisibleInContextMenu(true);
        // The handlers check again: a key can come between the menu's update and the action.
        QObject::connect(action, &QAction::triggered, &form1,
                         [&form1, handler = entry.handler] { (form1.*handler)(); });
        form1.addAction(action);  // its key works anywhere in the window
        menu->addAction(action);
    }
    // Disabled where they cannot be done while the menu shows them; enabled again after, so that
    // their keys always reach the handlers (which check for themselves).
    QObject::connect(menu, &QMenu::aboutToShow, &form1, [&form1] { updateRunActions(form1); });
    QObject::connect(menu, &QMenu::aboutToHide, &form1, [&form1] {
        for (QAction* action : form1.PopupMenu1->actions())
            action->setEnabled(true);
    });
    return menu;
}

void updateRunActions(TForm1& form1) {
    for (const RunAction& entry : kRunActions) {
        if (*entry.name == '\0') continue;
        auto* action =
            form1.findChild<QAction*>(QString::fromLatin1(entry.name), Qt::FindDirectChildrenOnly);
        if (action == nullptr) continue;
        const bool enabled = entry.enabled != nullptr ? (form1.*entry.enabled)() : idle(form1);
        action->setEnabled(enabled);
    }
}

}  // namespace kurvilo

// SPDX-License-Identifier: MIT
// A fresh pair of windows per test, made by the program's own start-up, and lookups of their
// controls by object name. The keypad is a child of the main window and reuses some names
// (Edit1, Label1, Button1...), so main-window lookups skip everything inside the keypad.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLocale>
#include <QPalette>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "numbers/separator.h"
#include "ui/Unit1.h"
#include "ui/components.h"
#include "ui/start_up.h"
#include "ui/tag.h"
#include "ui/unit6.h"
#include "ui/window_style.h"

namespace kurvilo {

// The caption of a label, a button or a group box ("" for other controls).
inline QString captionOf(const QWidget* widget) {
    if (auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
    if (auto* box = qobject_cast<const QGroupBox*>(widget)) return box->title();
    return {};
}

// Hides the caption a control draws (false) and shows it again (true), changing nothing else;
// empty for a control without a caption.
using CaptionSwitch = std::function<void(bool)>;
inline CaptionSwitch captionSwitch(QWidget* widget) {
    const QString caption = captionOf(widget);
    if (caption.isEmpty()) return nullptr;
    if (auto* label = qobject_cast<QLabel*>(widget))
        return [label, caption](bool on) { label->setText(on ? caption : QString()); };
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return [button, caption](bool on) { button->setText(on ? caption : QString()); };
    auto* box = qobject_cast<QGroupBox*>(widget);
    return [box, caption](bool on) { box->setTitle(on ? caption : QString()); };
}

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QLocale::setDefault(QLocale::c());
        setUpApplication();
        windows_ = createWindows();
        form1 = windows_.form1.get();
        form2 = windows_.form2;
    }

    void TearDown() override {
        windows_.form1.reset();
        QLocale::setDefault(QLocale::c());
        setDecimalSeparator(U'.');
    }

    // A control of the main window (not of the keypad) by object name; fails the test if absent.
    template <class T>
    T* inMain(const char* name) {
        for (T* found : form1->findChildren<T*>(QString::fromLatin1(name))) {
            if (!found->isWidgetType() || static_cast<QWidget*>(found)->window() == form1)
                return found;
        }
        ADD_FAILURE() << "the main window has no " << name;
        return nullptr;
    }

    template <class T>
    T* inKeypad(const char* name) {
        T* found = form2->findChild<T*>(QString::fromLatin1(name));
        if (found == nullptr) ADD_FAILURE() << "the keypad has no " << name;
        return found;
    }

    QTimer* timer() { return form1->findChild<QTimer*>("Timer1", Qt::FindDirectChildrenOnly); }

    // The picture as Image1 paints it on screen.
    QImage shownPicture() { return inMain<QWidget>("Image1")->grab().toImage(); }

    static std::vector<std::string> rows(const ListBox* list) { return list->texts(); }

    void click(const char* name) { inMain<QAbstractButton>(name)->click(); }

    // Opens the keypad with the given main-window button and runs `whileOpen` inside its modal
    // loop; closes it with キャンセル if the action left it open, so no test can hang.
    void withKeypad(const char* opener, const std::function<void()>& whileOpen) {
        bool ran = false;
        QTimer::singleShot(0, form2, [&] {
            ran = true;
            EXPECT_TRUE(form2->isVisible());
            whileOpen();
            if (form2->isVisible()) form2->Button30->click();
        });
        click(opener);
        EXPECT_TRUE(ran) << "the keypad did not open";
        EXPECT_FALSE(form2->isVisible());
    }

    TForm1* form1 = nullptr;
    TForm2* form2 = nullptr;

  private:
    Windows windows_;
};

// A dark theme as desktops give one: light text on dark faces, grey disabled text.
inline QPalette darkPalette() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(45, 45, 45));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Button, QColor(53, 53, 53));
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::Mid, QColor(100, 100, 100));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(QPalette::Disabled, role, QColor(110, 110, 110));
    return dark;
}

// Whether every pixel of `picture` is `colour` where `expected(x, y)` holds, and white elsewhere.
inline testing::AssertionResult pictureIs(const QImage& picture,
                                          const std::function<bool(int, int)>& coloured,
                                          QRgb colour) {
    if (picture.size() != QSize(401, 401))
        return testing::AssertionFailure() << "size " << picture.width() << "x" << picture.height();
    for (int y = 0; y < 401; ++y) {
        for (int x = 0; x < 401; ++x) {
            const QRgb want = coloured(x, y) ? colour : qRgb(255, 255, 255);
            const QRgb got = picture.pixel(x, y) | 0xFF000000u;
            if (got != want)
                return testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is 0x"
                                                   << std::hex << got << ", expected 0x" << want;
        }
    }
    return testing::AssertionSuccess();
}

inline bool onFrame(int x, int y) {
    return x == 0 || y == 0 || x == 400 || y == 400;
}
inline bool onGrid(int x, int y) {
    return x % 20 == 0 || y % 20 == 0;
}

}  // namespace kurvilo

// SPDX-License-Identifier: MIT
// The program under a Wayland compositor (run by tests/ui/under-weston, headless weston): the
// typical road runs, the keypad opens as a transient of the main window, and both windows asked
// to maximise, as a title bar's button or the compositor would, stay as they are. Before, the
// compositor ended the connection with a protocol error, which ended the program and lost the run.
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>
#include <QtTest/QTest>

#include "window_fixture.h"

namespace kurvilo {
namespace {

class Wayland : public WindowTest {
  protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != "wayland")
            GTEST_SKIP() << "not under a Wayland compositor (tests/ui/under-weston)";
        WindowTest::SetUp();
    }

    std::vector<std::string> values() { return rows(inMain<ListBox>("ListBox1")); }

    // Lets the compositor answer: any protocol error ends the program before this returns.
    static void roundTrips() { QTest::qWait(700); }
};

TEST_F(Wayland, BothWindowsAskedToMaximiseKeepTheirSizesAndTheRun) {
    form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form1));
    inMain<QLineEdit>("Edit1")->setText("-y");
    inMain<QLineEdit>("Edit2")->setText("-x");
    inMain<QLineEdit>("LabeledEdit16")->setText("5");
    inMain<QLineEdit>("LabeledEdit12")->setText("5");
    click("Button1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return values().size() == 5 && values()[4] != "0.01"; }));
    click("Button2");
    const std::vector<std::string> run = values();

    bool keypadChecked = false;
    withKeypad("Button3", [&] {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form2));
        EXPECT_EQ(form2->windowHandle()->transientParent(), form1->windowHandle());
        form1->windowHandle()->showMaximized();
        form2->windowHandle()->showMaximized();
        roundTrips();
        EXPECT_EQ(form2->size(), QSize(456, 148));
        EXPECT_EQ(form2->windowHandle()->windowStates(), Qt::WindowNoState);
        keypadChecked = true;
    });
    EXPECT_TRUE(keypadChecked);
    roundTrips();
    EXPECT_EQ(form1->size(), QSize(777, 410));
    EXPECT_EQ(form1->windowHandle()->windowStates(), Qt::WindowNoState);
    EXPECT_EQ(values(), run);

    // And once more during a run: the run goes on.
    click("Button1");
    form1->windowHandle()->showMaximized();
    roundTrips();
    EXPECT_TRUE(timer()->isActive());
    EXPECT_EQ(form1->size(), QSize(777, 410));
    click("Button2");
    EXPECT_EQ(values().size(), 5u);
    EXPECT_TRUE(inMain<QLabel>("Label3")->text().isEmpty());
}

}  // namespace
}  // namespace kurvilo

// SPDX-License-Identifier: MIT
// The keyboard: the shortcuts of both windows, each only where its button could be pressed; the
// Tab chain without the value lists; the arrow keys on the graph modes, which move the focus and
// choose nothing.
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>

#include "window_fixture.h"

namespace kurvilo {
namespace {

class Keyboard : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        form1->show();
        QApplication::setActiveWindow(form1);
        ASSERT_TRUE(QTest::qWaitForWindowActive(form1));
        form1->setSaveDialogRunner([this](QFileDialog&) {
            ++saveDialogs;
            return false;
        });
        inMain<QLineEdit>("Edit1")->setText("-y");
        inMain<QLineEdit>("Edit2")->setText("-x");
    }

    // The key pressed where the focus is, as a user presses it.
    void press(QKeyCombination key) {
        QWidget* target = QApplication::focusWidget();
        if (target == nullptr) target = form1;
        QTest::keyClick(target, key.key(), key.keyboardModifiers());
    }

    bool running() { return timer()->isActive(); }

    int saveDialogs = 0;
};

enum class Before { Idle, Saved, Running };
enum class After { Idle, Running, SaveOffered, Nothing };

struct KeyCase {
    const char* name;
    QKeyCombination key;
    Before before;
    After after;
};

void PrintTo(const KeyCase& key, std::ostream* os) {
    *os << key.name;
}

class MainWindowKeys : public Keyboard, public testing::WithParamInterface<KeyCase> {};

TEST_P(MainWindowKeys, AKeyDoesWhatItsButtonDoesWhereTheButtonCanBePressed) {
    const KeyCase& row = GetParam();
    if (row.before == Before::Saved) click("Button2");  // Idle with "保存" enabled
    if (row.before == Before::Running) {
        click("Button1");
        form1->Timer1Timer();  // the run's first tick
    }
    const std::vector<std::string> values = rows(inMain<ListBox>("ListBox1"));
    const bool saveEnabled = inMain<QWidget>("Button16")->isEnabled();

    press(row.key);

    switch (row.after) {
        case After::Running:
            EXPECT_TRUE(running());
            EXPECT_FALSE(inMain<QWidget>("Button16")->isEnabled());
            if (row.before == Before::Running) {
                EXPECT_EQ(rows(inMain<ListBox>("ListBox1")), values) << "the run started again";
            }
            break;
        case After::Idle:
            EXPECT_FALSE(running());
            EXPECT_TRUE(inMain<QWidget>("Button16")->isEnabled());
            EXPECT_TRUE(inMain<QLabel>("Label3")->text().isEmpty());
            EXPECT_EQ(rows(inMain<ListBox>("ListBox1")), values);
            break;
        case After::SaveOffered:
            EXPECT_EQ(saveDialogs, 1);
            break;
        case After::Nothing:
            EXPECT_EQ(running(), row.before == Before::Running);
            EXPECT_EQ(inMain<QWidget>("Button16")->isEnabled(), saveEnabled);
            break;
    }
    if (row.after != After::SaveOffered) {
        EXPECT_EQ(saveDialogs, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    EachKey, MainWindowKeys,
    testing::Values(
        KeyCase{"F5Starts", Qt::Key_F5, Before::Idle, After::Running},
        KeyCase{"CtrlReturnStarts", Qt::CTRL | Qt::Key_Return, Before::Idle, After::Running},
        KeyCase{"CtrlKeypadEnterStarts",
                QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Enter),
                Before::Idle, After::Running},
        KeyCase{"F5DoesNotRestartARun", Qt::Key_F5, Before::Running, After::Running},
        KeyCase{"EscapeStopsARun", Qt::Key_Escape, Before::Running, After::Idle},
        KeyCase{"EscapeInIdleLeavesSaveDisabled", Qt::Key_Escape, Before::Idle, After::Nothing},
        KeyCase{"CtrlSSaves", Qt::CTRL | Qt::Key_S, Before::Saved, After::SaveOffered},
        KeyCase{"CtrlSDoesNothingBeforeARun", Qt::CTRL | Qt::Key_S, Before::Idle, After::Nothing},
        KeyCase{"CtrlSDoesNothingDuringARun", Qt::CTRL | Qt::Key_S, Before::Running,
                After::Nothing},
        KeyCase{"EnterAloneDoesNothing", Qt::Key_Return, Before::Idle, After::Nothing}),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

struct F4Case {
    const char* field;
    int target;  // the keypad's target formula; -1: the keypad stays shut
};

void PrintTo(const F4Case& row, std::ostream* os) {
    *os << row.field;
}

class F4 : public Keyboard, public testing::WithParamInterface<F4Case> {};

TEST_P(F4, InAFormulaFieldOpensItsKeypad) {
    const F4Case& row = GetParam();
    inMain<QWidget>(row.field)->setFocus();
    bool opened = false;
    QTimer::singleShot(0, form2, [&] {
        if (!form2->isVisible()) return;
        opened = true;
        EXPECT_EQ(tagOf(form2->Label1), row.target);
        form2->Button30->click();
    });
    press(Qt::Key_F4);
    QCoreApplication::processEvents();
    EXPECT_EQ(opened, row.target >= 0);
}

INSTANTIATE_TEST_SUITE_P(EachField, F4,
                         testing::Values(F4Case{"Edit1", 0}, F4Case{"Edit2", 1},
                                         F4Case{"LabeledEdit12", -1}, F4Case{"ComboBox1", -1}),
                         [](const testing::TestParamInfo<F4Case>& info) {
                             return std::string(info.param.field);
                         });

TEST_F(Keyboard, CtrlEnterInTheKeypadPressesEnter) {
    inMain<QLineEdit>("Edit1")->setText("x");
    withKeypad("Button3", [&] {
        form2->Button17->click();  // +
        form2->Button2->click();   // 2
        QApplication::setActiveWindow(form2);
        ASSERT_TRUE(QTest::qWaitForWindowActive(form2));
        QTest::keyClick(form2->Edit1, Qt::Key_Return, Qt::ControlModifier);
        EXPECT_FALSE(form2->isVisible());
    });
    EXPECT_EQ(inMain<QLineEdit>("Edit1")->text(), "x+2");
}

TEST_F(Keyboard, TabGoesFromTheFirstFormulaToStartPastNoValueList) {
    const char* const chain[] = {"Button3",       "Edit2",         "Button4",       "LabeledEdit12",
                                 "LabeledEdit15", "LabeledEdit13", "LabeledEdit16", "ComboBox1",
                                 "ComboBox2",     "ComboBox3",     "ComboBox4",     "Button1"};
    inMain<QWidget>("Edit1")->setFocus();
    for (const char* expected : chain) {
        press(Qt::Key_Tab);
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName().toStdString(), expected);
    }
    for (const char* list : {"ListBox1", "ListBox2", "ListBox3"})
        EXPECT_EQ(inMain<QWidget>(list)->focusPolicy(), Qt::NoFocus) << list;
}

// The graph mode under the keyboard: each step a key, then where the focus is and which mode is
// chosen.
struct ModeStep {
    Qt::Key key;
    int focused;
    int chosen;
};

TEST_F(Keyboard, ArrowsOnTheGraphModesMoveTheFocusAndSpaceChooses) {
    auto* modes = inMain<RadioGroup>("RadioGroup1");
    modes->item(0)->setFocus();
    const ModeStep steps[] = {
        {Qt::Key_Down, 1, 0}, {Qt::Key_Down, 2, 0}, {Qt::Key_Right, 3, 0}, {Qt::Key_Down, 0, 0},
        {Qt::Key_Up, 3, 0},   {Qt::Key_Left, 2, 0}, {Qt::Key_Space, 2, 2}, {Qt::Key_Up, 1, 2},
    };
    int step = 0;
    for (const ModeStep& expected : steps) {
        SCOPED_TRACE(step++);
        if (modes->itemIndex() == 0) {
            // Until a mode is chosen the typed formulas stay.
            EXPECT_EQ(inMain<QLineEdit>("Edit1")->text(), "-y");
        }
        press(expected.key);
        EXPECT_EQ(QApplication::focusWidget(), modes->item(expected.focused));
        EXPECT_EQ(modes->itemIndex(), expected.chosen);
    }
    EXPECT_TRUE(inMain<QLineEdit>("Edit1")->text().isEmpty());  // the chosen mode cleared them
    EXPECT_EQ(inMain<QLabel>("Label6")->text(), "Y=");
}

TEST_F(Keyboard, AClickStillChoosesAMode) {
    auto* modes = inMain<RadioGroup>("RadioGroup1");
    QTest::mouseClick(modes->item(1), Qt::LeftButton);
    EXPECT_EQ(modes->itemIndex(), 1);
    EXPECT_EQ(inMain<QLabel>("Label6")->text(), "Ar=");
}

}  // namespace
}  // namespace kurvilo

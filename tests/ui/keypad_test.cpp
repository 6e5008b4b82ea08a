// SPDX-License-Identifier: MIT
// The keypad: what each key inserts and where, the variable keys by graph mode, writing back on
// 入力 only, the constants that survive a cancel, the close handler, and keys that do nothing.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>

#include "window_fixture.h"

namespace kurvilo {
namespace {

using Keypad = WindowTest;

QPushButton* keyNumber(TForm2* form2, int number) {
    return form2->findChild<QPushButton*>(QStringLiteral("Button%1").arg(number));
}

struct KeyToken {
    int number;
    const char* token;
};

// In CartesianMotion, with every key enabled.
const KeyToken kTokens[] = {
    {1, "1"},      {2, "2"},      {3, "3"},  {4, "4"},      {5, "5"},         {6, "6"},
    {7, "7"},      {8, "8"},      {9, "9"},  {10, "0"},     {11, "."},        {12, "vx"},
    {13, "x"},     {14, "vy"},    {15, "y"}, {16, "t"},     {17, "+"},        {18, "-"},
    {19, "*"},     {20, "/"},     {21, "^"}, {22, "sin()"}, {23, "cos()"},    {24, "tan()"},
    {25, "log()"}, {26, "exp()"}, {27, "("}, {28, ")"},     {32, "Σ{n=<>:}"}, {33, "n"},
    {34, "π"},     {35, "a"},     {36, "b"}, {37, "c"},     {38, "d"},
};

TEST_F(Keypad, EachKeyInsertsItsTokenAtTheCaret) {
    for (const KeyToken& key : kTokens) {
        SCOPED_TRACE(key.number);
        form2->Edit1->setText("[]");
        form2->Edit1->setCursorPosition(1);
        keyNumber(form2, key.number)->click();
        const QString token = QString::fromUtf8(key.token);
        EXPECT_EQ(form2->Edit1->text(), "[" + token + "]");
        EXPECT_EQ(form2->Edit1->cursorPosition(), 1 + token.size());
    }
}

TEST_F(Keypad, AFunctionKeyLeavesTheCaretBehindItsBrackets) {
    form2->Edit1->setText("x+");
    form2->Edit1->end(false);
    form2->Button22->click();  // sin
    form2->Button2->click();
    EXPECT_EQ(form2->Edit1->text(), "x+sin()2");
}

TEST_F(Keypad, AKeyReplacesExactlyTheSelection) {
    form2->Edit1->setText("x*sin(y)+1");
    form2->Edit1->setSelection(2, 6);  // "sin(y)"
    form2->Button23->click();          // cos
    EXPECT_EQ(form2->Edit1->text(), "x*cos()+1");
    EXPECT_EQ(form2->Edit1->cursorPosition(), 7);
    EXPECT_FALSE(form2->Edit1->hasSelectedText());
}

TEST_F(Keypad, SelectionStillReplacedAfterTypingAConstant) {
    form2->show();
    QApplication::setActiveWindow(form2);
    ASSERT_TRUE(QTest::qWaitForWindowActive(form2));
    form2->Edit1->setFocus();
    form2->Edit1->setText("abc");
    form2->Edit1->setSelection(0, 1);
    QLineEdit* constantA = form2->constantField(0);
    constantA->setFocus();
    QTest::keyClicks(constantA, "2");
    ASSERT_TRUE(constantA->hasFocus());
    form2->Button7->click();
    EXPECT_EQ(form2->Edit1->text(), "7bc");
    EXPECT_EQ(constantA->text(), "2");
    // The kept selection is used once; the next key goes to the caret.
    form2->Button8->click();
    EXPECT_EQ(form2->Edit1->text(), "78bc");
    form2->hide();
}

TEST_F(Keypad, FormulaFieldsHoldTextsLongerThanALineEditsDefault) {
    const QString longFormula(40000, QLatin1Char('x'));
    form2->Edit1->setText(longFormula);
    EXPECT_EQ(form2->Edit1->text().size(), longFormula.size());
    form1->Edit1->setText(longFormula);
    EXPECT_EQ(form1->Edit1->text().size(), longFormula.size());
}

TEST_F(Keypad, ClearEmptiesOnlyTheFormula) {
    form2->Edit1->setText("x+1");
    form2->LabeledEdit2->setText("3");
    form2->Button31->click();
    EXPECT_TRUE(form2->Edit1->text().isEmpty());
    EXPECT_EQ(form2->LabeledEdit2->text(), "3");
}

struct VariableKeyRow {
    int mode;
    std::vector<std::string> captions;  // Button12..Button15
    std::vector<bool> enabled;          // Button12..Button16
};

void PrintTo(const VariableKeyRow& row, std::ostream* os) {
    *os << "mode " << row.mode;
}

class VariableKeys : public WindowTest, public testing::WithParamInterface<VariableKeyRow> {};

TEST_P(VariableKeys, PaintingRelabelsTheVariableKeysByGraphMode) {
    const VariableKeyRow& row = GetParam();
    setTag(form2, row.mode);
    (void)form2->grab();  // one paint of the dialog
    std::vector<std::string> captions;
    std::vector<bool> enabled;
    for (int number = 12; number <= 16; ++number) {
        if (number < 16) captions.push_back(keyNumber(form2, number)->text().toStdString());
        enabled.push_back(keyNumber(form2, number)->isEnabled());
    }
    EXPECT_EQ(captions, row.captions);
    EXPECT_EQ(enabled, row.enabled);
    EXPECT_TRUE(form2->Button33->isEnabled());  // "n" in every mode
    // A relabelled key inserts its new caption.
    for (int number = 12; number <= 15; ++number) {
        QPushButton* key = keyNumber(form2, number);
        if (!key->isEnabled()) continue;
        form2->Edit1->clear();
        key->click();
        EXPECT_EQ(form2->Edit1->text(), key->text());
    }
}

INSTANTIATE_TEST_SUITE_P(
    EachMode, VariableKeys,
    testing::Values(VariableKeyRow{0, {"vx", "x", "vy", "y"}, {true, true, true, true, true}},
                    VariableKeyRow{1, {"vr", "r", "vθ", "θ"}, {true, true, true, true, true}},
                    VariableKeyRow{2, {"vx", "x", "vy", "y"}, {false, true, false, false, false}},
                    VariableKeyRow{3, {"vr", "r", "vθ", "θ"}, {false, false, false, true, false}}));

TEST_F(Keypad, AnUnknownModeChangesNoKey) {
    setTag(form2, 1);
    (void)form2->grab();
    setTag(form2, 7);
    (void)form2->grab();
    EXPECT_EQ(form2->Button12->text(), "vr");
    EXPECT_TRUE(form2->Button16->isEnabled());
}

TEST_F(Keypad, OpenedForTheSecondFormulaInPolarMotionWritesBackIntoEdit2) {
    inMain<RadioGroup>("RadioGroup1")->item(1)->click();
    inMain<QLineEdit>("Edit1")->setText("-r");
    inMain<QLineEdit>("Edit2")->setText("2*");
    withKeypad("Button4", [&] {
        EXPECT_EQ(form2->Label1->text(), "Aθ=");
        EXPECT_EQ(tagOf(form2->Label1), 1);
        EXPECT_EQ(tagOf(form2), 1);
        EXPECT_EQ(form2->Edit1->text(), "2*");
        EXPECT_FALSE(form2->Edit1->hasSelectedText());
        EXPECT_EQ(form2->Edit1->cursorPosition(), 2);
        (void)form2->grab();
        EXPECT_EQ(form2->Button12->text(), "vr");
        EXPECT_EQ(form2->Button14->text(), "vθ");
        form2->Button14->click();
        form2->Button29->click();  // 入力
    });
    EXPECT_EQ(inMain<QLineEdit>("Edit2")->text(), "2*vθ");
    EXPECT_EQ(inMain<QLineEdit>("Edit1")->text(), "-r");
}

TEST_F(Keypad, OpenedForTheFirstFormulaWritesBackIntoEdit1) {
    inMain<QLineEdit>("Edit1")->setText("-");
    withKeypad("Button3", [&] {
        EXPECT_EQ(form2->Label1->text(), "Ay=");
        EXPECT_EQ(tagOf(form2->Label1), 0);
        form2->Button15->click();
        form2->Button29->click();
    });
    EXPECT_EQ(inMain<QLineEdit>("Edit1")->text(), "-y");
    EXPECT_TRUE(inMain<QLineEdit>("Edit2")->text().isEmpty());
}

TEST_F(Keypad, CancelAndTheCloseBoxWriteNothingBackButKeepTypedConstants) {
    inMain<QLineEdit>("Edit1")->setText("x");
    withKeypad("Button3", [&] {
        form2->Button17->click();
        form2->LabeledEdit3->setText("1.5");
        form2->Button30->click();  // キャンセル
    });
    EXPECT_EQ(inMain<QLineEdit>("Edit1")->text(), "x");
    EXPECT_EQ(form2->LabeledEdit3->text(), "1.5");

    withKeypad("Button3", [&] {
        form2->Button17->click();
        form2->close();  // the close box
    });
    EXPECT_EQ(inMain<QLineEdit>("Edit1")->text(), "x");
}

TEST_F(Keypad, EveryCloseTurnsEmptyConstantsIntoZeroButKeepsBlanks) {
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(form2->constantField(i)->text().isEmpty());
    form2->LabeledEdit2->setText(" ");
    withKeypad("Button3", [] {});
    EXPECT_EQ(form2->LabeledEdit1->text(), "0");
    EXPECT_EQ(form2->LabeledEdit2->text(), " ");
    EXPECT_EQ(form2->LabeledEdit3->text(), "0");
    EXPECT_EQ(form2->LabeledEdit4->text(), "0");

    form2->LabeledEdit4->clear();
    withKeypad("Button3", [&] { form2->Button29->click(); });
    EXPECT_EQ(form2->LabeledEdit4->text(), "0");
}

TEST_F(Keypad, EnterAndEscapeDoNothing) {
    inMain<QLineEdit>("Edit1")->setText("x");
    withKeypad("Button3", [&] {
        form2->Button17->click();
        for (QWidget* target :
             {static_cast<QWidget*>(form2->Edit1), static_cast<QWidget*>(form2->LabeledEdit1),
              static_cast<QWidget*>(form2)}) {
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
                QTest::keyClick(target, key);
                EXPECT_TRUE(form2->isVisible()) << target->objectName().toStdString();
            }
        }
        EXPECT_EQ(form2->Edit1->text(), "x+");
        form2->Button30->click();
    });
    EXPECT_EQ(inMain<QLineEdit>("Edit1")->text(), "x");
    for (QPushButton* key : form2->findChildren<QPushButton*>()) {
        SCOPED_TRACE(key->objectName().toStdString());
        EXPECT_FALSE(key->autoDefault());
        EXPECT_FALSE(key->isDefault());
    }
}

TEST_F(Keypad, TheFormulaFieldIsFirstInTheTabOrderAndKeysLeaveItsFocus) {
    withKeypad("Button3", [&] {
        EXPECT_EQ(form2->focusWidget(), form2->Edit1);
        form2->Edit1->setText("abc");
        form2->Edit1->setSelection(0, 1);
        QTest::mouseClick(form2->Button7, Qt::LeftButton);
        EXPECT_EQ(form2->Edit1->text(), "7bc");
        EXPECT_EQ(form2->focusWidget(), form2->Edit1);
    });
}

}  // namespace
}  // namespace kurvilo

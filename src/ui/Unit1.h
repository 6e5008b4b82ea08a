// SPDX-License-Identifier: MIT
// The formula keypad Form2: composes one of the main window's two formulas from keys and holds
// the constants a, b, c and d, which every tick reads from its four fields. The main window sets
// the formula, the target (Tag of Label1: 0 = Edit1, 1 = Edit2), the label and the graph mode
// (the dialog's own Tag) before each modal showing. Enter and Escape do nothing here.
#pragma once

#include <QDialog>
#include <QPoint>
#include <QSize>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kurvilo {

class GroupBox;
class LabeledEdit;
class TForm1;

class TForm2 : public QDialog {
    Q_OBJECT
  public:
    // Where the keypad opens from the main window where it fits, and how large its frame is.
    static constexpr QPoint kOffsetFromMainWindow{-110, 55};
    static constexpr QSize kDesignedFrame{464, 182};

    // Created hidden, right after the main window, and kept for the whole program.
    explicit TForm2(TForm1* form1);

    void setVisible(bool visible) override;
    // Every way of closing ends here, so FormClose runs on each of them.
    void done(int result) override;

    // LabeledEdit1..LabeledEdit4 by index 0..3: the constants a..d.
    QLineEdit* constantField(int index) const;

    void FormPaint();
    void FormClose();
    // The keys: 1..28 and 32..38 insert a token, 29 is 入力, 30 キャンセル, 31 Clear.
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button7Click();
    void Button8Click();
    void Button9Click();
    void Button10Click();
    void Button11Click();
    void Button12Click();
    void Button13Click();
    void Button14Click();
    void Button15Click();
    void Button16Click();
    void Button17Click();
    void Button18Click();
    void Button19Click();
    void Button20Click();
    void Button21Click();
    void Button22Click();
    void Button23Click();
    void Button24Click();
    void Button25Click();
    void Button26Click();
    void Button27Click();
    void Button28Click();
    void Button29Click();
    void Button30Click();
    void Button31Click();
    void Button32Click();
    void Button33Click();
    void Button34Click();
    void Button35Click();
    void Button36Click();
    void Button37Click();
    void Button38Click();

    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button4;
    QPushButton* Button5;
    QPushButton* Button6;
    QPushButton* Button7;
    QPushButton* Button8;
    QPushButton* Button9;
    QPushButton* Button10;
    QPushButton* Button11;
    QPushButton* Button12;
    QPushButton* Button13;
    QPushButton* Button14;
    QPushButton* Button15;
    QPushButton* Button16;
    QPushButton* Button17;
    QPushButton* Button18;
    QPushButton* Button19;
    QPushButton* Button20;
    QPushButton* Button21;
    QPushButton* Button22;
    QPushButton* Button23;
    QPushButton* Button24;
    QPushButton* Button25;
    QPushButton* Button26;
    QPushButton* Button27;
    QPushButton* Button28;
    QPushButton* Button29;
    QPushButton* Button30;
    QPushButton* Button31;
    QPushButton* Button32;
    QPushButton* Button33;
    QPushButton* Button34;
    QPushButton* Button35;
    QPushButton* Button36;
    QPushButton* Button37;
    QPushButton* Button38;
    GroupBox* GroupBox1;
    LabeledEdit* LabeledEdit1;
    LabeledEdit* LabeledEdit2;
    LabeledEdit* LabeledEdit3;
    LabeledEdit* LabeledEdit4;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void createFormulaField();
    void createConstants();
    void createKeys();
    // Key `number` inserts its token: its own caption or the fixed text of the key table.
    void pressKey(int number);
    // At its offset from the main window, inside the main window's screen.
    void placeBesideMainWindow();
    // A variable key is heard as "変数 " and its caption.
    void nameVariableKeys();
    // Replaces the selection of Edit1, or inserts at its caret; the caret ends after the token.
    void insertToken(const QString& token);

    TForm1* form1_;
    // Edit1's selection when it last lost the focus (a line edit drops it then), so that a key
    // pressed after typing a constant still replaces what the user selected. -1: none.
    int keptSelectionStart_ = -1;
    int keptSelectionLength_ = 0;
};

}  // namespace kurvilo

// SPDX-License-Identifier: MIT
#include "ui/Unit1.h"

#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <array>
#include <iterator>

#include "ui/caption_fit.h"
#include "ui/components.h"
#include "ui/fixed_size.h"
#include "ui/formula_marker.h"
#include "ui/placement.h"
#include "ui/shortcuts.h"
#include "ui/tag.h"
#include "ui/unit6.h"
#include "ui/window_style.h"

namespace kurvilo {

namespace {

// Every key: where it sits and what it inserts. A key without a token inserts its own caption at
// the moment of the click, so a relabelled variable key inserts its new caption.
struct Key {
    int number;  // ButtonN
    QPushButton* TForm2::*member;
    QRect geometry;
    const char* caption;
    const char* token;  // nullptr: the caption; 29, 30 and 31 insert nothing
    void (TForm2::*handler)();
    bool inConstants;    // sits in GroupBox1 beside the constant fields
    const char* spoken;  // what a screen reader says; nullptr: the caption, "変数 " + a variable's
};

// clang-format off
const Key kKeys[] = {
    {7,  &TForm2::Button7,  {8, 36, 25, 25},    "7",     nullptr,    &TForm2::Button7Click,  false, nullptr},
    {8,  &TForm2::Button8,  {36, 36, 25, 25},   "8",     nullptr,    &TForm2::Button8Click,  false, nullptr},
    {9,  &TForm2::Button9,  {64, 36, 25, 25},   "9",     nullptr,    &TForm2::Button9Click,  false, nullptr},
    {4,  &TForm2::Button4,  {8, 64, 25, 25},    "4",     nullptr,    &TForm2::Button4Click,  false, nullptr},
    {5,  &TForm2::Button5,  {36, 64, 25, 25},   "5",     nullptr,    &TForm2::Button5Click,  false, nullptr},
    {6,  &TForm2::Button6,  {64, 64, 25, 25},   "6",     nullptr,    &TForm2::Button6Click,  false, nullptr},
    {1,  &TForm2::Button1,  {8, 92, 25, 25},    "1",     nullptr,    &TForm2::Button1Click,  false, nullptr},
    {2,  &TForm2::Button2,  {36, 92, 25, 25},   "2",     nullptr,    &TForm2::Button2Click,  false, nullptr},
    {3,  &TForm2::Button3,  {64, 92, 25, 25},   "3",     nullptr,    &TForm2::Button3Click,  false, nullptr},
    {10, &TForm2::Button10, {8, 120, 53, 25},   "0",     nullptr,    &TForm2::Button10Click, false, nullptr},
    {11, &TForm2::Button11, {64, 120, 25, 25},  ".",     nullptr,    &TForm2::Button11Click, false, "小数点"},
    {12, &TForm2::Button12, {92, 36, 25, 25},   "vx",    nullptr,    &TForm2::Button12Click, false, nullptr},
    {13, &TForm2::Button13, {120, 36, 25, 25},  "x",     nullptr,    &TForm2::Button13Click, false, nullptr},
    {16, &TForm2::Button16, {148, 36, 25, 25},  "t",     nullptr,    &TForm2::Button16Click, false, nullptr},
    {14, &TForm2::Button14, {92, 64, 25, 25},   "vy",    nullptr,    &TForm2::Button14Click, false, nullptr},
    {15, &TForm2::Button15, {120, 64, 25, 25},  "y",     nullptr,    &TForm2::Button15Click, false, nullptr},
    {33, &TForm2::Button33, {148, 64, 25, 25},  "n",     "n",        &TForm2::Button33Click, false, "総和の添字 n"},
    {17, &TForm2::Button17, {92, 92, 25, 25},   "+",     nullptr,    &TForm2::Button17Click, false, "足す"},
    {18, &TForm2::Button18, {120, 92, 25, 25},  "-",     nullptr,    &TForm2::Button18Click, false, "引く"},
    {34, &TForm2::Button34, {148, 92, 25, 25},  "π",     "π",        &TForm2::Button34Click, false, "円周率 π"},
    {19, &TForm2::Button19, {92, 120, 25, 25},  "*",     nullptr,    &TForm2::Button19Click, false, "掛ける"},
    {20, &TForm2::Button20, {120, 120, 25, 25}, "/",     nullptr,    &TForm2::Button20Click, false, "割る"},
    {21, &TForm2::Button21, {148, 120, 25, 25}, "^",     nullptr,    &TForm2::Button21Click, false, "累乗"},
    {22, &TForm2::Button22, {176, 36, 41, 25},  "sin",   "sin()",    &TForm2::Button22Click, false, "関数 sin"},
    {23, &TForm2::Button23, {220, 36, 45, 25},  "cos",   "cos()",    &TForm2::Button23Click, false, "関数 cos"},
    {24, &TForm2::Button24, {176, 64, 41, 25},  "tan",   "tan()",    &TForm2::Button24Click, false, "関数 tan"},
    {25, &TForm2::Button25, {220, 64, 45, 25},  "log",   "log()",    &TForm2::Button25Click, false, "関数 log"},
    {26, &TForm2::Button26, {176, 92, 41, 25},  "exp",   "exp()",    &TForm2::Button26Click, false, "関数 exp"},
    {27, &TForm2::Button27, {220, 92, 21, 25},  "(",     nullptr,    &TForm2::Button27Click, false, "開きかっこ"},
    {28, &TForm2::Button28, {244, 92, 21, 25},  ")",     nullptr,    &TForm2::Button28Click, false, "閉じかっこ"},
    {32, &TForm2::Button32, {176, 120, 41, 25}, "Σ",     "Σ{n=<>:}", &TForm2::Button32Click, false, "総和 Σ"},
    {31, &TForm2::Button31, {220, 120, 45, 25}, "Clear", nullptr,    &TForm2::Button31Click, false, "数式を消去"},
    {35, &TForm2::Button35, {84, 12, 23, 21},   "a",     "a",        &TForm2::Button35Click, true, "定数 a"},
    {36, &TForm2::Button36, {84, 36, 23, 21},   "b",     "b",        &TForm2::Button36Click, true, "定数 b"},
    {37, &TForm2::Button37, {84, 60, 23, 21},   "c",     "c",        &TForm2::Button37Click, true, "定数 c"},
    {38, &TForm2::Button38, {84, 84, 23, 21},   "d",     "d",        &TForm2::Button38Click, true, "定数 d"},
    {29, &TForm2::Button29, {396, 36, 57, 25},  "入力",  nullptr,    &TForm2::Button29Click, false, nullptr},
    {30, &TForm2::Button30, {396, 64, 57, 25},  "キャンセル", nullptr, &TForm2::Button30Click, false, nullptr},
};
// clang-format on

const Key& keyNumbered(int number) {
    return *std::find_if(std::begin(kKeys), std::end(kKeys),
                         [number](const Key& key) { return key.number == number; });
}

// The variable keys Button12..Button16 by graph mode: captions of 12..15, enabled of 12..16.
struct VariableKeys {
    std::array<const char*, 4> captions;
    std::array<bool, 5> enabled;
};

constexpr std::array<VariableKeys, 4> kVariableKeys{{
    {{"vx", "x", "vy", "y"}, {true, true, true, true, true}},
    {{"vr", "r", "vθ", "θ"}, {true, true, true, true, true}},
    {{"vx", "x", "vy", "y"}, {false, true, false, false, false}},
    {{"vr", "r", "vθ", "θ"}, {false, false, false, true, false}},
}};

}  // namespace

TForm2::TForm2(TForm1* form1) : QDialog(form1, Qt::Dialog | kFixedWindowHints), form1_(form1) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("SubForm"));
    keepFixedSize(this, {456, 148});
    placeBesideMainWindow();
    setModal(true);
    applyWindowStyle(this);

    createFormulaField();
    createConstants();
    createKeys();
    addKeypadShortcuts(*this);
    applyButtonFace(this);   // the controls' disabled text
    fitGroupCaptions(this);  // above the controls they hold
    setTag(Label1, 0);
    setTag(this, 0);
    Edit1->setFocus();
}

void TForm2::createFormulaField() {
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(uiFont(21, true));
    Label1->setGeometry(8, 8, 33, 21);
    Label1->setFixedSize(33, 21);
    paintBlackOnWhite(Label1);
    setCaption(Label1, QStringLiteral("Ay="));

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(48, 8, 405, 24);
    Edit1->setFont(fieldFont(16, true));
    Edit1->setMaxLength(kFormulaMaxLength);
    Edit1->installEventFilter(this);
    attachFormulaMarker(Edit1);
}

void TForm2::createConstants() {
    GroupBox1 = new GroupBox(QStringLiteral("GroupBox1"), {272, 36, 117, 109}, this);
    GroupBox1->setFont(uiFont(12));
    setCaption(GroupBox1, QStringLiteral("定数"));
    const char* const constantNames[] = {"a  ", "b  ", "c  ", "d  "};
    LabeledEdit** const fields[] = {&LabeledEdit1, &LabeledEdit2, &LabeledEdit3, &LabeledEdit4};
    for (int i = 0; i < 4; ++i) {
        *fields[i] =
            new LabeledEdit(QStringLiteral("LabeledEdit%1").arg(i + 1),
                            QRect(32, 12 + 24 * i, 53, 20), QString::fromUtf8(constantNames[i]),
                            LabeledEdit::LabelPosition::Left, uiFont(12), GroupBox1);
        (*fields[i])->setFont(fieldFont(12));
        attachValueMarker(*fields[i], FieldMarker::Field::Constant);
        (*fields[i])->setAccessibleName(QStringLiteral("定数 %1 の値").arg(QChar(u'a' + i)));
    }
}

void TForm2::createKeys() {
    for (const Key& layout : kKeys) {
        auto* key = new QPushButton(layout.inConstants ? static_cast<QWidget*>(GroupBox1) : this);
        key->setObjectName(QStringLiteral("Button%1").arg(layout.number));
        key->setFont(uiFont(layout.number == 30 ? 11 : 12));
        key->setGeometry(layout.geometry);
        // No key is a default button, so Enter never presses one.
        key->setAutoDefault(false);
        key->setDefault(false);
        setCaption(key, QString::fromUtf8(layout.caption));
        if (layout.spoken != nullptr) key->setAccessibleName(QString::fromUtf8(layout.spoken));
        this->*layout.member = key;
        connect(key, &QPushButton::clicked, this, layout.handler);
    }
    Button29->setAccessibleDescription(QStringLiteral("Ctrl+Enter"));
    nameVariableKeys();
    // The token keys take no focus, so the formula field keeps its caret and selection.
    for (QPushButton* key : findChildren<QPushButton*>()) {
        if (key != Button29 && key != Button30) key->setFocusPolicy(Qt::NoFocus);
    }
}

QLineEdit* TForm2::constantField(int index) const {
    const std::array<LabeledEdit*, 4> fields{LabeledEdit1, LabeledEdit2, LabeledEdit3,
                                             LabeledEdit4};
    return fields.at(std::size_t(index));
}

void TForm2::setVisible(bool visible) {
    if (!visible) {
        QDialog::setVisible(false);
        return;
    }
    placeBesideMainWindow();
    // The formula field gets the focus with its caret after the text and nothing selected; it is
    // named after the formula it edits.
    Edit1->setAccessibleName(Label1->text() + QStringLiteral(" の数式"));
    Edit1->setFocus();
    QDialog::setVisible(true);
    Edit1->deselect();
    Edit1->end(false);
    keptSelectionStart_ = -1;
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit1) {
        // Seen before the line edit handles the event: on the way out its selection still stands.
        if (event->type() == QEvent::FocusOut && Edit1->hasSelectedText()) {
            keptSelectionStart_ = Edit1->selectionStart();
            keptSelectionLength_ = Edit1->selectionLength();
        } else if (event->type() == QEvent::FocusIn) {
            keptSelectionStart_ = -1;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TForm2::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TForm2::paintEvent(QPaintEvent* event) {
    FormPaint();
    QDialog::paintEvent(event);
}

void TForm2::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) applyButtonFace(this);
    QDialog::changeEvent(event);
}

void TForm2::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            event->accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

void TForm2::FormPaint() {
    const int mode = tagOf(this);
    if (mode < 0 || mode >= int(kVariableKeys.size())) return;
    const VariableKeys& keys = kVariableKeys[std::size_t(mode)];
    QPushButton* const variables[] = {Button12, Button13, Button14, Button15, Button16};
    for (std::size_t i = 0; i < 5; ++i)
        variables[i]->setEnabled(keys.enabled[i]);
    for (std::size_t i = 0; i < 4; ++i) {
        const QString caption = QString::fromUtf8(keys.captions[i]);
        // Painting runs often: a caption is set and fitted only when it changes.
        if (variables[i]->text() != caption) {
            setCaption(variables[i], caption);
            nameVariableKeys();
        }
    }
}

void TForm2::placeBesideMainWindow() {
    const QPoint main = form1_->pos();
    placeWindow(this, main + kOffsetFromMainWindow, kDesignedFrame,
                form1_->frameGeometry().center());
}

void TForm2::nameVariableKeys() {
    for (QPushButton* variable : {Button12, Button13, Button14, Button15, Button16})
        variable->setAccessibleName(QStringLiteral("変数 ") + variable->text());
}

void TForm2::FormClose() {
    for (QLineEdit* field : {LabeledEdit1, LabeledEdit2, LabeledEdit3, LabeledEdit4}) {
        if (field->text().isEmpty()) field->setText(QStringLiteral("0"));
    }
}

void TForm2::insertToken(const QString& token) {
    if (!Edit1->hasFocus() && keptSelectionStart_ >= 0) {
        Edit1->setSelection(keptSelectionStart_, keptSelectionLength_);
        keptSelectionStart_ = -1;
    }
    Edit1->insert(token);
}

void TForm2::pressKey(int number) {
    const Key& key = keyNumbered(number);
    insertToken(key.token != nullptr ? QString::fromUtf8(key.token) : (this->*key.member)->text());
}

// clang-format off
void TForm2::Button1Click() { pressKey(1); }
void TForm2::Button2Click() { pressKey(2); }
void TForm2::Button3Click() { pressKey(3); }
void TForm2::Button4Click() { pressKey(4); }
void TForm2::Button5Click() { pressKey(5); }
void TForm2::Button6Click() { pressKey(6); }
void TForm2::Button7Click() { pressKey(7); }
void TForm2::Button8Click() { pressKey(8); }
void TForm2::Button9Click() { pressKey(9); }
void TForm2::Button10Click() { pressKey(10); }
void TForm2::Button11Click() { pressKey(11); }
void TForm2::Button12Click() { pressKey(12); }
void TForm2::Button13Click() { pressKey(13); }
void TForm2::Button14Click() { pressKey(14); }
void TForm2::Button15Click() { pressKey(15); }
void TForm2::Button16Click() { pressKey(16); }
void TForm2::Button17Click() { pressKey(17); }
void TForm2::Button18Click() { pressKey(18); }
void TForm2::Button19Click() { pressKey(19); }
void TForm2::Button20Click() { pressKey(20); }
void TForm2::Button21Click() { pressKey(21); }
void TForm2::Button22Click() { pressKey(22); }
void TForm2::Button23Click() { pressKey(23); }
void TForm2::Button24Click() { pressKey(24); }
void TForm2::Button25Click() { pressKey(25); }
void TForm2::Button26Click() { pressKey(26); }
void TForm2::Button27Click() { pressKey(27); }
void TForm2::Button28Click() { pressKey(28); }
void TForm2::Button32Click() { pressKey(32); }
void TForm2::Button33Click() { pressKey(33); }
void TForm2::Button34Click() { pressKey(34); }
void TForm2::Button35Click() { pressKey(35); }
void TForm2::Button36Click() { pressKey(36); }
void TForm2::Button37Click() { pressKey(37); }
void TForm2::Button38Click() { pressKey(38); }
// clang-format on

void TForm2::Button29Click() {
    const int target = tagOf(Label1);
    if (target == 0) form1_->Edit1->setText(Edit1->text());
    if (target == 1) form1_->Edit2->setText(Edit1->text());
    accept();
}

void TForm2::Button30Click() {
    reject();
}

void TForm2::Button31Click() {
    Edit1->clear();
    keptSelectionStart_ = -1;
}

}  // namespace kurvilo

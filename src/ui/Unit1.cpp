#include "ui/Unit1.h"

#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>

#include "ui/components.h"
#include "ui/unit6.h"

namespace kurvilo {

namespace {

constexpr Qt::WindowFlags kFixedDialogFlags = Qt::Dialog | Qt::CustomizeWindowHint |
                                              Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                              Qt::WindowCloseButtonHint;

struct KeyLayout {
    QPushButton* TForm2::*member;
    const char* name;
    QRect geometry;
    const char* caption;
    void (TForm2::*handler)();
    bool inConstants;  // sits in GroupBox1 beside the constant fields
};

// clang-format off
const KeyLayout kKeys[] = {
    {&TForm2::Button7,  "Button7",  {8, 36, 25, 25},    "7",   &TForm2::Button7Click,  false},
    {&TForm2::Button8,  "Button8",  {36, 36, 25, 25},   "8",   &TForm2::Button8Click,  false},
    {&TForm2::Button9,  "Button9",  {64, 36, 25, 25},   "9",   &TForm2::Button9Click,  false},
    {&TForm2::Button4,  "Button4",  {8, 64, 25, 25},    "4",   &TForm2::Button4Click,  false},
    {&TForm2::Button5,  "Button5",  {36, 64, 25, 25},   "5",   &TForm2::Button5Click,  false},
    {&TForm2::Button6,  "Button6",  {64, 64, 25, 25},   "6",   &TForm2::Button6Click,  false},
    {&TForm2::Button1,  "Button1",  {8, 92, 25, 25},    "1",   &TForm2::Button1Click,  false},
    {&TForm2::Button2,  "Button2",  {36, 92, 25, 25},   "2",   &TForm2::Button2Click,  false},
    {&TForm2::Button3,  "Button3",  {64, 92, 25, 25},   "3",   &TForm2::Button3Click,  false},
    {&TForm2::Button10, "Button10", {8, 120, 53, 25},   "0",   &TForm2::Button10Click, false},
    {&TForm2::Button11, "Button11", {64, 120, 25, 25},  ".",   &TForm2::Button11Click, false},
    {&TForm2::Button12, "Button12", {92, 36, 25, 25},   "vx",  &TForm2::Button12Click, false},
    {&TForm2::Button13, "Button13", {120, 36, 25, 25},  "x",   &TForm2::Button13Click, false},
    {&TForm2::Button16, "Button16", {148, 36, 25, 25},  "t",   &TForm2::Button16Click, false},
    {&TForm2::Button14, "Button14", {92, 64, 25, 25},   "vy",  &TForm2::Button14Click, false},
    {&TForm2::Button15, "Button15", {120, 64, 25, 25},  "y",   &TForm2::Button15Click, false},
    {&TForm2::Button33, "Button33", {148, 64, 25, 25},  "n",   &TForm2::Button33Click, false},
    {&TForm2::Button17, "Button17", {92, 92, 25, 25},   "+",   &TForm2::Button17Click, false},
    {&TForm2::Button18, "Button18", {120, 92, 25, 25},  "-",   &TForm2::Button18Click, false},
    {&TForm2::Button34, "Button34", {148, 92, 25, 25},  "π",   &TForm2::Button34Click, false},
    {&TForm2::Button19, "Button19", {92, 120, 25, 25},  "*",   &TForm2::Button19Click, false},
    {&TForm2::Button20, "Button20", {120, 120, 25, 25}, "/",   &TForm2::Button20Click, false},
    {&TForm2::Button21, "Button21", {148, 120, 25, 25}, "^",   &TForm2::Button21Click, false},
    {&TForm2::Button22, "Button22", {176, 36, 41, 25},  "sin", &TForm2::Button22Click, false},
    {&TForm2::Button23, "Button23", {220, 36, 45, 25},  "cos", &TForm2::Button23Click, false},
    {&TForm2::Button24, "Button24", {176, 64, 41, 25},  "tan", &TForm2::Button24Click, false},
    {&TForm2::Button25, "Button25", {220, 64, 45, 25},  "log", &TForm2::Button25Click, false},
    {&TForm2::Button26, "Button26", {176, 92, 41, 25},  "exp", &TForm2::Button26Click, false},
    {&TForm2::Button27, "Button27", {220, 92, 21, 25},  "(",   &TForm2::Button27Click, false},
    {&TForm2::Button28, "Button28", {244, 92, 21, 25},  ")",   &TForm2::Button28Click, false},
    {&TForm2::Button32, "Button32", {176, 120, 41, 25}, "Σ",   &TForm2::Button32Click, false},
    {&TForm2::Button31, "Button31", {220, 120, 45, 25}, "Clear", &TForm2::Button31Click, false},
    {&TForm2::Button35, "Button35", {84, 12, 23, 21},   "a",   &TForm2::Button35Click, true},
    {&TForm2::Button36, "Button36", {84, 36, 23, 21},   "b",   &TForm2::Button36Click, true},
    {&TForm2::Button37, "Button37", {84, 60, 23, 21},   "c",   &TForm2::Button37Click, true},
    {&TForm2::Button38, "Button38", {84, 84, 23, 21},   "d",   &TForm2::Button38Click, true},
    {&TForm2::Button29, "Button29", {396, 36, 57, 25},  "入力", &TForm2::Button29Click, false},
    {&TForm2::Button30, "Button30", {396, 64, 57, 25},  "キャンセル", &TForm2::Button30Click, false},
};
// clang-format on

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

TForm2::TForm2(TForm1* form1) : QDialog(form1, kFixedDialogFlags), form1_(form1) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("SubForm"));
    setFixedSize(456, 148);
    move(218, 262);
    setModal(true);
    setFont(uiFont(12));
    QPalette buttonFace = palette();
    buttonFace.setColor(QPalette::Window, buttonFace.color(QPalette::Button));
    setPalette(buttonFace);
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }"
        "QPushButton { padding: 0px; }"));

    Label1 = new QLabel(QStringLiteral("Ay="), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(uiFont(21, true));
    paintWhiteBackground(Label1);
    Label1->setGeometry(8, 8, 33, 21);
    Label1->setFixedSize(33, 21);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(48, 8, 405, 24);
    Edit1->setFont(uiFont(16, true));
    Edit1->setMaxLength(kFormulaMaxLength);
    Edit1->installEventFilter(this);

    GroupBox1 = new QGroupBox(QStringLiteral("定数"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(272, 36, 117, 109);
    const char* const constantNames[] = {"a  ", "b  ", "c  ", "d  "};
    LabeledEdit** const fields[] = {&LabeledEdit1, &LabeledEdit2, &LabeledEdit3, &LabeledEdit4};
    for (int i = 0; i < 4; ++i) {
        *fields[i] =
            new LabeledEdit(QStringLiteral("LabeledEdit%1").arg(i + 1),
                            QRect(32, 12 + 24 * i, 53, 20), QString::fromUtf8(constantNames[i]),
                            LabeledEdit::LabelPosition::Left, uiFont(12), GroupBox1);
    }

    createKeys();
    setTag(Label1, 0);
    setTag(this, 0);
    Edit1->setFocus();
}

void TForm2::createKeys() {
    for (const KeyLayout& layout : kKeys) {
        auto* key = new QPushButton(QString::fromUtf8(layout.caption),
                                    layout.inConstants ? static_cast<QWidget*>(GroupBox1) : this);
        key->setObjectName(QString::fromLatin1(layout.name));
        key->setFont(uiFont(12));  // the group style sheet would give buttons the default font
        key->setGeometry(layout.geometry);
        // No key is a default button, so Enter never presses one.
        key->setAutoDefault(false);
        key->setDefault(false);
        this->*layout.member = key;
        connect(key, &QPushButton::clicked, this, layout.handler);
    }
    Button30->setFont(uiFont(11));
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
    // The formula field gets the focus with its caret after the text and nothing selected.
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
    for (std::size_t i = 0; i < 4; ++i)
        variables[i]->setText(QString::fromUtf8(keys.captions[i]));
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

void TForm2::insertCaption(const QPushButton* key) {
    insertToken(key->text());
}

void TForm2::Button1Click() {
    insertCaption(Button1);
}
void TForm2::Button2Click() {
    insertCaption(Button2);
}
void TForm2::Button3Click() {
    insertCaption(Button3);
}
void TForm2::Button4Click() {
    insertCaption(Button4);
}
void TForm2::Button5Click() {
    insertCaption(Button5);
}
void TForm2::Button6Click() {
    insertCaption(Button6);
}
void TForm2::Button7Click() {
    insertCaption(Button7);
}
void TForm2::Button8Click() {
    insertCaption(Button8);
}
void TForm2::Button9Click() {
    insertCaption(Button9);
}
void TForm2::Button10Click() {
    insertCaption(Button10);
}
void TForm2::Button11Click() {
    insertCaption(Button11);
}
void TForm2::Button12Click() {
    insertCaption(Button12);
}
void TForm2::Button13Click() {
    insertCaption(Button13);
}
void TForm2::Button14Click() {
    insertCaption(Button14);
}
void TForm2::Button15Click() {
    insertCaption(Button15);
}
void TForm2::Button16Click() {
    insertCaption(Button16);
}
void TForm2::Button17Click() {
    insertCaption(Button17);
}
void TForm2::Button18Click() {
    insertCaption(Button18);
}
void TForm2::Button19Click() {
    insertCaption(Button19);
}
void TForm2::Button20Click() {
    insertCaption(Button20);
}
void TForm2::Button21Click() {
    insertCaption(Button21);
}
void TForm2::Button22Click() {
    insertToken(QStringLiteral("sin()"));
}
void TForm2::Button23Click() {
    insertToken(QStringLiteral("cos()"));
}
void TForm2::Button24Click() {
    insertToken(QStringLiteral("tan()"));
}
void TForm2::Button25Click() {
    insertToken(QStringLiteral("log()"));
}
void TForm2::Button26Click() {
    insertToken(QStringLiteral("exp()"));
}
void TForm2::Button27Click() {
    insertCaption(Button27);
}
void TForm2::Button28Click() {
    insertCaption(Button28);
}

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

void TForm2::Button32Click() {
    insertToken(QStringLiteral("Σ{n=<>:}"));
}
void TForm2::Button33Click() {
    insertToken(QStringLiteral("n"));
}
void TForm2::Button34Click() {
    insertToken(QStringLiteral("π"));
}
void TForm2::Button35Click() {
    insertToken(QStringLiteral("a"));
}
void TForm2::Button36Click() {
    insertToken(QStringLiteral("b"));
}
void TForm2::Button37Click() {
    insertToken(QStringLiteral("c"));
}
void TForm2::Button38Click() {
    insertToken(QStringLiteral("d"));
}

}  // namespace kurvilo

// SPDX-License-Identifier: MIT
#include "ui/unit6.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>
#include <array>
#include <charconv>
#include <optional>

#include "numbers/integer_text.h"
#include "numbers/separator.h"
#include "picture/png.h"
#include "runfile/command_line.h"
#include "sim/plot_surface.h"
#include "sim/run_settings.h"
#include "sim/tick.h"
#include "ui/Unit1.h"
#include "ui/caption_fit.h"
#include "ui/components.h"
#include "ui/failure_text.h"
#include "ui/fixed_size.h"
#include "ui/formula_marker.h"
#include "ui/formula_worker.h"
#include "ui/picture_file.h"
#include "ui/placement.h"
#include "ui/run_animation.h"
#include "ui/shortcuts.h"
#include "ui/tag.h"
#include "ui/window_style.h"

namespace kurvilo {

namespace {

// What RadioGroup1Click shows for one graph mode.
struct ModeLabels {
    const char* label6;  // first formula
    const char* label7;  // second formula
    const char* labeledEdit12;
    const char* labeledEdit15;
    const char* labeledEdit13;
    const char* labeledEdit16;
    std::array<const char*, 4> listBox2;  // rows 0..3; row 4 is "    t=" in every mode
    bool motion;                          // LabeledEdit12, LabeledEdit13, Edit2 and Button4 enabled
};

// The leading blanks of the ListBox2 rows line the "=" signs up in the window's face.
constexpr std::array<ModeLabels, 4> kModeLabels{{
    {"Ay=", "Ax=", "Vy=", "Vx=", "Y=", "X=", {" Vx=", "   X=", " Vy=", "   Y="}, true},
    {"Ar=", "Aθ=", "Vr=", "Vθ=", "r=", "θ=", {"Vθ=", "  θ=", "  Vr=", "    r="}, true},
    {"Y=", "", "Vy=", "Vx=", "Y=", "X=", {" Vx=", "   X=", " Vy=", "   Y="}, false},
    {"r=", "", "Vr=", "Vθ=", "r=", "θ=", {"Vθ=", "  θ=", "  Vr=", "    r="}, false},
}};

constexpr const char* kTimeRow = "    t=";

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// What a screen reader says for a control, in the window's language: what it is, and where
// there is more to say, what it does.
void speak(QWidget* control, const char* name, const char* description = nullptr) {
    control->setAccessibleName(text(name));
    if (description != nullptr) control->setAccessibleDescription(text(description));
}

// A label as large as its caption, no wider than `room` (up to the control beside it).
QLabel* makeLabel(const char* name, const char* caption, QPoint position, int pixelSize, int room,
                  QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(uiFont(pixelSize));
    label->setMaximumWidth(room);
    label->move(position);
    setCaption(label, text(caption));
    return label;
}

QLabel* makeWhiteLabel(const char* name, const char* caption, QPoint position, int pixelSize,
                       int room, QWidget* parent) {
    QLabel* label = makeLabel(name, caption, position, pixelSize, room, parent);
    paintBlackOnWhite(label);
    return label;
}

// A label of fixed size, bold on white, for a formula's name.
QLabel* makeFormulaLabel(const char* name, const char* caption, const QRect& geometry,
                         QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(uiFont(21, true));
    label->setGeometry(geometry);
    label->setFixedSize(geometry.size());
    paintBlackOnWhite(label);
    setCaption(label, text(caption));
    return label;
}

QLineEdit* makeFormulaEdit(const char* name, const QRect& geometry, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(geometry);
    edit->setFont(fieldFont(16, true));
    edit->setMaxLength(kFormulaMaxLength);
    return edit;
}

QPushButton* makeButton(const char* name, const char* caption, const QRect& geometry,
                        QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    button->setFont(uiFont(12));  // the group style sheet would give buttons the default font
    setCaption(button, text(caption));
    return button;
}

// A group box; its font is its caption's (every control inside has its own).
GroupBox* makeGroupBox(const char* name, const char* caption, const QRect& geometry,
                       QWidget* parent, int captionPixelSize = 12) {
    auto* box = new GroupBox(QString::fromLatin1(name), geometry, parent);
    box->setFont(uiFont(captionPixelSize));
    setCaption(box, text(caption));
    return box;
}

// A drop-down list read only through its selected index, so its text cannot be typed into.
QComboBox* makeComboBox(const char* name, const QStringList& items, int selected, QPoint position,
                        QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setFont(uiFont(12));
    combo->setEditable(false);
    combo->addItems(items);
    combo->setCurrentIndex(selected);
    combo->setGeometry(position.x(), position.y(), 89, 20);
    return combo;
}

QSpinBox* makeSpinEdit(const char* name, const QRect& geometry, int minimum, int maximum, int value,
                       QWidget* parent) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setGeometry(geometry);
    spin->setFont(uiFont(12));
    spin->setRange(minimum, maximum);
    spin->setValue(value);
    return spin;
}

QCheckBox* makeCheckBox(const char* name, const char* caption, const QRect& geometry,
                        QWidget* parent) {
    auto* check = new QCheckBox(parent);
    check->setObjectName(QString::fromLatin1(name));
    check->setGeometry(geometry);
    check->setFont(uiFont(12));
    setCaption(check, text(caption));
    return check;
}

LabeledEdit* makeInitialValue(const char* name, const QRect& geometry, const char* caption,
                              QWidget* parent) {
    auto* edit = new LabeledEdit(QString::fromLatin1(name), geometry, text(caption),
                                 LabeledEdit::LabelPosition::Above, uiFont(16), parent);
    paintBlackOnWhite(edit->editLabel());
    edit->setFont(fieldFont(12));
    edit->setText(QStringLiteral("0"));
    return edit;
}

void assignUtf8(std::string& target, const QString& source) {
    const QByteArray utf8 = source.toUtf8();
    target.assign(utf8.constData(), std::size_t(utf8.size()));
}

void copySpin(const QSpinBox* spin, SpinControl& control) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, spin->value()).ptr;
    control.text.assign(digits, end);
    control.minimum = spin->minimum();
    control.maximum = spin->maximum();
}

void showSpin(const SpinControl& control, QSpinBox* spin) {
    std::int32_t value = 0;
    // An unchanged value is not set again: the spin box would repaint for nothing.
    if (tryParseInteger(control.text, value) && spin->value() != value) spin->setValue(value);
}

// The previous pixel as ListBox3 holds it, when it holds one.
std::optional<QPoint> listedPixel(const std::vector<std::string>& listBox3) {
    std::int32_t x = 0;
    std::int32_t y = 0;
    if (listBox3.size() < 2 || !tryParseInteger(listBox3[0], x) || !tryParseInteger(listBox3[1], y))
        return std::nullopt;
    return QPoint(x, y);
}

// What a segment from `from` to `to` can have painted: their bounding box on the surface. The
// ends may lie anywhere in 32 bits; clamped first so that the box cannot overflow.
QRect segmentArea(QPoint from, QPoint to) {
    const auto clamp = [](int v) { return std::clamp(v, -1, PlotSurface::kSize); };
    const QRect box(
        QPoint(std::min(clamp(from.x()), clamp(to.x())), std::min(clamp(from.y()), clamp(to.y()))),
        QPoint(std::max(clamp(from.x()), clamp(to.x())), std::max(clamp(from.y()), clamp(to.y()))));
    return box & QRect(0, 0, PlotSurface::kSize, PlotSurface::kSize);
}

}  // namespace

TForm1::TForm1(QWidget* parent)
    : QWidget(parent, Qt::Window | kFixedWindowHints),
      model_(std::make_unique<RunModel>()),
      runSaveDialog_([](QFileDialog& dialog) { return dialog.exec() == QDialog::Accepted; }),
      lastSaveName_(QStringLiteral("Default")),
      lastExportName_(QStringLiteral("Default")) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("MainForm"));
    keepFixedSize(this, {777, 410});
    placeWindow(this, kDesignedPlace, kDesignedFrame, kDesignedPlace);
    applyWindowStyle(this);

    createControls();
    worker_ = std::make_unique<FormulaWorker>(Button2, addMainWindowShortcuts(*this));
    PopupMenu1 = addRunActions(*this);
    setAcceptDrops(true);    // a run file dropped anywhere on the window opens
    applyButtonFace(this);   // the controls' disabled text
    fitGroupCaptions(this);  // above the controls they hold
    readLocaleSeparator();
    FormCreate();
}

TForm1::~TForm1() = default;

const PlotSurface& TForm1::surface() const {
    return model_->surface;
}

void TForm1::createControls() {
    createPlotSurface();
    createFormulaGroup();
    createInitialConditionGroup();
    createDrawingSettingsGroup();
    createValueLists();
    createSystemGroup();
    createGraphModeGroup();
    createZoomGroup();
    createMarkerAndTimer();
    connectHandlers();
}

void TForm1::createPlotSurface() {
    Image1 = new SurfaceView(QStringLiteral("Image1"), model_->surface, this);
    Image1->move(4, 4);
    speak(Image1, "軌跡の図",
          "401×401 の描画面。運動の軌跡を黒い線で描き、今の点を赤い丸で示す。描写中は灰色の"
          "格子と黒い座標軸の上に描く");
}

void TForm1::createFormulaGroup() {
    GroupBox1 = makeGroupBox("GroupBox1", "", {408, 4, 361, 89}, this);
    Label6 = makeFormulaLabel("Label6", "Ay=", {12, 20, 37, 21}, GroupBox1);
    Edit1 = makeFormulaEdit("Edit1", {56, 16, 277, 24}, GroupBox1);
    Button3 = makeButton("Button3", "・・・", {332, 20, 21, 21}, GroupBox1);
    Label7 = makeFormulaLabel("Label7", "Ax=", {12, 52, 37, 21}, GroupBox1);
    Edit2 = makeFormulaEdit("Edit2", {56, 48, 277, 24}, GroupBox1);
    Button4 = makeButton("Button4", "・・・", {332, 52, 21, 21}, GroupBox1);
    attachFormulaMarker(Edit1);
    attachFormulaMarker(Edit2);
    speak(GroupBox1, "数式");
    for (QPushButton* opener : {Button3, Button4})
        opener->setAccessibleDescription(text("F4 キーでも開く"));
    nameFormulaControls();
}

void TForm1::createInitialConditionGroup() {
    GroupBox2 = makeGroupBox("GroupBox2", "初期条件(t=0)", {408, 93, 209, 100}, this, 13);
    LabeledEdit12 = makeInitialValue("LabeledEdit12", {12, 33, 85, 21}, "Vy=", GroupBox2);
    LabeledEdit15 = makeInitialValue("LabeledEdit15", {108, 33, 85, 21}, "Vx=", GroupBox2);
    LabeledEdit13 = makeInitialValue("LabeledEdit13", {12, 73, 81, 21}, "Y=", GroupBox2);
    LabeledEdit16 = makeInitialValue("LabeledEdit16", {108, 73, 85, 21}, "X=", GroupBox2);
    for (LabeledEdit* value : {LabeledEdit12, LabeledEdit15, LabeledEdit13, LabeledEdit16})
        attachValueMarker(value, FieldMarker::Field::InitialValue);
    nameInitialValues();
}

void TForm1::createDrawingSettingsGroup() {
    GroupBox3 = makeGroupBox("GroupBox3", "描写設定", {408, 196, 209, 109}, this);
    // Each caption's room reaches to the caption beside it or to the group's edge.
    Label2 = makeWhiteLabel("Label2", "描写速度", {9, 17}, 16, 99, GroupBox3);
    ComboBox1 = makeComboBox("ComboBox1", {"1/1s", "1/10s", "1/100s"}, 2, {8, 37}, GroupBox3);
    Label1 = makeWhiteLabel("Label1", "精度", {109, 17}, 16, 98, GroupBox3);
    ComboBox2 = makeComboBox("ComboBox2", {"1/10", "1/100", "1/1000"}, 1, {108, 37}, GroupBox3);
    Label4 = makeWhiteLabel("Label4", "描写範囲（Ｙ）", {7, 61}, 16, 99, GroupBox3);
    ComboBox3 =
        makeComboBox("ComboBox3", {"-2<Y<2", "-20<Y<20", "-200<Y<200"}, 1, {8, 81}, GroupBox3);
    Label5 = makeWhiteLabel("Label5", "描写範囲（Ｘ）", {107, 61}, 16, 100, GroupBox3);
    ComboBox4 =
        makeComboBox("ComboBox4", {"-2<X<2", "-20<X<20", "-200<X<200"}, 1, {108, 81}, GroupBox3);
    // Qt's bridge to AT-SPI names a combo box by its current item and ignores an accessible
    // name; a reader takes the name from the label tied to it.
    const std::pair<QLabel*, QComboBox*> named[] = {
        {Label2, ComboBox1}, {Label1, ComboBox2}, {Label4, ComboBox3}, {Label5, ComboBox4}};
    for (const auto& [label, combo] : named) {
        label->setBuddy(combo);
        combo->setAccessibleName(label->text());
    }
}

void TForm1::createValueLists() {
    ListBox2 = new ListBox(QStringLiteral("ListBox2"), {408, 308, 33, 65}, this);
    ListBox2->setTexts({" Vx=", "   X=", " Vy=", "   Y=", kTimeRow});
    ListBox1 = new ListBox(QStringLiteral("ListBox1"), {440, 308, 177, 65}, this);
    ListBox3 = new ListBox(QStringLiteral("ListBox3"), {440, 376, 177, 29}, this);
    ListBox3->hide();
    speak(ListBox2, "値の名前");
    speak(ListBox1, "今の値", "各行は左の名前の今の値");
    // A row of values is read with its name: "Vx= -0.05".
    ListBox1->setRowNames(ListBox2);
    speak(ListBox3, "前の点の画素");

    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setFont(uiFont(21));
    Label3->setGeometry(408, 384, 138, 21);
    Label3->setFixedSize(138, 21);
    paintRedText(Label3);
}

void TForm1::createSystemGroup() {
    GroupBox4 = makeGroupBox("GroupBox4", "システム", {620, 96, 149, 77}, this);
    Button1 = makeButton("Button1", "描写開始", {12, 16, 57, 25}, GroupBox4);
    Button2 = makeButton("Button2", "描写中止", {84, 16, 57, 25}, GroupBox4);
    Button16 = makeButton("Button16", "保存", {12, 44, 57, 25}, GroupBox4);
    Button16->setEnabled(false);
    speak(Button1, "描写開始", "F5 または Ctrl+Enter");
    speak(Button2, "描写中止", "Esc");
    speak(Button16, "保存", "Ctrl+S");
}

void TForm1::createGraphModeGroup() {
    RadioGroup1 = new RadioGroup(
        QStringLiteral("RadioGroup1"), {620, 176, 149, 89}, QStringLiteral("グラフ種類"),
        {QStringLiteral("直交座標系運動方程式"), QStringLiteral("極座標系運動方程式"),
         QStringLiteral("直交座標系方程式"), QStringLiteral("極座標系方程式")},
        this);
    RadioGroup1->setFont(uiFont(12));
    for (int i = 0; i < 4; ++i)
        fitCaption(RadioGroup1->item(i));
    RadioGroup1->setItemIndex(0);
}

void TForm1::createZoomGroup() {
    GroupBox5 = makeGroupBox("GroupBox5", "定点拡大", {620, 264, 150, 145}, this);
    // Each caption's room reaches to the control beside it or to the group's edge.
    Label8 = makeLabel("Label8", "X軸", {8, 16}, 16, 39, GroupBox5);
    CheckBox1 = makeCheckBox("CheckBox1", "有効", {48, 16, 49, 17}, GroupBox5);
    Label12 = makeLabel("Label12", "中心点", {8, 40}, 12, 79, GroupBox5);
    Label13 = makeLabel("Label13", "描写範囲", {88, 40}, 12, 60, GroupBox5);
    SpinEdit1 = makeSpinEdit("SpinEdit1", {8, 52, 49, 21}, -200, 200, 0, GroupBox5);
    Label11 = makeLabel("Label11", "±", {72, 56}, 12, 15, GroupBox5);
    SpinEdit2 = makeSpinEdit("SpinEdit2", {88, 52, 49, 21}, 1, 100, 1, GroupBox5);
    Label9 = makeLabel("Label9", "Y軸", {8, 80}, 16, 39, GroupBox5);
    CheckBox2 = makeCheckBox("CheckBox2", "有効", {48, 80, 57, 17}, GroupBox5);
    Label14 = makeLabel("Label14", "中心点", {8, 104}, 12, 79, GroupBox5);
    Label15 = makeLabel("Label15", "描写範囲", {88, 104}, 12, 60, GroupBox5);
    SpinEdit3 = makeSpinEdit("SpinEdit3", {8, 116, 49, 21}, -200, 200, 0, GroupBox5);
    Label10 = makeLabel("Label10", "±", {72, 120}, 12, 15, GroupBox5);
    SpinEdit4 = makeSpinEdit("SpinEdit4", {88, 116, 49, 21}, 1, 100, 1, GroupBox5);
    speak(CheckBox1, "X軸 有効", "X軸を中心点と描写範囲で描く");
    speak(SpinEdit1, "X軸 中心点");
    speak(SpinEdit2, "X軸 描写範囲（±）");
    speak(CheckBox2, "Y軸 有効", "Y軸を中心点と描写範囲で描く");
    speak(SpinEdit3, "Y軸 中心点");
    speak(SpinEdit4, "Y軸 描写範囲（±）");
}

void TForm1::createMarkerAndTimer() {
    // The marker is made last so that it stays above the surface.
    Shape1 = new ShapeCircle(QStringLiteral("Shape1"), {200, 200, 8, 8}, this);
    Shape1->hide();
    speak(Shape1, "今の点");

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(100);
    setTag(Timer1, static_cast<int>(RunPhase::Fresh));
}

void TForm1::connectHandlers() {
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(Button16, &QPushButton::clicked, this, &TForm1::Button16Click);
    connect(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm1::Button4Click);
    connect(RadioGroup1, &RadioGroup::clicked, this, &TForm1::RadioGroup1Click);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
}

void TForm1::readLocaleSeparator() {
    setDecimalSeparator(separatorFromLocaleSymbol(QLocale().decimalPoint().toStdString()));
    refreshMarkers(this);  // the value fields expect the new separator
}

void TForm1::changeEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::LocaleChange:
            // The separator is the whole program's: never changed under a running evaluation.
            if (inTick_) {
                localeChangePending_ = true;
            } else {
                readLocaleSeparator();
            }
            break;
        case QEvent::PaletteChange:
            applyButtonFace(this);
            break;
        default:
            break;
    }
    QWidget::changeEvent(event);
}

void TForm1::closeEvent(QCloseEvent* event) {
    // A tick waiting for its formulas ends at once, and the program with it.
    if (inTick_) worker_->cancel();
    QWidget::closeEvent(event);
}

void TForm1::FormCreate() {
    paintStartupFrame(model_->surface);
    Image1->update();
}

void TForm1::Button1Click() {
    copyIn();
    startAction(*model_);
    copyOut();
    // The run file of what this run draws: the settings as the start action left them.
    runSettings_ = settingsOf(*model_, decimalSeparator());
    runChanged_ = false;
}

void TForm1::Button2Click() {
    // During a tick the run stops as the tick ends: its evaluation is cancelled, and should it
    // have ended already, the stop follows the tick.
    if (inTick_) {
        worker_->cancel();
        stopRequested_ = true;
        return;
    }
    copyIn();
    stopAction(*model_);
    copyOut();
}

void TForm1::Timer1Timer() {
    // A tick that arrives while another waits for its formulas is dropped, as the timer drops
    // the ticks it misses.
    if (inTick_) return;
    inTick_ = true;
    copyTickInputs();
    const RunPhase phaseBefore = model_->timer1.tag;
    const std::string label3Before = model_->label3;
    const std::optional<QPoint> from = listedPixel(model_->listBox3);
    const bool succeeded = kurvilo::Timer1Timer(*model_, worker_.get());
    inTick_ = false;

    // The picture: the new segment where the run is drawing, all of it otherwise.
    const std::optional<QPoint> to = listedPixel(model_->listBox3);
    if (succeeded && phaseBefore == RunPhase::Drawing && from && to) {
        Image1->update(segmentArea(*from, *to));
    } else {
        Image1->update();
    }
    showTick(succeeded, label3Before);

    if (localeChangePending_) {
        localeChangePending_ = false;
        readLocaleSeparator();
    }
    if (stopRequested_) {
        stopRequested_ = false;
        if (Timer1->isActive()) Button2Click();
    }
}

void TForm1::RadioGroup1Click() {
    const int mode = RadioGroup1->itemIndex();
    if (mode >= 0 && mode < int(kModeLabels.size())) {
        const ModeLabels& labels = kModeLabels[std::size_t(mode)];
        setCaption(Label6, text(labels.label6));
        setCaption(Label7, text(labels.label7));
        LabeledEdit12->setCaption(text(labels.labeledEdit12));
        LabeledEdit15->setCaption(text(labels.labeledEdit15));
        LabeledEdit13->setCaption(text(labels.labeledEdit13));
        LabeledEdit16->setCaption(text(labels.labeledEdit16));
        ListBox2->setTexts({labels.listBox2[0], labels.listBox2[1], labels.listBox2[2],
                            labels.listBox2[3], kTimeRow});
        LabeledEdit12->setEnabled(labels.motion);
        LabeledEdit13->setEnabled(labels.motion);
        Edit2->setEnabled(labels.motion);
        Button4->setEnabled(labels.motion);
        nameFormulaControls();
        nameInitialValues();
    }
    Edit1->clear();
    Edit2->clear();
}

// The formula fields and their keypad buttons are named after the formula's label: "Ay= の数式".
void TForm1::nameFormulaControls() {
    const std::pair<const QLabel*, std::pair<QLineEdit*, QPushButton*>> formulas[] = {
        {Label6, {Edit1, Button3}}, {Label7, {Edit2, Button4}}};
    for (const auto& [label, controls] : formulas) {
        // In the curve modes the second formula has no label and no use.
        const QString formula =
            label->text().isEmpty() ? text("使わない2番目の式") : label->text() + text(" の数式");
        controls.first->setAccessibleName(formula);
        controls.second->setAccessibleName(label->text().isEmpty()
                                               ? formula + text("を数式パッドで入力")
                                               : label->text() + text(" を数式パッドで入力"));
    }
}

void TForm1::nameInitialValues() {
    for (LabeledEdit* value : {LabeledEdit12, LabeledEdit15, LabeledEdit13, LabeledEdit16})
        value->setAccessibleName(value->editLabel()->text() + text(" の初期値"));
}

void TForm1::Button3Click() {
    openKeypad(Edit1, 0, Label6);
}

void TForm1::Button4Click() {
    openKeypad(Edit2, 1, Label7);
}

void TForm1::openKeypad(const QLineEdit* formula, int target, const QLabel* formulaLabel) {
    if (keypad_ == nullptr) return;
    keypad_->Edit1->setText(formula->text());
    setTag(keypad_->Label1, target);
    setCaption(keypad_->Label1, formulaLabel->text());
    setTag(keypad_, RadioGroup1->itemIndex());
    keypad_->exec();
}

QFileDialog& TForm1::saveDialog() {
    if (SaveDialog1 == nullptr) {
        SaveDialog1 =
            &fileDialog("SaveDialog1", "名前を付けて保存", true, "ビットマップ(*.bmp)", "bmp");
    }
    return *SaveDialog1;
}

void TForm1::Button16Click() {
    const QString fileName = chooseFile(saveDialog(), lastSaveName_);
    if (fileName.isEmpty()) return;
    if (const QString failure = savePicture(Image1->image(), fileName); !failure.isEmpty())
        showFailure(failure);
}

void TForm1::copyTickInputs() {
    RunModel& m = *model_;
    m.graphMode = RadioGroup1->itemIndex();
    assignUtf8(m.edit1, Edit1->text());
    assignUtf8(m.edit2, Edit2->text());
    // The initial values are read only until the start pixel is known.
    if (tagOf(Timer1) != static_cast<int>(RunPhase::Drawing)) {
        assignUtf8(m.labeledEdit12, LabeledEdit12->text());
        assignUtf8(m.labeledEdit13, LabeledEdit13->text());
        assignUtf8(m.labeledEdit15, LabeledEdit15->text());
        assignUtf8(m.labeledEdit16, LabeledEdit16->text());
    }
    m.comboBox1 = ComboBox1->currentIndex();
    m.comboBox2 = ComboBox2->currentIndex();
    m.comboBox3 = ComboBox3->currentIndex();
    m.comboBox4 = ComboBox4->currentIndex();
    m.checkBox1 = CheckBox1->isChecked();
    m.checkBox2 = CheckBox2->isChecked();
    copySpin(SpinEdit1, m.spinEdit1);
    copySpin(SpinEdit2, m.spinEdit2);
    copySpin(SpinEdit3, m.spinEdit3);
    copySpin(SpinEdit4, m.spinEdit4);
    if (keypad_ != nullptr) {
        for (std::size_t i = 0; i < m.constants.size(); ++i)
            assignUtf8(m.constants[i], keypad_->constantField(int(i))->text());
    }
    m.listBox1 = ListBox1->texts();
    m.listBox3 = ListBox3->texts();
    m.shape1 = {!Shape1->isHidden(), Shape1->x(), Shape1->y()};
    m.timer1 = {static_cast<RunPhase>(tagOf(Timer1)), Timer1->interval(), Timer1->isActive()};
}

void TForm1::copyIn() {
    copyTickInputs();
    RunModel& m = *model_;
    assignUtf8(m.labeledEdit12, LabeledEdit12->text());
    assignUtf8(m.labeledEdit13, LabeledEdit13->text());
    assignUtf8(m.labeledEdit15, LabeledEdit15->text());
    assignUtf8(m.labeledEdit16, LabeledEdit16->text());
    assignUtf8(m.label3, Label3->text());
    m.settingsEnabled = Button1->isEnabled();
    m.button16Enabled = Button16->isEnabled();
}

void TForm1::showTick(bool succeeded, const std::string& label3Before) {
    const RunModel& m = *model_;
    ListBox1->setTexts(m.listBox1);
    ListBox3->setTexts(m.listBox3);
    Shape1->move(m.shape1.left, m.shape1.top);
    Shape1->setVisible(m.shape1.visible);
    // A tick changes the status, the settings and the save button only when it fails.
    if (!succeeded || m.label3 != label3Before) {
        showStatus();
        for (QWidget* setting : std::initializer_list<QWidget*>{GroupBox1, GroupBox2, GroupBox3,
                                                                GroupBox5, RadioGroup1, Button1})
            setting->setEnabled(m.settingsEnabled);
        Button16->setEnabled(m.button16Enabled);
    }
    showTimer();
}

void TForm1::copyOut() {
    const RunModel& m = *model_;
    ListBox1->setTexts(m.listBox1);
    ListBox3->setTexts(m.listBox3);
    Image1->update();
    Shape1->move(m.shape1.left, m.shape1.top);
    Shape1->setVisible(m.shape1.visible);
    showStatus();

    for (QWidget* setting : std::initializer_list<QWidget*>{GroupBox1, GroupBox2, GroupBox3,
                                                            GroupBox5, RadioGroup1, Button1})
        setting->setEnabled(m.settingsEnabled);
    Button16->setEnabled(m.button16Enabled);
    showSpin(m.spinEdit1, SpinEdit1);
    showSpin(m.spinEdit3, SpinEdit3);
    showTimer();
}

void TForm1::showTimer() {
    const RunModel& m = *model_;
    setTag(Timer1, static_cast<int>(m.timer1.tag));
    if (Timer1->interval() != m.timer1.interval) Timer1->setInterval(m.timer1.interval);
    if (m.timer1.enabled && !Timer1->isActive()) Timer1->start();
    if (!m.timer1.enabled && Timer1->isActive()) Timer1->stop();
}

// Label3 and, while it shows "エラー", why: a sentence, the failure's kind and message, tick and t.
void TForm1::showStatus() {
    const RunModel& m = *model_;
    const QString status = QString::fromStdString(m.label3);
    if (Label3->text() != status) setCaption(Label3, status);
    QString detail;
    if (m.label3 == "エラー" && m.lastFailure) detail = failureDetail(*m.lastFailure);
    if (Label3->accessibleDescription() != detail) {
        // Shown as written, even where a formula's text looks like markup.
        Label3->setToolTip(Qt::mightBeRichText(detail) ? Qt::convertFromPlainText(detail) : detail);
        Label3->setAccessibleDescription(detail);
    }
}

// ---- The run as a document -------------------------------------------------------------------

namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// The one-line message of a file that could not be opened.
QString refusal(const RunFileError& error) {
    return QStringLiteral("実行ファイルを開けませんでした: %1").arg(fromUtf8(error.message()));
}

}  // namespace

bool TForm1::canOpenRunFile() const {
    return !Timer1->isActive() && !inTick_;
}

bool TForm1::canResume() const {
    // After "描写中止" (or a tick that was cancelled), not after "エラー": a failed tick would
    // only fail again.
    return runSettings_.has_value() && !Timer1->isActive() && !inTick_ && Label3->text().isEmpty();
}

bool TForm1::canExportAnimation() const {
    return !Timer1->isActive() && !inTick_ && pictureIsOfTheRun() && model_->tickCount > 0;
}

bool TForm1::pictureIsOfTheRun() const {
    return runSettings_.has_value() && !runChanged_;
}

void TForm1::showFailure(const QString& message) {
    QMessageBox::critical(this, QCoreApplication::applicationName(), message);
}

QString TForm1::openRunFile(const QString& fileName) {
    if (!canOpenRunFile()) return QStringLiteral("描写中は実行ファイルを開けません。");
    // "-" is a file here, not standard input.
    const QString path = fileName == QStringLiteral("-") ? QStringLiteral("./-") : fileName;
    const RunFileRead read = loadRunFile(QFile::encodeName(path).toStdString(),
                                         QDir::toNativeSeparators(fileName).toStdString());
    if (!read.file) return refusal(read.error);
    const RunFile& file = *read.file;
    const RunSettings& s = file.settings;
    // A text longer than its field holds would be cut short: the run would not be the file's.
    const std::pair<const std::string*, const char*> texts[] = {
        {&s.firstFormula, "the first formula"},    {&s.secondFormula, "the second formula"},
        {&s.initialValues[0], "an initial value"}, {&s.initialValues[1], "an initial value"},
        {&s.initialValues[2], "an initial value"}, {&s.initialValues[3], "an initial value"},
        {&s.constants[0], "the constant a"},       {&s.constants[1], "the constant b"},
        {&s.constants[2], "the constant c"},       {&s.constants[3], "the constant d"}};
    for (const auto& [text, what] : texts) {
        if (fromUtf8(*text).size() > kFormulaMaxLength) {
            return refusal({QDir::toNativeSeparators(fileName).toStdString(), 0,
                            std::string(what) + " is longer than its field holds (" +
                                std::to_string(kFormulaMaxLength) + " characters)"});
        }
    }
    // The texts are read with the separator they were written with, until the locale changes.
    setDecimalSeparator(s.separator);
    refreshMarkers(this);
    showSettings(s);
    // The picture stays the shown run's; a run that goes on from here with other settings is
    // noted when it does.
    opened_ = file;
    return {};
}

void TForm1::showSettings(const RunSettings& s) {
    RadioGroup1->setItemIndex(s.graphMode);
    RadioGroup1Click();  // the labels of the mode; the formulas cleared
    Edit1->setText(fromUtf8(s.firstFormula));
    Edit2->setText(fromUtf8(s.secondFormula));
    LabeledEdit15->setText(fromUtf8(s.initialValues[0]));
    LabeledEdit16->setText(fromUtf8(s.initialValues[1]));
    LabeledEdit12->setText(fromUtf8(s.initialValues[2]));
    LabeledEdit13->setText(fromUtf8(s.initialValues[3]));
    ComboBox1->setCurrentIndex(s.drawingSpeed);
    ComboBox2->setCurrentIndex(s.timeStep);
    ComboBox3->setCurrentIndex(s.viewRangeY);
    ComboBox4->setCurrentIndex(s.viewRangeX);
    CheckBox1->setChecked(s.zoomX.on);
    SpinEdit1->setValue(s.zoomX.centre);
    SpinEdit2->setValue(s.zoomX.halfWidth);
    CheckBox2->setChecked(s.zoomY.on);
    SpinEdit3->setValue(s.zoomY.centre);
    SpinEdit4->setValue(s.zoomY.halfWidth);
    if (keypad_ != nullptr) {
        for (int i = 0; i < 4; ++i)
            keypad_->constantField(i)->setText(fromUtf8(s.constants[std::size_t(i)]));
    }
}

void TForm1::noteChangedSettings() {
    if (!runSettings_ || runChanged_) return;
    copyIn();
    RunSettings now = settingsOf(*model_, decimalSeparator());
    // Once the start pixel is known, no tick reads the initial values again.
    if (model_->timer1.tag == RunPhase::Drawing) now.initialValues = runSettings_->initialValues;
    if (now != *runSettings_) runChanged_ = true;
}

RunFile TForm1::currentRunFile() {
    copyIn();
    RunFile file;
    file.settings = settingsOf(*model_, decimalSeparator());
    if (opened_) {
        file.title = opened_->title;
        file.note = opened_->note;
    }
    if (pictureIsOfTheRun() && file.settings == *runSettings_) {
        file.ticks = model_->tickCount;
    } else if (opened_ && file.settings == opened_->settings) {
        file.ticks = opened_->ticks;
    }
    return file;
}

RunFile TForm1::pictureRunFile() {
    RunFile file = currentRunFile();
    if (pictureIsOfTheRun()) {
        file.settings = *runSettings_;
        file.ticks = model_->tickCount;
    } else {
        file.ticks.reset();
    }
    return file;
}

QFileDialog& TForm1::fileDialog(const char* name, const char* title, bool save, const char* filter,
                                const char* suffix) {
    if (auto* made = findChild<QFileDialog*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly))
        return *made;
    auto* dialog = new QFileDialog(this);
    dialog->setObjectName(QString::fromLatin1(name));
    // Qt's own dialog, in Japanese like the window, whatever the session's language: a
    // desktop's native one would speak that language beside the program's Japanese.
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setWindowTitle(text(title));
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog->setNameFilter(text(filter));
    if (suffix != nullptr) dialog->setDefaultSuffix(QString::fromLatin1(suffix));
    dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog->setSizeGripEnabled(true);
    return *dialog;
}

QString TForm1::chooseFile(QFileDialog& dialog, QString& last) {
    if (!last.isEmpty()) dialog.selectFile(last);
    if (!runSaveDialog_(dialog)) return {};
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return {};
    last = chosen.first();
    return last;
}

void TForm1::openRunFileChosen() {
    if (!canOpenRunFile()) return;
    QFileDialog& dialog =
        fileDialog("OpenDialog1", "実行ファイルを開く", false,
                   "実行ファイル・PNG 画像(*.kurvilo *.png);;すべてのファイル(*)", nullptr);
    const QString fileName = chooseFile(dialog, lastRunFileName_);
    if (fileName.isEmpty()) return;
    if (const QString failure = openRunFile(fileName); !failure.isEmpty()) showFailure(failure);
}

bool TForm1::writable(const RunFile& file) {
    const std::string problem = runFileProblem(file);
    if (!problem.empty())
        showFailure(QStringLiteral("実行ファイルに書けない設定です: %1").arg(fromUtf8(problem)));
    return problem.empty();
}

void TForm1::saveRunFileChosen() {
    const RunFile file = currentRunFile();
    if (!writable(file)) return;
    QFileDialog& dialog = fileDialog("SaveRunDialog1", "実行ファイルとして保存", true,
                                     "実行ファイル(*.kurvilo)", "kurvilo");
    const QString fileName = chooseFile(dialog, lastRunFileName_);
    if (fileName.isEmpty()) return;
    const std::string bytes = formatRunFile(file);
    const QString failure = saveFile(fileName, [&](ByteSink& sink) {
        sink.write(bytes);
        return std::string();
    });
    if (!failure.isEmpty()) showFailure(failure);
}

void TForm1::exportPngChosen() {
    if (Timer1->isActive() || inTick_) return;
    const RunFile file = pictureRunFile();
    if (!writable(file)) return;
    QFileDialog& dialog =
        fileDialog("ExportPngDialog1", "PNG で書き出し", true, "PNG 画像(*.png)", "png");
    const QString fileName = chooseFile(dialog, lastExportName_);
    if (fileName.isEmpty()) return;
    const std::vector<PngText> texts{{std::string(kPngRunFileKey), formatRunFile(file)}};
    const QString failure = saveFile(fileName, [&](ByteSink& sink) {
        std::string cause;
        writePng(surfaceView(model_->surface), sink, cause, texts);
        return cause;
    });
    if (!failure.isEmpty()) showFailure(failure);
}

QString TForm1::exportGif(const QString& fileName) {
    if (!canExportAnimation()) return {};
    const std::uint64_t ticks = model_->tickCount;
    QProgressDialog progress(QStringLiteral("GIF アニメを書き出しています…"),
                             QStringLiteral("キャンセル"), 0, 1000, this);
    progress.setObjectName(QStringLiteral("GifProgress1"));
    progress.setWindowTitle(QCoreApplication::applicationName());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setAccessibleName(QStringLiteral("GIF アニメの書き出しの進み具合"));
    // The run is made again with the separator it ran with.
    const char32_t separator = decimalSeparator();
    setDecimalSeparator(runSettings_->separator);
    bool cancelled = false;
    const QString failure = saveFile(fileName, [&](ByteSink& sink) {
        std::string error;
        const AnimationEnd end =
            writeRunAnimation(*runSettings_, ticks, sink, error, [&](std::uint64_t done) {
                const int value = int(done * 1000 / ticks);
                if (value != progress.value()) progress.setValue(value);
                return !progress.wasCanceled();
            });
        if (end == AnimationEnd::Cancelled) {
            cancelled = true;
            return std::string("cancelled");
        }
        return error;
    });
    setDecimalSeparator(separator);
    return cancelled ? QString() : failure;
}

void TForm1::exportGifChosen() {
    if (!canExportAnimation()) return;
    QFileDialog& dialog =
        fileDialog("ExportGifDialog1", "GIF アニメで書き出し", true, "GIF 画像(*.gif)", "gif");
    const QString fileName = chooseFile(dialog, lastExportName_);
    if (fileName.isEmpty()) return;
    if (const QString failure = exportGif(fileName); !failure.isEmpty()) showFailure(failure);
}

QString TForm1::commandLine() {
    const std::optional<std::string> line = runCommandLine(currentRunFile(), {});
    return line ? fromUtf8(*line) : QString();
}

void TForm1::copyCommand() {
    const QString line = commandLine();
    if (!line.isEmpty()) QApplication::clipboard()->setText(line);
}

void TForm1::resumeRun() {
    if (!canResume()) return;
    noteChangedSettings();
    copyIn();
    resumeAction(*model_);
    copyOut();
}

void TForm1::stepRun() {
    if (!canResume()) return;
    noteChangedSettings();
    Timer1Timer();
}

void TForm1::contextMenuEvent(QContextMenuEvent* event) {
    PopupMenu1->popup(event->globalPos());
    event->accept();
}

namespace {

// The one local file a drag carries, or none.
QString draggedFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) return {};
    const QUrl url = data->urls().first();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

}  // namespace

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (canOpenRunFile() && !draggedFile(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void TForm1::dropEvent(QDropEvent* event) {
    const QString fileName = draggedFile(event->mimeData());
    if (fileName.isEmpty() || !canOpenRunFile()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // Shown once the drop is over: the source's drag ends first.
    QTimer::singleShot(0, this, [this, fileName] {
        if (const QString failure = openRunFile(fileName); !failure.isEmpty()) showFailure(failure);
    });
}

}  // namespace kurvilo

#include "ui/unit6.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <array>

#include "numbers/separator.h"
#include "sim/plot_surface.h"
#include "sim/tick.h"
#include "ui/Unit1.h"
#include "ui/components.h"

namespace kurvilo {

namespace {

constexpr Qt::WindowFlags kFixedWindowFlags = Qt::Window | Qt::CustomizeWindowHint |
                                              Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                              Qt::WindowCloseButtonHint;

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

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QLabel* makeLabel(const QString& name, const QString& caption, QPoint position, int pixelSize,
                  bool bold, bool whiteBackground, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setFont(uiFont(pixelSize, bold));
    if (whiteBackground) paintWhiteBackground(label);
    label->adjustSize();
    label->move(position);
    return label;
}

QLabel* makeFixedLabel(const QString& name, const QString& caption, const QRect& geometry,
                       int pixelSize, bool bold, bool whiteBackground, QWidget* parent) {
    QLabel* label =
        makeLabel(name, caption, geometry.topLeft(), pixelSize, bold, whiteBackground, parent);
    label->setFixedSize(geometry.size());
    return label;
}

QPushButton* makeButton(const QString& name, const QString& caption, const QRect& geometry,
                        QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    button->setFont(uiFont(12));  // the group style sheet would give buttons the default font
    return button;
}

// The "・・・" buttons are narrower than their caption set in the face's full-width dots: draw the
// dots closer together so all three show.
void fitCaption(QPushButton* button) {
    QFont font = button->font();
    constexpr int kRoom = 12;
    const int width = QFontMetrics(font).horizontalAdvance(button->text());
    const int letters = int(button->text().size());
    if (width > kRoom && letters > 0) {
        font.setLetterSpacing(QFont::AbsoluteSpacing, -qreal(width - kRoom) / letters);
        button->setFont(font);
    }
}

QGroupBox* makeGroupBox(const QString& name, const QString& caption, const QRect& geometry,
                        QWidget* parent, int captionPixelSize = 12) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    box->setGeometry(geometry);
    box->setFont(uiFont(captionPixelSize));
    return box;
}

// A drop-down list read only through its selected index, so its text cannot be typed into.
QComboBox* makeComboBox(const QString& name, const QStringList& items, int selected,
                        QPoint position, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(false);
    combo->addItems(items);
    combo->setCurrentIndex(selected);
    combo->setGeometry(position.x(), position.y(), 89, 20);
    return combo;
}

QSpinBox* makeSpinEdit(const QString& name, const QRect& geometry, int minimum, int maximum,
                       int value, QWidget* parent) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setGeometry(geometry);
    spin->setRange(minimum, maximum);
    spin->setValue(value);
    return spin;
}

QCheckBox* makeCheckBox(const QString& name, const QString& caption, const QRect& geometry,
                        QWidget* parent) {
    auto* check = new QCheckBox(caption, parent);
    check->setObjectName(name);
    check->setGeometry(geometry);
    return check;
}

LabeledEdit* makeInitialValue(const QString& name, const QRect& geometry, const QString& caption,
                              QWidget* parent) {
    auto* edit = new LabeledEdit(name, geometry, caption, LabeledEdit::LabelPosition::Above,
                                 uiFont(16), parent);
    paintWhiteBackground(edit->editLabel());
    edit->setFont(uiFont(12));
    edit->setText(QStringLiteral("0"));
    return edit;
}

void copySpin(const QSpinBox* spin, SpinControl& control) {
    control.text = QString::number(spin->value()).toStdString();
    control.minimum = spin->minimum();
    control.maximum = spin->maximum();
}

void showSpin(const SpinControl& control, QSpinBox* spin) {
    bool ok = false;
    const int value = QString::fromStdString(control.text).toInt(&ok);
    if (ok) spin->setValue(value);
}

}  // namespace

TForm1::TForm1(QWidget* parent)
    : QWidget(parent, kFixedWindowFlags),
      model_(std::make_unique<RunModel>()),
      runSaveDialog_([](QFileDialog& dialog) { return dialog.exec() == QDialog::Accepted; }),
      lastSaveName_(QStringLiteral("Default")) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("MainForm"));
    setFixedSize(777, 410);
    move(328, 207);
    setFont(uiFont(12));
    QPalette buttonFace = palette();
    buttonFace.setColor(QPalette::Window, buttonFace.color(QPalette::Button));
    setPalette(buttonFace);
    setAutoFillBackground(true);
    // Group captions sit on the frame line, so the controls fit at their places below it.
    setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }"
        "QPushButton { padding: 0px; }"));

    createControls();
    readLocaleSeparator();
    FormCreate();
}

TForm1::~TForm1() = default;

const PlotSurface& TForm1::surface() const {
    return model_->surface;
}

void TForm1::createControls() {
    Image1 = new SurfaceView(QStringLiteral("Image1"), model_->surface, this);
    Image1->move(4, 4);

    GroupBox1 = makeGroupBox(QStringLiteral("GroupBox1"), QString(), {408, 4, 361, 89}, this);
    Label6 = makeFixedLabel(QStringLiteral("Label6"), QStringLiteral("Ay="), {12, 20, 37, 21}, 21,
                            true, true, GroupBox1);
    Edit1 = new QLineEdit(GroupBox1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(56, 16, 277, 24);
    Edit1->setFont(uiFont(16, true));
    Edit1->setMaxLength(kFormulaMaxLength);
    Button3 = makeButton(QStringLiteral("Button3"), QStringLiteral("・・・"), {332, 20, 21, 21},
                         GroupBox1);
    fitCaption(Button3);
    Label7 = makeFixedLabel(QStringLiteral("Label7"), QStringLiteral("Ax="), {12, 52, 37, 21}, 21,
                            true, true, GroupBox1);
    Edit2 = new QLineEdit(GroupBox1);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(56, 48, 277, 24);
    Edit2->setFont(uiFont(16, true));
    Edit2->setMaxLength(kFormulaMaxLength);
    Button4 = makeButton(QStringLiteral("Button4"), QStringLiteral("・・・"), {332, 52, 21, 21},
                         GroupBox1);
    fitCaption(Button4);

    GroupBox2 = makeGroupBox(QStringLiteral("GroupBox2"), QStringLiteral("初期条件(t=0)"),
                             {408, 93, 209, 100}, this, 13);
    LabeledEdit12 = makeInitialValue(QStringLiteral("LabeledEdit12"), {12, 33, 85, 21},
                                     QStringLiteral("Vy="), GroupBox2);
    LabeledEdit15 = makeInitialValue(QStringLiteral("LabeledEdit15"), {108, 33, 85, 21},
                                     QStringLiteral("Vx="), GroupBox2);
    LabeledEdit13 = makeInitialValue(QStringLiteral("LabeledEdit13"), {12, 73, 81, 21},
                                     QStringLiteral("Y="), GroupBox2);
    LabeledEdit16 = makeInitialValue(QStringLiteral("LabeledEdit16"), {108, 73, 85, 21},
                                     QStringLiteral("X="), GroupBox2);

    GroupBox3 = makeGroupBox(QStringLiteral("GroupBox3"), QStringLiteral("描写設定"),
                             {408, 196, 209, 109}, this);
    Label2 = makeLabel(QStringLiteral("Label2"), QStringLiteral("描写速度"), {9, 17}, 16, false,
                       true, GroupBox3);
    ComboBox1 = makeComboBox(QStringLiteral("ComboBox1"), {"1/1s", "1/10s", "1/100s"}, 2, {8, 37},
                             GroupBox3);
    Label1 = makeLabel(QStringLiteral("Label1"), QStringLiteral("精度"), {109, 17}, 16, false, true,
                       GroupBox3);
    ComboBox2 = makeComboBox(QStringLiteral("ComboBox2"), {"1/10", "1/100", "1/1000"}, 1, {108, 37},
                             GroupBox3);
    Label4 = makeLabel(QStringLiteral("Label4"), QStringLiteral("描写範囲（Ｙ）"), {7, 61}, 16,
                       false, true, GroupBox3);
    ComboBox3 = makeComboBox(QStringLiteral("ComboBox3"), {"-2<Y<2", "-20<Y<20", "-200<Y<200"}, 1,
                             {8, 81}, GroupBox3);
    Label5 = makeLabel(QStringLiteral("Label5"), QStringLiteral("描写範囲（Ｘ）"), {107, 61}, 16,
                       false, true, GroupBox3);
    ComboBox4 = makeComboBox(QStringLiteral("ComboBox4"), {"-2<X<2", "-20<X<20", "-200<X<200"}, 1,
                             {108, 81}, GroupBox3);

    ListBox2 = new ListBox(QStringLiteral("ListBox2"), {408, 308, 33, 65}, this);
    ListBox2->setTexts({" Vx=", "   X=", " Vy=", "   Y=", "    t="});
    ListBox1 = new ListBox(QStringLiteral("ListBox1"), {440, 308, 177, 65}, this);
    ListBox3 = new ListBox(QStringLiteral("ListBox3"), {440, 376, 177, 29}, this);
    ListBox3->hide();

    Label3 = makeFixedLabel(QStringLiteral("Label3"), QString(), {408, 384, 138, 21}, 21, false,
                            false, this);
    QPalette red = Label3->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Label3->setPalette(red);

    GroupBox4 = makeGroupBox(QStringLiteral("GroupBox4"), QStringLiteral("システム"),
                             {620, 96, 149, 77}, this);
    Button1 = makeButton(QStringLiteral("Button1"), QStringLiteral("描写開始"), {12, 16, 57, 25},
                         GroupBox4);
    Button2 = makeButton(QStringLiteral("Button2"), QStringLiteral("描写中止"), {84, 16, 57, 25},
                         GroupBox4);
    Button16 =
        makeButton(QStringLiteral("Button16"), QStringLiteral("保存"), {12, 44, 57, 25}, GroupBox4);
    Button16->setEnabled(false);

    RadioGroup1 = new RadioGroup(
        QStringLiteral("RadioGroup1"), {620, 176, 149, 89}, QStringLiteral("グラフ種類"),
        {QStringLiteral("直交座標系運動方程式"), QStringLiteral("極座標系運動方程式"),
         QStringLiteral("直交座標系方程式"), QStringLiteral("極座標系方程式")},
        this);
    RadioGroup1->setItemIndex(0);

    GroupBox5 = makeGroupBox(QStringLiteral("GroupBox5"), QStringLiteral("定点拡大"),
                             {620, 264, 150, 145}, this);
    Label8 = makeLabel(QStringLiteral("Label8"), QStringLiteral("X軸"), {8, 16}, 16, false, false,
                       GroupBox5);
    CheckBox1 = makeCheckBox(QStringLiteral("CheckBox1"), QStringLiteral("有効"), {48, 16, 49, 17},
                             GroupBox5);
    Label12 = makeLabel(QStringLiteral("Label12"), QStringLiteral("中心点"), {8, 40}, 12, false,
                        false, GroupBox5);
    Label13 = makeLabel(QStringLiteral("Label13"), QStringLiteral("描写範囲"), {88, 40}, 12, false,
                        false, GroupBox5);
    SpinEdit1 = makeSpinEdit(QStringLiteral("SpinEdit1"), {8, 52, 49, 21}, -200, 200, 0, GroupBox5);
    Label11 = makeLabel(QStringLiteral("Label11"), QStringLiteral("±"), {72, 56}, 12, false, false,
                        GroupBox5);
    SpinEdit2 = makeSpinEdit(QStringLiteral("SpinEdit2"), {88, 52, 49, 21}, 1, 100, 1, GroupBox5);
    Label9 = makeLabel(QStringLiteral("Label9"), QStringLiteral("Y軸"), {8, 80}, 16, false, false,
                       GroupBox5);
    CheckBox2 = makeCheckBox(QStringLiteral("CheckBox2"), QStringLiteral("有効"), {48, 80, 57, 17},
                             GroupBox5);
    Label14 = makeLabel(QStringLiteral("Label14"), QStringLiteral("中心点"), {8, 104}, 12, false,
                        false, GroupBox5);
    Label15 = makeLabel(QStringLiteral("Label15"), QStringLiteral("描写範囲"), {88, 104}, 12, false,
                        false, GroupBox5);
    SpinEdit3 =
        makeSpinEdit(QStringLiteral("SpinEdit3"), {8, 116, 49, 21}, -200, 200, 0, GroupBox5);
    Label10 = makeLabel(QStringLiteral("Label10"), QStringLiteral("±"), {72, 120}, 12, false, false,
                        GroupBox5);
    SpinEdit4 = makeSpinEdit(QStringLiteral("SpinEdit4"), {88, 116, 49, 21}, 1, 100, 1, GroupBox5);

    // The marker is made last so that it stays above the surface.
    Shape1 = new ShapeCircle(QStringLiteral("Shape1"), {200, 200, 8, 8}, this);
    Shape1->hide();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(100);
    setTag(Timer1, 0);

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
}

void TForm1::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LocaleChange) readLocaleSeparator();
    QWidget::changeEvent(event);
}

void TForm1::FormCreate() {
    paintStartupFrame(model_->surface);
    Image1->update();
}

void TForm1::Button1Click() {
    copyIn();
    startAction(*model_);
    copyOut();
}

void TForm1::Button2Click() {
    copyIn();
    stopAction(*model_);
    copyOut();
}

void TForm1::Timer1Timer() {
    copyIn();
    kurvilo::Timer1Timer(*model_);
    copyOut();
}

void TForm1::RadioGroup1Click() {
    const int mode = RadioGroup1->itemIndex();
    if (mode >= 0 && mode < int(kModeLabels.size())) {
        const ModeLabels& labels = kModeLabels[std::size_t(mode)];
        Label6->setText(text(labels.label6));
        Label7->setText(text(labels.label7));
        LabeledEdit12->setCaption(text(labels.labeledEdit12));
        LabeledEdit15->setCaption(text(labels.labeledEdit15));
        LabeledEdit13->setCaption(text(labels.labeledEdit13));
        LabeledEdit16->setCaption(text(labels.labeledEdit16));
        for (int row = 0; row < 4; ++row)
            ListBox2->item(row)->setText(text(labels.listBox2[std::size_t(row)]));
        LabeledEdit12->setEnabled(labels.motion);
        LabeledEdit13->setEnabled(labels.motion);
        Edit2->setEnabled(labels.motion);
        Button4->setEnabled(labels.motion);
    }
    Edit1->clear();
    Edit2->clear();
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
    keypad_->Label1->setText(formulaLabel->text());
    setTag(keypad_, RadioGroup1->itemIndex());
    keypad_->exec();
}

QFileDialog& TForm1::saveDialog() {
    if (SaveDialog1 == nullptr) {
        SaveDialog1 = new QFileDialog(this);
        SaveDialog1->setObjectName(QStringLiteral("SaveDialog1"));
        SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
        SaveDialog1->setFileMode(QFileDialog::AnyFile);
        SaveDialog1->setNameFilter(QStringLiteral("ビットマップ(*.bmp)"));
        SaveDialog1->setDefaultSuffix(QStringLiteral("bmp"));
        SaveDialog1->setOption(QFileDialog::DontConfirmOverwrite, false);
        SaveDialog1->setSizeGripEnabled(true);
    }
    return *SaveDialog1;
}

void TForm1::Button16Click() {
    QFileDialog& dialog = saveDialog();
    dialog.selectFile(lastSaveName_);
    if (!runSaveDialog_(dialog)) return;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return;
    const QString& fileName = chosen.first();
    lastSaveName_ = fileName;

    QImageWriter writer(fileName, "bmp");
    if (!writer.write(Image1->image())) {
        QMessageBox::critical(this, QCoreApplication::applicationName(),
                              QStringLiteral("%1 に書き込めませんでした。\n%2")
                                  .arg(QDir::toNativeSeparators(fileName), writer.errorString()));
    }
}

void TForm1::copyIn() {
    RunModel& m = *model_;
    m.graphMode = RadioGroup1->itemIndex();
    m.edit1 = Edit1->text().toStdString();
    m.edit2 = Edit2->text().toStdString();
    m.labeledEdit12 = LabeledEdit12->text().toStdString();
    m.labeledEdit13 = LabeledEdit13->text().toStdString();
    m.labeledEdit15 = LabeledEdit15->text().toStdString();
    m.labeledEdit16 = LabeledEdit16->text().toStdString();
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
            m.constants[i] = keypad_->constantField(int(i))->text().toStdString();
    }

    m.listBox1 = ListBox1->texts();
    m.listBox3 = ListBox3->texts();
    m.shape1 = {!Shape1->isHidden(), Shape1->x(), Shape1->y()};
    m.label3 = Label3->text().toStdString();
    m.timer1 = {tagOf(Timer1), Timer1->interval(), Timer1->isActive()};
    m.settingsEnabled = Button1->isEnabled();
    m.button16Enabled = Button16->isEnabled();
}

void TForm1::copyOut() {
    const RunModel& m = *model_;
    ListBox1->setTexts(m.listBox1);
    ListBox3->setTexts(m.listBox3);
    Image1->update();
    Shape1->move(m.shape1.left, m.shape1.top);
    Shape1->setVisible(m.shape1.visible);
    Label3->setText(QString::fromStdString(m.label3));

    for (QWidget* setting : std::initializer_list<QWidget*>{GroupBox1, GroupBox2, GroupBox3,
                                                            GroupBox5, RadioGroup1, Button1})
        setting->setEnabled(m.settingsEnabled);
    Button16->setEnabled(m.button16Enabled);
    showSpin(m.spinEdit1, SpinEdit1);
    showSpin(m.spinEdit3, SpinEdit3);

    setTag(Timer1, m.timer1.tag);
    if (Timer1->interval() != m.timer1.interval) Timer1->setInterval(m.timer1.interval);
    if (m.timer1.enabled && !Timer1->isActive()) Timer1->start();
    if (!m.timer1.enabled && Timer1->isActive()) Timer1->stop();
}

}  // namespace kurvilo

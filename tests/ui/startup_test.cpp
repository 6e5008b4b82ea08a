// SPDX-License-Identifier: MIT
// The state both windows start in: captions, sizes, every control's place and initial value,
// the framed white picture, fonts that can show every Japanese caption, and the environment the
// program sets for Qt before it starts.
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QIcon>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <vector>

#include "window_fixture.h"

namespace kurvilo {
namespace {

using StartUp = WindowTest;

TEST_F(StartUp, WindowsHaveTheirCaptionsFixedSizesAndPlaces) {
    EXPECT_EQ(QCoreApplication::applicationName(), "Kurvilo");
    EXPECT_TRUE(QGuiApplication::applicationDisplayName() == "Kurvilo" ||
                QGuiApplication::applicationDisplayName().isEmpty());
    EXPECT_EQ(form1->windowTitle(), "MainForm");
    EXPECT_EQ(form1->minimumSize(), QSize(777, 410));
    EXPECT_EQ(form1->maximumSize(), QSize(777, 410));
    EXPECT_EQ(form1->pos(), QPoint(328, 207));
    EXPECT_EQ(form2->windowTitle(), "SubForm");
    EXPECT_EQ(form2->minimumSize(), QSize(456, 148));
    EXPECT_EQ(form2->maximumSize(), QSize(456, 148));
    EXPECT_EQ(form2->pos(), QPoint(218, 262));
    EXPECT_TRUE(form2->isModal());
    EXPECT_TRUE(form2->isHidden());
    for (QWidget* window : {static_cast<QWidget*>(form1), static_cast<QWidget*>(form2)}) {
        SCOPED_TRACE(window->objectName().toStdString());
        const Qt::WindowFlags flags = window->windowFlags();
        EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
        EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    }
}

TEST_F(StartUp, TheProgramNamesItsDesktopEntryAndShowsItsIconAtEveryHicolorSize) {
    EXPECT_EQ(QGuiApplication::desktopFileName(), "org.kurvilo.Kurvilo");
    const QIcon icon = QApplication::windowIcon();
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size)));
        // The embedded picture is the installed one.
        const QString file =
            QStringLiteral(QT_TESTCASE_SOURCEDIR "/../../data/icons/hicolor/%1x%1/apps/kurvilo.png")
                .arg(size);
        const QImage installed(file);
        ASSERT_FALSE(installed.isNull()) << file.toStdString();
        EXPECT_TRUE(
            icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied) ==
            installed.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
    EXPECT_FALSE(form1->windowIcon().isNull());
}

TEST_F(StartUp, QtsOwnTextsAreJapaneseWhateverTheLocale) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    setUpApplication();
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Save As").toStdString(),
              "名前を付けて保存");
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel").toStdString(), "キャンセル");
}

// Shared memory would cost every tick a round trip to the X server; a user's own choice stays.
TEST(StartUpEnvironment, XPixelsGoWithoutSharedMemoryUnlessTheUserChoseOtherwise) {
    const QByteArray saved = qgetenv("QT_XCB_NO_MITSHM");
    const bool wasSet = qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM");
    struct Case {
        const char* userValue;  // null: the user set nothing
        const char* expected;   // null: Qt finds nothing set and uses shared memory
    };
    for (const Case& c : {Case{nullptr, "1"}, Case{"1", "1"}, Case{"", ""}, Case{"yes", "yes"},
                          Case{"0", nullptr}}) {
        if (c.userValue == nullptr) {
            qunsetenv("QT_XCB_NO_MITSHM");
        } else {
            qputenv("QT_XCB_NO_MITSHM", c.userValue);
        }
        prepareEnvironment();
        const char* given = c.userValue ? c.userValue : "(not set)";
        EXPECT_EQ(qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"), c.expected != nullptr) << given;
        if (c.expected != nullptr) {
            EXPECT_EQ(qgetenv("QT_XCB_NO_MITSHM").toStdString(), c.expected) << given;
        }
    }
    if (wasSet) {
        qputenv("QT_XCB_NO_MITSHM", saved);
    } else {
        qunsetenv("QT_XCB_NO_MITSHM");
    }
}

TEST_F(StartUp, PictureIsWhiteWithABlackFrame) {
    EXPECT_TRUE(pictureIs(shownPicture(), onFrame, qRgb(0, 0, 0)));
    EXPECT_EQ(inMain<QWidget>("Image1")->geometry(), QRect(4, 4, 401, 401));
}

TEST_F(StartUp, CartesianMotionLabelsAndDefaults) {
    EXPECT_EQ(inMain<RadioGroup>("RadioGroup1")->itemIndex(), 0);
    EXPECT_EQ(inMain<QLabel>("Label6")->text(), "Ay=");
    EXPECT_EQ(inMain<QLabel>("Label7")->text(), "Ax=");
    const std::pair<const char*, const char*> initialValues[] = {{"LabeledEdit12", "Vy="},
                                                                 {"LabeledEdit15", "Vx="},
                                                                 {"LabeledEdit13", "Y="},
                                                                 {"LabeledEdit16", "X="}};
    for (const auto& [name, caption] : initialValues) {
        SCOPED_TRACE(name);
        auto* edit = inMain<LabeledEdit>(name);
        EXPECT_EQ(edit->editLabel()->text(), caption);
        EXPECT_EQ(edit->text(), "0");
        EXPECT_TRUE(edit->isEnabled());
    }
    EXPECT_TRUE(inMain<QLineEdit>("Edit1")->text().isEmpty());
    EXPECT_TRUE(inMain<QLineEdit>("Edit2")->text().isEmpty());
    EXPECT_FALSE(inMain<QPushButton>("Button16")->isEnabled());
    EXPECT_TRUE(inMain<QPushButton>("Button1")->isEnabled());
    EXPECT_TRUE(inMain<QPushButton>("Button2")->isEnabled());
    EXPECT_TRUE(inMain<QLabel>("Label3")->text().isEmpty());
    EXPECT_EQ(rows(inMain<ListBox>("ListBox2")),
              (std::vector<std::string>{" Vx=", "   X=", " Vy=", "   Y=", "    t="}));
    EXPECT_TRUE(rows(inMain<ListBox>("ListBox1")).empty());
    EXPECT_TRUE(rows(inMain<ListBox>("ListBox3")).empty());
    EXPECT_TRUE(inMain<ListBox>("ListBox3")->isHidden());
    auto* marker = inMain<QWidget>("Shape1");
    EXPECT_TRUE(marker->isHidden());
    EXPECT_EQ(marker->geometry(), QRect(200, 200, 8, 8));
}

TEST_F(StartUp, DrawingSettingsStartAtTheirDesignedChoices) {
    struct Combo {
        const char* name;
        QStringList items;
        int selected;
    };
    const Combo combos[] = {
        {"ComboBox1", {"1/1s", "1/10s", "1/100s"}, 2},
        {"ComboBox2", {"1/10", "1/100", "1/1000"}, 1},
        {"ComboBox3", {"-2<Y<2", "-20<Y<20", "-200<Y<200"}, 1},
        {"ComboBox4", {"-2<X<2", "-20<X<20", "-200<X<200"}, 1},
    };
    for (const Combo& expected : combos) {
        SCOPED_TRACE(expected.name);
        auto* combo = inMain<QComboBox>(expected.name);
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        EXPECT_EQ(items, expected.items);
        EXPECT_EQ(combo->currentIndex(), expected.selected);
        EXPECT_FALSE(combo->isEditable());
    }
    struct Spin {
        const char* name;
        int minimum, maximum, value;
    };
    const Spin spins[] = {{"SpinEdit1", -200, 200, 0},
                          {"SpinEdit2", 1, 100, 1},
                          {"SpinEdit3", -200, 200, 0},
                          {"SpinEdit4", 1, 100, 1}};
    for (const Spin& expected : spins) {
        SCOPED_TRACE(expected.name);
        auto* spin = inMain<QSpinBox>(expected.name);
        EXPECT_EQ(spin->minimum(), expected.minimum);
        EXPECT_EQ(spin->maximum(), expected.maximum);
        EXPECT_EQ(spin->value(), expected.value);
    }
    EXPECT_FALSE(inMain<QCheckBox>("CheckBox1")->isChecked());
    EXPECT_FALSE(inMain<QCheckBox>("CheckBox2")->isChecked());
    QTimer* timer1 = timer();
    ASSERT_NE(timer1, nullptr);
    EXPECT_FALSE(timer1->isActive());
    EXPECT_EQ(timer1->interval(), 100);
    EXPECT_EQ(timer1->timerType(), Qt::PreciseTimer);
    EXPECT_EQ(tagOf(timer1), 0);
}

struct Placement {
    const char* name;
    const char* parent;
    QRect geometry;  // a width of 0 leaves the size to the control's caption
    const char* caption;
};

// clang-format off
const Placement kMainPlacements[] = {
    {"GroupBox1", "Form1", {408, 4, 361, 89}, ""},
    {"Label6", "GroupBox1", {12, 20, 37, 21}, "Ay="},
    {"Edit1", "GroupBox1", {56, 16, 277, 24}, ""},
    {"Button3", "GroupBox1", {332, 20, 21, 21}, "・・・"},
    {"Label7", "GroupBox1", {12, 52, 37, 21}, "Ax="},
    {"Edit2", "GroupBox1", {56, 48, 277, 24}, ""},
    {"Button4", "GroupBox1", {332, 52, 21, 21}, "・・・"},
    {"GroupBox2", "Form1", {408, 93, 209, 100}, "初期条件(t=0)"},
    {"LabeledEdit12", "GroupBox2", {12, 33, 85, 21}, "0"},
    {"LabeledEdit15", "GroupBox2", {108, 33, 85, 21}, "0"},
    {"LabeledEdit13", "GroupBox2", {12, 73, 81, 21}, "0"},
    {"LabeledEdit16", "GroupBox2", {108, 73, 85, 21}, "0"},
    {"GroupBox3", "Form1", {408, 196, 209, 109}, "描写設定"},
    {"Label2", "GroupBox3", {9, 17, 0, 0}, "描写速度"},
    {"Label1", "GroupBox3", {109, 17, 0, 0}, "精度"},
    {"Label4", "GroupBox3", {7, 61, 0, 0}, "描写範囲（Ｙ）"},
    {"Label5", "GroupBox3", {107, 61, 0, 0}, "描写範囲（Ｘ）"},
    {"ComboBox1", "GroupBox3", {8, 37, 89, 0}, ""},
    {"ComboBox2", "GroupBox3", {108, 37, 89, 0}, ""},
    {"ComboBox3", "GroupBox3", {8, 81, 89, 0}, ""},
    {"ComboBox4", "GroupBox3", {108, 81, 89, 0}, ""},
    {"ListBox2", "Form1", {408, 308, 33, 65}, ""},
    {"ListBox1", "Form1", {440, 308, 177, 65}, ""},
    {"ListBox3", "Form1", {440, 376, 177, 29}, ""},
    {"Label3", "Form1", {408, 384, 138, 21}, ""},
    {"GroupBox4", "Form1", {620, 96, 149, 77}, "システム"},
    {"Button1", "GroupBox4", {12, 16, 57, 25}, "描写開始"},
    {"Button2", "GroupBox4", {84, 16, 57, 25}, "描写中止"},
    {"Button16", "GroupBox4", {12, 44, 57, 25}, "保存"},
    {"RadioGroup1", "Form1", {620, 176, 149, 89}, "グラフ種類"},
    {"GroupBox5", "Form1", {620, 264, 150, 145}, "定点拡大"},
    {"Label8", "GroupBox5", {8, 16, 0, 0}, "X軸"},
    {"CheckBox1", "GroupBox5", {48, 16, 49, 17}, "有効"},
    {"Label12", "GroupBox5", {8, 40, 0, 0}, "中心点"},
    {"Label13", "GroupBox5", {88, 40, 0, 0}, "描写範囲"},
    {"SpinEdit1", "GroupBox5", {8, 52, 49, 21}, ""},
    {"Label11", "GroupBox5", {72, 56, 0, 0}, "±"},
    {"SpinEdit2", "GroupBox5", {88, 52, 49, 21}, ""},
    {"Label9", "GroupBox5", {8, 80, 0, 0}, "Y軸"},
    {"CheckBox2", "GroupBox5", {48, 80, 57, 17}, "有効"},
    {"Label14", "GroupBox5", {8, 104, 0, 0}, "中心点"},
    {"Label15", "GroupBox5", {88, 104, 0, 0}, "描写範囲"},
    {"SpinEdit3", "GroupBox5", {8, 116, 49, 21}, ""},
    {"Label10", "GroupBox5", {72, 120, 0, 0}, "±"},
    {"SpinEdit4", "GroupBox5", {88, 116, 49, 21}, ""},
};
// clang-format on

// What a control shows: its caption, or a field's text.
QString shownText(const QWidget* widget) {
    if (auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
    if (auto* box = qobject_cast<const QGroupBox*>(widget)) return box->title();
    if (auto* edit = qobject_cast<const QLineEdit*>(widget)) return edit->text();
    return {};
}

void expectPlaced(QWidget* widget, const Placement& expected) {
    SCOPED_TRACE(expected.name);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->parentWidget()->objectName(), expected.parent);
    EXPECT_EQ(widget->pos(), expected.geometry.topLeft());
    if (expected.geometry.width() > 0) {
        EXPECT_EQ(widget->width(), expected.geometry.width());
    }
    if (expected.geometry.height() > 0) {
        EXPECT_EQ(widget->height(), expected.geometry.height());
    }
    EXPECT_EQ(shownText(widget), QString::fromUtf8(expected.caption));
}

TEST_F(StartUp, MainWindowControlsSitWhereDesigned) {
    for (const Placement& expected : kMainPlacements)
        expectPlaced(inMain<QWidget>(expected.name), expected);
}

TEST_F(StartUp, InitialValueLabelsSitThreePixelsAboveTheirFields) {
    for (const char* name : {"LabeledEdit12", "LabeledEdit13", "LabeledEdit15", "LabeledEdit16"}) {
        SCOPED_TRACE(name);
        auto* edit = inMain<LabeledEdit>(name);
        EXPECT_EQ(edit->editLabel()->geometry().bottom() + 1 + 3, edit->y());
        EXPECT_EQ(edit->editLabel()->x(), edit->x());
        EXPECT_EQ(edit->editLabel()->height(), 16);
    }
}

TEST_F(StartUp, CaptionLabelsArePaintedOnWhite) {
    std::vector<QWidget*> labels;
    for (const char* name : {"Label6", "Label7", "Label1", "Label2", "Label4", "Label5"})
        labels.push_back(inMain<QWidget>(name));
    for (const char* name : {"LabeledEdit12", "LabeledEdit13", "LabeledEdit15", "LabeledEdit16"})
        labels.push_back(inMain<LabeledEdit>(name)->editLabel());
    for (QWidget* label : labels) {
        SCOPED_TRACE(label->objectName().toStdString());
        // What is really drawn, not just the palette: the label's background, its caption
        // hidden (a caption that fits tightly may reach a corner).
        const CaptionSwitch caption = captionSwitch(label);
        caption(false);
        const QImage picture = label->grab().toImage();
        caption(true);
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.pixelColor(0, 0), QColor(Qt::white));
        EXPECT_EQ(picture.pixelColor(picture.width() - 1, picture.height() - 1), QColor(Qt::white));
    }
}

// clang-format off
const Placement kKeypadPlacements[] = {
    {"Label1", "Form2", {8, 8, 33, 21}, "Ay="},
    {"Edit1", "Form2", {48, 8, 405, 24}, ""},
    {"Button7", "Form2", {8, 36, 25, 25}, "7"},   {"Button8", "Form2", {36, 36, 25, 25}, "8"},
    {"Button9", "Form2", {64, 36, 25, 25}, "9"},  {"Button4", "Form2", {8, 64, 25, 25}, "4"},
    {"Button5", "Form2", {36, 64, 25, 25}, "5"},  {"Button6", "Form2", {64, 64, 25, 25}, "6"},
    {"Button1", "Form2", {8, 92, 25, 25}, "1"},   {"Button2", "Form2", {36, 92, 25, 25}, "2"},
    {"Button3", "Form2", {64, 92, 25, 25}, "3"},  {"Button10", "Form2", {8, 120, 53, 25}, "0"},
    {"Button11", "Form2", {64, 120, 25, 25}, "."},
    {"Button12", "Form2", {92, 36, 25, 25}, "vx"}, {"Button13", "Form2", {120, 36, 25, 25}, "x"},
    {"Button16", "Form2", {148, 36, 25, 25}, "t"}, {"Button14", "Form2", {92, 64, 25, 25}, "vy"},
    {"Button15", "Form2", {120, 64, 25, 25}, "y"}, {"Button33", "Form2", {148, 64, 25, 25}, "n"},
    {"Button17", "Form2", {92, 92, 25, 25}, "+"},  {"Button18", "Form2", {120, 92, 25, 25}, "-"},
    {"Button34", "Form2", {148, 92, 25, 25}, "π"}, {"Button19", "Form2", {92, 120, 25, 25}, "*"},
    {"Button20", "Form2", {120, 120, 25, 25}, "/"}, {"Button21", "Form2", {148, 120, 25, 25}, "^"},
    {"Button22", "Form2", {176, 36, 41, 25}, "sin"}, {"Button23", "Form2", {220, 36, 45, 25}, "cos"},
    {"Button24", "Form2", {176, 64, 41, 25}, "tan"}, {"Button25", "Form2", {220, 64, 45, 25}, "log"},
    {"Button26", "Form2", {176, 92, 41, 25}, "exp"}, {"Button27", "Form2", {220, 92, 21, 25}, "("},
    {"Button28", "Form2", {244, 92, 21, 25}, ")"}, {"Button32", "Form2", {176, 120, 41, 25}, "Σ"},
    {"Button31", "Form2", {220, 120, 45, 25}, "Clear"},
    {"GroupBox1", "Form2", {272, 36, 117, 109}, "定数"},
    {"LabeledEdit1", "GroupBox1", {32, 12, 53, 20}, ""},
    {"LabeledEdit2", "GroupBox1", {32, 36, 53, 20}, ""},
    {"LabeledEdit3", "GroupBox1", {32, 60, 53, 20}, ""},
    {"LabeledEdit4", "GroupBox1", {32, 84, 53, 20}, ""},
    {"Button35", "GroupBox1", {84, 12, 23, 21}, "a"}, {"Button36", "GroupBox1", {84, 36, 23, 21}, "b"},
    {"Button37", "GroupBox1", {84, 60, 23, 21}, "c"}, {"Button38", "GroupBox1", {84, 84, 23, 21}, "d"},
    {"Button29", "Form2", {396, 36, 57, 25}, "入力"},
    {"Button30", "Form2", {396, 64, 57, 25}, "キャンセル"},
};
// clang-format on

TEST_F(StartUp, KeypadControlsSitWhereDesigned) {
    for (const Placement& expected : kKeypadPlacements)
        expectPlaced(inKeypad<QWidget>(expected.name), expected);
}

TEST_F(StartUp, ConstantLabelsSitThreePixelsLeftOfTheirFields) {
    const char* const captions[] = {"a  ", "b  ", "c  ", "d  "};
    for (int i = 0; i < 4; ++i) {
        auto* field = inKeypad<LabeledEdit>(qPrintable(QStringLiteral("LabeledEdit%1").arg(i + 1)));
        SCOPED_TRACE(i);
        EXPECT_EQ(field->editLabel()->text(), captions[i]);
        EXPECT_EQ(field->editLabel()->geometry().right() + 1 + 3, field->x());
    }
}

struct DesignedFont {
    const char* name;
    int pixelSize;
    bool bold;
};

// In the face the windows were designed for (or its metric twin IPAPGothic) every caption has its
// designed pixel size; another face may draw a caption up to a quarter smaller where its glyphs
// are too large for the control (caption_layout_test.cpp checks that they show whole).
void expectDesignedSize(const QFont& font, int designed) {
    const QString face = QFontInfo(font).family();
    if (face == "IPAPGothic" || face.contains("MS PGothic") || face.contains("ＭＳ Ｐゴシック")) {
        EXPECT_EQ(font.pixelSize(), designed) << face.toStdString();
    } else {
        EXPECT_LE(font.pixelSize(), designed) << face.toStdString();
        EXPECT_GE(font.pixelSize(), designed * 3 / 4) << face.toStdString();
    }
}

TEST_F(StartUp, FontsHaveTheirDesignedSizes) {
    const DesignedFont mainFonts[] = {
        {"Label6", 21, true},     {"Label7", 21, true},    {"Edit1", 16, true},
        {"Edit2", 16, true},      {"Label3", 21, false},   {"Label2", 16, false},
        {"Label8", 16, false},    {"Label12", 12, false},  {"Button1", 12, false},
        {"GroupBox2", 13, false}, {"ListBox1", 12, false}, {"LabeledEdit12", 12, false},
    };
    for (const DesignedFont& expected : mainFonts) {
        SCOPED_TRACE(expected.name);
        const QFont font = inMain<QWidget>(expected.name)->font();
        expectDesignedSize(font, expected.pixelSize);
        EXPECT_EQ(font.bold(), expected.bold);
    }
    const DesignedFont keypadFonts[] = {{"Label1", 21, true},
                                        {"Edit1", 16, true},
                                        {"Button30", 11, false},
                                        {"Button22", 12, false}};
    for (const DesignedFont& expected : keypadFonts) {
        SCOPED_TRACE(expected.name);
        const QFont font = inKeypad<QWidget>(expected.name)->font();
        expectDesignedSize(font, expected.pixelSize);
        EXPECT_EQ(font.bold(), expected.bold);
    }
}

TEST_F(StartUp, EveryControlHasAPixelSizedFont) {
    for (QWidget* widget : form1->findChildren<QWidget*>()) {
        if (widget->isWindow() && widget != form2) continue;  // dialogs made on demand
        // 11 to 21 as designed; a caption too large for its control in another face may be
        // drawn a quarter smaller.
        const int size = widget->font().pixelSize();
        EXPECT_TRUE(size >= 11 * 3 / 4 && size <= 21)
            << widget->objectName().toStdString() << " " << widget->metaObject()->className()
            << " has pixel size " << size;
    }
}

TEST_F(StartUp, FontsPreferTheDesignFaceThenAJapaneseFace) {
    const QStringList families = uiFont(12).families();
    ASSERT_GE(families.size(), 3);
    EXPECT_EQ(families[0], "ＭＳ Ｐゴシック");
    EXPECT_TRUE(families.contains("IPAPGothic"));
    const QString shown = QFontInfo(inMain<QLabel>("Label2")->font()).family();
    EXPECT_TRUE(families.contains(shown) || shown.startsWith("IPA"))
        << shown.toStdString() << " is not one of the Japanese faces";
}

TEST_F(StartUp, EveryCaptionCanBeDrawnWithoutMissingGlyphs) {
    int captions = 0;
    for (QWidget* widget : form1->findChildren<QWidget*>()) {
        const QString caption = shownText(widget);
        if (caption.isEmpty()) continue;
        ++captions;
        const QFontMetrics metrics(widget->font());
        for (char32_t c : caption.toStdU32String()) {
            if (c == U' ') continue;
            EXPECT_TRUE(metrics.inFontUcs4(c))
                << widget->objectName().toStdString() << ": U+" << std::hex << unsigned(c);
        }
    }
    EXPECT_GT(captions, 60);  // both windows' labels, buttons, groups and radio items
}

}  // namespace
}  // namespace kurvilo

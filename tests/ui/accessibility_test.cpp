// SPDX-License-Identifier: MIT
// What a screen reader hears, through Qt's accessibility interfaces: every control of both
// windows has a Japanese name that says what it is, the names follow the graph mode, a combo box
// is named by the label tied to it, the plot has a name and a description, and a row of values
// is heard with its name.
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "window_fixture.h"

namespace kurvilo {
namespace {

QAccessibleInterface* accessible(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

std::string spoken(QObject* object, QAccessible::Text text = QAccessible::Name) {
    QAccessibleInterface* face = accessible(object);
    return face != nullptr ? face->text(text).toStdString() : std::string("(no interface)");
}

// Whether the text holds a character of the Japanese scripts.
bool japanese(const QString& text) {
    for (QChar c : text) {
        if (c.unicode() >= 0x3000) return true;
    }
    return false;
}

struct ModeNames {
    int mode;
    std::vector<std::pair<const char*, const char*>> names;  // object name, accessible name
};

void PrintTo(const ModeNames& row, std::ostream* os) {
    *os << "mode " << row.mode;
}

class NamesByMode : public WindowTest, public testing::WithParamInterface<ModeNames> {};

TEST_P(NamesByMode, FormulaAndInitialValueControlsAreNamedAfterTheirLabels) {
    inMain<RadioGroup>("RadioGroup1")->item((GetParam().mode + 1) % 4)->click();
    inMain<RadioGroup>("RadioGroup1")->item(GetParam().mode)->click();
    for (const auto& [control, name] : GetParam().names) {
        SCOPED_TRACE(control);
        EXPECT_EQ(spoken(inMain<QWidget>(control)), name);
    }
}

INSTANTIATE_TEST_SUITE_P(EachMode, NamesByMode,
                         testing::Values(ModeNames{0,
                                                   {{"Edit1", "Ay= の数式"},
                                                    {"Button3", "Ay= を数式パッドで入力"},
                                                    {"Edit2", "Ax= の数式"},
                                                    {"Button4", "Ax= を数式パッドで入力"},
                                                    {"LabeledEdit12", "Vy= の初期値"},
                                                    {"LabeledEdit15", "Vx= の初期値"},
                                                    {"LabeledEdit13", "Y= の初期値"},
                                                    {"LabeledEdit16", "X= の初期値"}}},
                                         ModeNames{1,
                                                   {{"Edit1", "Ar= の数式"},
                                                    {"Button3", "Ar= を数式パッドで入力"},
                                                    {"Edit2", "Aθ= の数式"},
                                                    {"Button4", "Aθ= を数式パッドで入力"},
                                                    {"LabeledEdit12", "Vr= の初期値"},
                                                    {"LabeledEdit15", "Vθ= の初期値"},
                                                    {"LabeledEdit13", "r= の初期値"},
                                                    {"LabeledEdit16", "θ= の初期値"}}},
                                         ModeNames{
                                             2,
                                             {{"Edit1", "Y= の数式"},
                                              {"Button3", "Y= を数式パッドで入力"},
                                              {"Edit2", "使わない2番目の式"},
                                              {"Button4", "使わない2番目の式を数式パッドで入力"},
                                              {"LabeledEdit12", "Vy= の初期値"},
                                              {"LabeledEdit16", "X= の初期値"}}},
                                         ModeNames{3,
                                                   {{"Edit1", "r= の数式"},
                                                    {"Edit2", "使わない2番目の式"},
                                                    {"LabeledEdit15", "Vθ= の初期値"},
                                                    {"LabeledEdit13", "r= の初期値"}}}));

using Accessibility = WindowTest;

TEST_F(Accessibility, SettingsAreNamedForWhatTheySet) {
    const std::pair<const char*, const char*> names[] = {
        {"SpinEdit1", "X軸 中心点"},   {"SpinEdit2", "X軸 描写範囲（±）"},
        {"SpinEdit3", "Y軸 中心点"},   {"SpinEdit4", "Y軸 描写範囲（±）"},
        {"CheckBox1", "X軸 有効"},     {"CheckBox2", "Y軸 有効"},
        {"Button1", "描写開始"},       {"Button2", "描写中止"},
        {"Button16", "保存"},          {"ListBox1", "今の値"},
        {"GroupBox1", "数式"},         {"GroupBox2", "初期条件(t=0)"},
        {"RadioGroup1", "グラフ種類"}, {"RadioGroup1Item2", "直交座標系方程式"},
    };
    for (const auto& [control, name] : names) {
        SCOPED_TRACE(control);
        EXPECT_EQ(spoken(inMain<QObject>(control)), name);
    }
    // The keys of a button are told with it.
    EXPECT_EQ(spoken(inMain<QObject>("Button1"), QAccessible::Description), "F5 または Ctrl+Enter");
    EXPECT_EQ(spoken(inMain<QObject>("Button2"), QAccessible::Description), "Esc");
}

TEST_F(Accessibility, EachComboBoxIsLabelledByItsCaption) {
    const std::pair<const char*, const char*> combos[] = {{"ComboBox1", "描写速度"},
                                                          {"ComboBox2", "精度"},
                                                          {"ComboBox3", "描写範囲（Ｙ）"},
                                                          {"ComboBox4", "描写範囲（Ｘ）"}};
    for (const auto& [control, caption] : combos) {
        SCOPED_TRACE(control);
        QAccessibleInterface* combo = accessible(inMain<QObject>(control));
        ASSERT_NE(combo, nullptr);
        // The label tied to it first; the group it sits in after.
        std::vector<std::string> labels;
        for (const auto& [label, relation] : combo->relations(QAccessible::Label))
            labels.push_back(label->text(QAccessible::Name).toStdString());
        ASSERT_FALSE(labels.empty());
        EXPECT_EQ(labels.front(), caption);
        EXPECT_EQ(inMain<QComboBox>(control)->accessibleName().toStdString(), caption);
    }
}

TEST_F(Accessibility, ThePlotHasANameAndTellsWhatItShows) {
    QObject* plot = inMain<QObject>("Image1");
    EXPECT_EQ(spoken(plot), "軌跡の図");
    const QString description = QString::fromStdString(spoken(plot, QAccessible::Description));
    EXPECT_TRUE(description.contains(QStringLiteral("軌跡")) &&
                description.contains(QStringLiteral("赤い丸")))
        << description.toStdString();
}

TEST_F(Accessibility, EachValueRowIsHeardWithItsName) {
    inMain<QLineEdit>("Edit1")->setText("-y");
    inMain<QLineEdit>("Edit2")->setText("-x");
    inMain<QLineEdit>("LabeledEdit16")->setText("5");
    inMain<QLineEdit>("LabeledEdit12")->setText("5");
    for (const auto& [mode, expected] : std::vector<std::pair<int, std::vector<std::string>>>{
             {0, {"Vx= -0.05", "X= 4.9995", "Vy= 5", "Y= 0.05", "t= 0.01"}},
             {1, {"Vθ= -0.05", "θ= 4.9995", "Vr= 5", "r= 0.05", "t= 0.01"}}}) {
        SCOPED_TRACE(mode);
        if (mode == 1) {
            inMain<RadioGroup>("RadioGroup1")->item(1)->click();
            inMain<QLineEdit>("Edit1")->setText("-y");
            inMain<QLineEdit>("Edit2")->setText("-x");
        }
        click("Button1");
        form1->Timer1Timer();
        click("Button2");
        // Asked afresh, as a reader does after the list told it of its new rows (Qt tells only
        // an active reader, and there is none offscreen).
        QAccessibleInterface* stale = accessible(inMain<QObject>("ListBox1"));
        ASSERT_NE(stale, nullptr);
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(stale));
        QAccessibleInterface* list = accessible(inMain<QObject>("ListBox1"));
        ASSERT_NE(list, nullptr);
        std::vector<std::string> heard;
        for (int i = 0; i < list->childCount(); ++i)
            heard.push_back(list->child(i)->text(QAccessible::Name).toStdString());
        // Polar mode evaluates the same texts: only the names change.
        EXPECT_EQ(heard, expected);
    }
}

// Every control a user can reach, in both windows, in every mode.
void expectEveryControlNamedInJapanese(QWidget* window) {
    int controls = 0;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget->window() != window || widget->isHidden()) continue;
        QAccessibleInterface* face = accessible(widget);
        if (face == nullptr) continue;
        const QAccessible::Role role = face->role();
        if (role != QAccessible::PushButton && role != QAccessible::CheckBox &&
            role != QAccessible::RadioButton && role != QAccessible::EditableText &&
            role != QAccessible::SpinBox && role != QAccessible::List)
            continue;
        ++controls;
        const QString name = face->text(QAccessible::Name);
        SCOPED_TRACE(widget->objectName().toStdString() + " \"" + name.toStdString() + "\"");
        // A digit key is heard as its digit.
        const bool digit = name.size() == 1 && name[0].isDigit();
        EXPECT_TRUE(japanese(name) || digit);
    }
    EXPECT_GT(controls, 20);
}

TEST_F(Accessibility, EveryControlOfBothWindowsHasAJapaneseName) {
    for (int mode = 0; mode < 4; ++mode) {
        SCOPED_TRACE(mode);
        inMain<RadioGroup>("RadioGroup1")->item(mode)->click();
        expectEveryControlNamedInJapanese(form1);
        withKeypad("Button3", [&] {
            (void)form2->grab();  // the paint that relabels the variable keys
            expectEveryControlNamedInJapanese(form2);
        });
    }
}

TEST_F(Accessibility, TheKeypadNamesItsFormulaAndItsVariablesAfterTheMode) {
    inMain<RadioGroup>("RadioGroup1")->item(1)->click();
    withKeypad("Button4", [&] {
        (void)form2->grab();
        EXPECT_EQ(spoken(form2->Edit1), "Aθ= の数式");
        EXPECT_EQ(spoken(form2->Button12), "変数 vr");
        EXPECT_EQ(spoken(form2->Button15), "変数 θ");
        EXPECT_EQ(spoken(form2->Button16), "変数 t");
        EXPECT_EQ(spoken(form2->Button11), "小数点");
        EXPECT_EQ(spoken(form2->Button21), "累乗");
        EXPECT_EQ(spoken(form2->LabeledEdit3), "定数 c の値");
        EXPECT_EQ(spoken(form2->Button37), "定数 c");
        EXPECT_EQ(spoken(form2->Button29, QAccessible::Description), "Ctrl+Enter");
    });
}

}  // namespace
}  // namespace kurvilo

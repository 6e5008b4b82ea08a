// SPDX-License-Identifier: MIT
// Switching the graph mode relabels every field, enables what the mode uses, and clears both
// formulas, but only when the selection really changes.
#include <QLineEdit>
#include <QPushButton>

#include "window_fixture.h"

namespace kurvilo {
namespace {

struct ModeRow {
    int mode;
    const char* label6;
    const char* label7;
    const char* labeledEdit12;
    const char* labeledEdit15;
    const char* labeledEdit13;
    const char* labeledEdit16;
    std::vector<std::string> listBox2;
    bool motion;  // LabeledEdit12, LabeledEdit13, Edit2 and Button4 enabled
};

void PrintTo(const ModeRow& row, std::ostream* os) {
    *os << "mode " << row.mode;
}

const std::vector<std::string> kCartesianRows{" Vx=", "   X=", " Vy=", "   Y=", "    t="};
const std::vector<std::string> kPolarRows{"Vθ=", "  θ=", "  Vr=", "    r=", "    t="};

class GraphMode : public WindowTest, public testing::WithParamInterface<ModeRow> {
  protected:
    void choose(int mode) { inMain<RadioGroup>("RadioGroup1")->item(mode)->click(); }
};

TEST_P(GraphMode, SwitchingRelabelsEnablesAndClearsTheFormulas) {
    const ModeRow& row = GetParam();
    choose((row.mode + 1) % 4);  // come from another mode
    inMain<QLineEdit>("Edit1")->setText("-y");
    inMain<QLineEdit>("Edit2")->setText("-x");
    const char* const fields[] = {"LabeledEdit12", "LabeledEdit13", "LabeledEdit15",
                                  "LabeledEdit16"};
    for (int i = 0; i < 4; ++i)
        inMain<QLineEdit>(fields[i])->setText(QString::number(i + 1));

    choose(row.mode);

    EXPECT_EQ(inMain<RadioGroup>("RadioGroup1")->itemIndex(), row.mode);
    EXPECT_EQ(inMain<QLabel>("Label6")->text(), QString::fromUtf8(row.label6));
    EXPECT_EQ(inMain<QLabel>("Label7")->text(), QString::fromUtf8(row.label7));
    EXPECT_EQ(inMain<LabeledEdit>("LabeledEdit12")->editLabel()->text(),
              QString::fromUtf8(row.labeledEdit12));
    EXPECT_EQ(inMain<LabeledEdit>("LabeledEdit15")->editLabel()->text(),
              QString::fromUtf8(row.labeledEdit15));
    EXPECT_EQ(inMain<LabeledEdit>("LabeledEdit13")->editLabel()->text(),
              QString::fromUtf8(row.labeledEdit13));
    EXPECT_EQ(inMain<LabeledEdit>("LabeledEdit16")->editLabel()->text(),
              QString::fromUtf8(row.labeledEdit16));
    EXPECT_EQ(rows(inMain<ListBox>("ListBox2")), row.listBox2);
    for (const char* name : {"LabeledEdit12", "LabeledEdit13", "Edit2", "Button4"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(inMain<QWidget>(name)->isEnabled(), row.motion);
    }
    for (const char* name : {"LabeledEdit15", "LabeledEdit16", "Edit1", "Button3"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(inMain<QWidget>(name)->isEnabled());
    }
    EXPECT_TRUE(inMain<QLineEdit>("Edit1")->text().isEmpty());
    EXPECT_TRUE(inMain<QLineEdit>("Edit2")->text().isEmpty());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(inMain<QLineEdit>(fields[i])->text(), QString::number(i + 1)) << fields[i];
}

INSTANTIATE_TEST_SUITE_P(
    EachMode, GraphMode,
    testing::Values(ModeRow{0, "Ay=", "Ax=", "Vy=", "Vx=", "Y=", "X=", kCartesianRows, true},
                    ModeRow{1, "Ar=", "Aθ=", "Vr=", "Vθ=", "r=", "θ=", kPolarRows, true},
                    ModeRow{2, "Y=", "", "Vy=", "Vx=", "Y=", "X=", kCartesianRows, false},
                    ModeRow{3, "r=", "", "Vr=", "Vθ=", "r=", "θ=", kPolarRows, false}));

using GraphModeChoice = WindowTest;

TEST_F(GraphModeChoice, ChoosingTheModeAlreadySelectedKeepsTheFormulas) {
    inMain<QLineEdit>("Edit1")->setText("-y");
    inMain<QLineEdit>("Edit2")->setText("-x");
    inMain<RadioGroup>("RadioGroup1")->item(0)->click();
    EXPECT_EQ(inMain<QLineEdit>("Edit1")->text(), "-y");
    EXPECT_EQ(inMain<QLineEdit>("Edit2")->text(), "-x");
}

TEST_F(GraphModeChoice, BackFromACurveModeEnablesTheSecondFormulaAndItsLabel) {
    auto* modes = inMain<RadioGroup>("RadioGroup1");
    modes->item(3)->click();
    EXPECT_FALSE(inMain<QWidget>("Button4")->isEnabled());
    modes->item(1)->click();
    EXPECT_TRUE(inMain<QWidget>("Edit2")->isEnabled());
    EXPECT_TRUE(inMain<QWidget>("Button4")->isEnabled());
    EXPECT_EQ(inMain<QLabel>("Label6")->text(), "Ar=");
    EXPECT_EQ(inMain<QLabel>("Label7")->text(), "Aθ=");
}

}  // namespace
}  // namespace kurvilo

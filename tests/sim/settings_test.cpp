// SPDX-License-Identifier: MIT
// The settings' tables: each row sits at the item index the tick reads, every name finds its row
// and nothing else does, and each mode's slot names are the names the formulas use for them.
#include "sim/settings.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "common.h"
#include "formula/evaluate.h"
#include "sim/motion.h"
#include "sim/tick.h"
#include "sim/view_mapping.h"

namespace kurvilo {
namespace {

TEST(GraphModeTable, RowsStandAtTheirRadioGroupIndex) {
    for (std::size_t i = 0; i < kGraphModes.size(); ++i) {
        SCOPED_TRACE(kGraphModes[i].name);
        EXPECT_EQ(kGraphModes[i].mode, graphModeFromIndex(static_cast<int>(i)));
        EXPECT_EQ(&graphModeSetting(kGraphModes[i].mode), &kGraphModes[i]);
    }
}

TEST(GraphModeTable, OnlyTheMotionModesHaveASecondFormula) {
    for (const GraphModeSetting& row : kGraphModes) {
        const bool motion =
            row.mode == GraphMode::CartesianMotion || row.mode == GraphMode::PolarMotion;
        EXPECT_EQ(row.secondFormula.empty(), !motion) << row.name;
    }
}

// Each slot name, evaluated as a formula, reads that slot: the table agrees with the engine.
TEST(GraphModeTable, SlotNamesAreTheFormulaNamesOfTheSlots) {
    for (const GraphModeSetting& row : kGraphModes) {
        FormulaInputs inputs;
        for (std::size_t slot = 0; slot < inputs.values.size(); ++slot)
            inputs.values[slot] = std::to_string(slot + 11);
        for (std::size_t slot = 0; slot < row.slotNames.size(); ++slot) {
            SCOPED_TRACE(std::string(row.name) + ": " + std::string(row.slotNames[slot]));
            EXPECT_EQ(EvaluateFormula(row.slotNames[slot], inputs),
                      Fixed4::fromInteger(static_cast<std::int64_t>(slot + 11)));
        }
    }
}

TEST(SettingNames, EachNameFindsItsRowAndOthersFindNone) {
    for (std::size_t i = 0; i < kGraphModes.size(); ++i)
        EXPECT_EQ(graphModeNamed(kGraphModes[i].name), static_cast<int>(i));
    for (std::size_t i = 0; i < kDrawingSpeeds.size(); ++i)
        EXPECT_EQ(drawingSpeedNamed(kDrawingSpeeds[i].caption), static_cast<int>(i));
    for (std::size_t i = 0; i < kTimeSteps.size(); ++i)
        EXPECT_EQ(timeStepNamed(kTimeSteps[i].caption), static_cast<int>(i));
    for (std::size_t i = 0; i < kViewRanges.size(); ++i)
        EXPECT_EQ(viewRangeNamed(kViewRanges[i].value), static_cast<int>(i));
    for (const char* other : {"", "0", "Cartesian-Motion", "1/100 ", "1/1", "20.0", "-20<X<20"}) {
        SCOPED_TRACE(other);
        EXPECT_FALSE(graphModeNamed(other));
        EXPECT_FALSE(drawingSpeedNamed(other));
        EXPECT_FALSE(timeStepNamed(other));
        EXPECT_FALSE(viewRangeNamed(other));
    }
}

// The tick takes its time step and scale from the same rows the names find.
TEST(SettingValues, TheTickReadsTheRowsTheNamesFind) {
    const struct {
        const char* step;
        std::int64_t units;
    } steps[] = {{"1/10", 1000}, {"1/100", 100}, {"1/1000", 10}};
    for (const auto& s : steps)
        EXPECT_EQ(timeStepFor(*timeStepNamed(s.step)), Fixed4::fromUnits(s.units)) << s.step;
    const struct {
        const char* range;
        std::int64_t scale;
    } ranges[] = {{"2", 100}, {"20", 1000}, {"200", 10000}};
    for (const auto& r : ranges)
        EXPECT_EQ(viewRangeScale(*viewRangeNamed(r.range)), r.scale) << r.range;
}

TEST(SettingValues, ADrawingSpeedSetsTheTimerInterval) {
    const struct {
        const char* speed;
        int interval;
    } cases[] = {{"1/1s", 1000}, {"1/10s", 100}, {"1/100s", 10}};
    for (const auto& c : cases) {
        RunModel model;
        model.comboBox1 = *drawingSpeedNamed(c.speed);
        startAction(model);
        ASSERT_TRUE(Timer1Timer(model));
        EXPECT_EQ(model.timer1.interval, c.interval) << c.speed;
    }
}

TEST(SettingDefaults, AFreshModelHoldsTheWindowsStartUpSettings) {
    const RunModel model;
    EXPECT_EQ(kDrawingSpeeds[static_cast<std::size_t>(model.comboBox1)].caption, "1/100s");
    EXPECT_EQ(kTimeSteps[static_cast<std::size_t>(model.comboBox2)].caption, "1/100");
    EXPECT_EQ(kViewRanges[static_cast<std::size_t>(model.comboBox3)].captionY, "-20<Y<20");
    EXPECT_EQ(kViewRanges[static_cast<std::size_t>(model.comboBox4)].captionX, "-20<X<20");
    for (const SpinControl* centre : {&model.spinEdit1, &model.spinEdit3}) {
        EXPECT_EQ(centre->text, "0");
        EXPECT_EQ(centre->minimum, -200);
        EXPECT_EQ(centre->maximum, 200);
    }
    for (const SpinControl* half : {&model.spinEdit2, &model.spinEdit4}) {
        EXPECT_EQ(half->text, "1");
        EXPECT_EQ(half->minimum, 1);
        EXPECT_EQ(half->maximum, 100);
    }
}

}  // namespace
}  // namespace kurvilo

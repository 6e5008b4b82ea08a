// SPDX-License-Identifier: MIT
// A run's settings as plain values: applied to a model and read back they are the same, they
// land in exactly the controls the tick reads, and a run of a model set from them is a run of
// those settings.
#include "sim/run_settings.h"

#include <gtest/gtest.h>

#include "common.h"
#include "sim/tick.h"
#include "tick_support.h"

namespace kurvilo {
namespace {

RunSettings unusual() {
    RunSettings s;
    s.graphMode = 1;
    s.firstFormula = "r*v\u03B8^2-a/r^2";
    s.secondFormula = "-2*vr*v\u03B8/r";
    s.initialValues = {"0,4", " 1", "\"q\"", "\\"};
    s.constants = {"1000", "", "Σ{n=1<>3:n}", "0"};
    s.drawingSpeed = 0;
    s.timeStep = 2;
    s.viewRangeY = 2;
    s.viewRangeX = 0;
    s.zoomX = {true, -200, 100};
    s.zoomY = {false, 7, 3};
    s.separator = U',';
    return s;
}

TEST(RunSettings, ApplyThenReadGivesTheSameSettings) {
    for (const RunSettings& settings : {RunSettings{}, unusual()}) {
        RunModel model;
        applySettings(settings, model);
        EXPECT_EQ(settingsOf(model, settings.separator), settings);
    }
}

TEST(RunSettings, LandInTheControlsTheTickReads) {
    RunModel model;
    applySettings(unusual(), model);
    EXPECT_EQ(model.graphMode, 1);
    EXPECT_EQ(model.edit1, "r*v\u03B8^2-a/r^2");
    EXPECT_EQ(model.edit2, "-2*vr*v\u03B8/r");
    // Slots 0 to 3 are LabeledEdit15, 16, 12 and 13.
    EXPECT_EQ(model.labeledEdit15, "0,4");
    EXPECT_EQ(model.labeledEdit16, " 1");
    EXPECT_EQ(model.labeledEdit12, "\"q\"");
    EXPECT_EQ(model.labeledEdit13, "\\");
    EXPECT_EQ(model.comboBox1, 0);
    EXPECT_EQ(model.comboBox2, 2);
    EXPECT_EQ(model.comboBox3, 2);  // Y
    EXPECT_EQ(model.comboBox4, 0);  // X
    EXPECT_TRUE(model.checkBox1);
    EXPECT_FALSE(model.checkBox2);
    EXPECT_EQ(model.spinEdit1.text, "-200");
    EXPECT_EQ(model.spinEdit2.text, "100");
    EXPECT_EQ(model.spinEdit3.text, "7");
    EXPECT_EQ(model.spinEdit4.text, "3");
    EXPECT_EQ(model.spinEdit1.minimum, kZoomCentre.minimum);
    EXPECT_EQ(model.spinEdit4.maximum, kZoomHalfWidth.maximum);
}

// Settings change no run state: the lists, the picture and the phase stay.
TEST(RunSettings, ApplyingLeavesTheRunAsItStands) {
    auto model = newModel(0, "-y", "-x");
    model->labeledEdit16 = "5";
    startAction(*model);
    ASSERT_EQ(runTicks(*model, 3), 3);
    const RunModel before = *model;
    applySettings(unusual(), *model);
    EXPECT_EQ(model->listBox1, before.listBox1);
    EXPECT_EQ(model->listBox3, before.listBox3);
    EXPECT_EQ(model->timer1.tag, before.timer1.tag);
    EXPECT_EQ(model->tickCount, before.tickCount);
    EXPECT_TRUE(sameSurface(model->surface, before.surface));
}

// A model with no item selected reads as the start-up items, as the tick's fallbacks aside.
TEST(RunSettings, AModelWithNothingSelectedReadsAsTheStartUpItems) {
    RunModel model;
    model.graphMode = 9;
    model.comboBox1 = -1;
    model.comboBox2 = 3;
    model.comboBox3 = -1;
    model.comboBox4 = 7;
    model.spinEdit1.text = "abc";
    const RunSettings read = settingsOf(model, U'.');
    EXPECT_EQ(read.graphMode, 0);
    EXPECT_EQ(read.drawingSpeed, kDefaultDrawingSpeed);
    EXPECT_EQ(read.timeStep, kDefaultTimeStep);
    EXPECT_EQ(read.viewRangeY, kDefaultViewRange);
    EXPECT_EQ(read.viewRangeX, kDefaultViewRange);
    EXPECT_EQ(read.zoomX.centre, kZoomCentre.minimum);
}

TEST(HeadlessModel, HasItsConstantsSetAndTheStartUpPicture) {
    const auto model = headlessModel();
    for (const std::string& constant : model->constants)
        EXPECT_EQ(constant, kHeadlessConstant);
    PlotSurface startUp;
    paintStartupFrame(startUp);
    EXPECT_TRUE(sameSurface(model->surface, startUp));
    // Every other control as a fresh model has it.
    RunModel fresh;
    fresh.constants = model->constants;
    EXPECT_EQ(settingsOf(*model, U'.'), settingsOf(fresh, U'.'));
}

}  // namespace
}  // namespace kurvilo

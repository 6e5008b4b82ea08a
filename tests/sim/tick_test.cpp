// SPDX-License-Identifier: MIT
#include <cmath>
#include <cstdint>

#include "common.h"
#include "numbers/integer_text.h"
#include "tick_support.h"

namespace kurvilo {
namespace {

TEST(StartAction, PreparesAFreshRun) {
    auto model = newModel(0, "-y", "-x");
    model->listBox1 = {"1", "2", "3", "4", "5"};
    model->listBox3 = {"7", "8"};
    model->label3 = "エラー";
    model->timer1.tag = RunPhase::Drawing;
    model->timer1.interval = 1000;
    model->shape1.visible = true;
    model->spinEdit1.text = "5";
    model->spinEdit3.text = "-7";
    model->checkBox2 = true;  // the Y zoom keeps its centre
    model->surface.moveTo(0, 0);
    model->surface.lineTo(400, 400);

    startAction(*model);

    EXPECT_EQ(model->timer1.tag, RunPhase::Fresh);
    EXPECT_TRUE(model->listBox1.empty());
    EXPECT_TRUE(model->listBox3.empty());
    EXPECT_FALSE(model->settingsEnabled);
    EXPECT_FALSE(model->button16Enabled);
    EXPECT_EQ(model->label3, "");
    EXPECT_EQ(model->spinEdit1.text, "0");
    EXPECT_EQ(model->spinEdit3.text, "-7");
    EXPECT_FALSE(model->shape1.visible);
    EXPECT_TRUE(model->timer1.enabled);
    EXPECT_EQ(model->timer1.interval, 1000);  // the first tick sets the new one
    PlotSurface grid;
    repaintForRun(grid);
    EXPECT_TRUE(sameSurface(model->surface, grid));
}

TEST(StopAction, EnablesTheSettingsAndKeepsTheRun) {
    auto model = newModel(0, "-y", "-x");
    model->labeledEdit16 = "5";
    startAction(*model);
    ASSERT_EQ(runTicks(*model, 3), 3);
    const Texts values = model->listBox1;
    const Texts pixel = model->listBox3;

    stopAction(*model);

    EXPECT_TRUE(model->settingsEnabled);
    EXPECT_TRUE(model->button16Enabled);
    EXPECT_FALSE(model->timer1.enabled);
    EXPECT_EQ(model->timer1.tag, RunPhase::Drawing);
    EXPECT_EQ(model->listBox1, values);
    EXPECT_EQ(model->listBox3, pixel);
    EXPECT_EQ(model->label3, "");
}

TEST(TypicalRoad, HarmonicOscillatorFirstTick) {
    auto model = newModel(0, "-y", "-x");
    model->labeledEdit16 = "5";  // X=
    model->labeledEdit12 = "5";  // Vy=
    startAction(*model);

    ASSERT_TRUE(Timer1Timer(*model)) << model->lastFailure->message;

    EXPECT_EQ(model->listBox1, (Texts{"-0.05", "4.9995", "5", "0.05", "0.01"}));
    EXPECT_EQ(model->listBox3, (Texts{"251", "201"}));
    EXPECT_EQ(model->timer1.tag, RunPhase::Drawing);
    EXPECT_EQ(model->timer1.interval, 10);  // "1/100s"
    EXPECT_TRUE(model->timer1.enabled);
    EXPECT_FALSE(model->lastFailure);
    // The first segment has zero length: only the grid and the axes are on the surface.
    EXPECT_TRUE(sameSurface(model->surface, *gridWithAxes()));
    EXPECT_TRUE(model->shape1.visible);
    EXPECT_EQ(model->shape1.left, 251);
    EXPECT_EQ(model->shape1.top, 201);
}

TEST(TypicalRoad, SecondTickDrawsFromTheStartPixelToTheStateItStartsFrom) {
    auto model = newModel(0, "-y", "-x");
    model->labeledEdit16 = "5";
    model->labeledEdit12 = "5";
    startAction(*model);
    ASSERT_EQ(runTicks(*model, 2), 2);

    // (4.9995, 0.05) is pixel (250, 200); the segment from (251, 201) paints its start only.
    EXPECT_EQ(model->listBox3, (Texts{"250", "200"}));
    auto expected = gridWithAxes();
    expected->moveTo(251, 201);
    expected->lineTo(250, 200);
    EXPECT_TRUE(sameSurface(model->surface, *expected));
    EXPECT_EQ(model->surface.pixel(251, 201), PlotSurface::kBlack);
    EXPECT_EQ(model->surface.pixel(250, 200), PlotSurface::kBlack);  // the axes cross there
    EXPECT_EQ(model->shape1.left, 250);
    EXPECT_EQ(toText(parseFixed4(model->listBox1[4])), "0.02");
}

TEST(TypicalRoad, EachTickJoinsTheStoredPixelToTheNewOne) {
    auto model = newModel(0, "-y", "-x");
    model->labeledEdit16 = "5";
    model->labeledEdit12 = "5";
    startAction(*model);
    auto expected = gridWithAxes();
    ASSERT_TRUE(Timer1Timer(*model));
    for (int tick = 2; tick <= 200; ++tick) {
        SCOPED_TRACE(tick);
        const Pixel from{parseInteger(model->listBox3[0]), parseInteger(model->listBox3[1])};
        MotionState state;
        for (std::size_t i = 0; i < 5; ++i)
            state.slots[i] = parseFixed4(model->listBox1[i]);
        const Pixel to = mapToPixel(plotPoint(GraphMode::CartesianMotion, state, Fixed4()),
                                    {1000, 0}, {1000, 0});
        ASSERT_TRUE(Timer1Timer(*model));
        expected->moveTo(from.x, from.y);
        expected->lineTo(to.x, to.y);
        ASSERT_EQ(model->listBox3, (Texts{pixelText(to.x), pixelText(to.y)}));
    }
    EXPECT_TRUE(sameSurface(model->surface, *expected));
    // Two seconds of the oscillator: x = 5 cos t, y = 5 sin t, to within the step's error.
    EXPECT_EQ(model->listBox1[4], "2");
    EXPECT_NEAR(static_cast<double>(parseFixed4(model->listBox1[1]).value()), 5 * std::cos(2.0),
                0.05);
    EXPECT_NEAR(static_cast<double>(parseFixed4(model->listBox1[3]).value()), 5 * std::sin(2.0),
                0.05);
}

TEST(Seeding, TextsAreTakenAsTypedAndCanonicalAfterTheFirstTick) {
    auto model = newModel(0, "0", "0");
    model->labeledEdit15 = "+0";
    model->labeledEdit16 = "1.50";
    model->labeledEdit12 = " 2 ";
    model->labeledEdit13 = "1e1";
    startAction(*model);
    ASSERT_TRUE(Timer1Timer(*model));
    EXPECT_EQ(model->listBox1, (Texts{"0", "1.5", "2", "10.02", "0.01"}));
}

TEST(TimeStep, ThousandTicksOfOneThousandthReachExactlyOne) {
    auto model = newModel(0, "0", "0");
    model->comboBox2 = 2;
    startAction(*model);
    ASSERT_EQ(runTicks(*model, 1000), 1000);
    EXPECT_EQ(model->listBox1[4], "1");
}

TEST(CurveModes, CartesianCurveOfXSquared) {
    auto model = newModel(2, "x^2", "");
    model->comboBox2 = 0;
    model->labeledEdit16 = "-2";
    model->labeledEdit15 = "1";
    startAction(*model);
    ASSERT_TRUE(Timer1Timer(*model)) << model->lastFailure->message;
    EXPECT_EQ(model->listBox1[1], "-1.9");
    EXPECT_EQ(model->listBox1[3], "4");
    ASSERT_TRUE(Timer1Timer(*model));
    EXPECT_EQ(model->listBox1[1], "-1.8");
    EXPECT_EQ(model->listBox1[3], "3.61");
    EXPECT_EQ(model->listBox1[0], "1");  // vx carried over
}

TEST(CurveModes, PolarCurveOfConstantTenLiesOnACircle) {
    auto model = newModel(3, "10", "");
    model->comboBox2 = 0;
    model->labeledEdit15 = "1";
    startAction(*model);
    ASSERT_TRUE(Timer1Timer(*model));
    EXPECT_EQ(model->listBox1[1], "0.1");
    EXPECT_EQ(model->listBox1[3], "10");
    EXPECT_EQ(model->listBox3, (Texts{"301", "201"}));
    for (int tick = 2; tick <= 63; ++tick) {
        ASSERT_TRUE(Timer1Timer(*model));
        const double dx = parseInteger(model->listBox3[0]) - 201;
        const double dy = 201 - parseInteger(model->listBox3[1]);
        EXPECT_NEAR(std::hypot(dx, dy), 100.0, 1.5) << tick;
    }
}

TEST(PolarMotion, ZeroFormulasTravelAlongACircleOfRadiusFive) {
    auto model = newModel(1, "0", "0");
    model->comboBox2 = 0;
    model->labeledEdit13 = "5";  // r=
    model->labeledEdit15 = "1";  // Vθ=
    startAction(*model);
    for (int tick = 1; tick <= 63; ++tick) {
        ASSERT_TRUE(Timer1Timer(*model));
        EXPECT_EQ(model->listBox1[3], "5");
        EXPECT_EQ(parseFixed4(model->listBox1[1]), Fixed4::fromUnits(1000 * tick));
        const double dx = parseInteger(model->listBox3[0]) - 201;
        const double dy = 201 - parseInteger(model->listBox3[1]);
        EXPECT_NEAR(std::hypot(dx, dy), 50.0, 1.5) << tick;
    }
}

TEST(StartPixel, PolarStartPixelsOnTheTwentyRange) {
    const struct {
        const char* theta;
        Texts pixel;
    } cases[] = {{"0", {"301", "201"}}, {"3.1416", {"101", "201"}}, {"1.5708", {"200", "101"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.theta);
        auto model = newModel(1, "0", "0");
        model->labeledEdit16 = c.theta;
        model->labeledEdit13 = "10";
        startAction(*model);
        ASSERT_TRUE(Timer1Timer(*model));
        // The first tick stores the pixel of the state it started from: the start pixel.
        EXPECT_EQ(model->listBox3, c.pixel);
    }
}

TEST(StartPixel, ZoomWindowAndItsCentre) {
    auto model = newModel(0, "0", "0");
    model->checkBox1 = true;
    model->spinEdit1.text = "3";
    model->spinEdit2.text = "1";
    model->labeledEdit16 = "3.5";
    startAction(*model);
    ASSERT_TRUE(Timer1Timer(*model));
    EXPECT_EQ(model->spinEdit1.text, "3");
    EXPECT_EQ(model->listBox3, (Texts{"301", "201"}));
}

TEST(StartPixel, UnreadableSpinTextReadsAsTheMinimum) {
    auto model = newModel(0, "0", "0");
    model->checkBox1 = true;
    model->spinEdit1.text = "0";
    model->spinEdit2.text = "wide";  // minimum 1: scale 50
    model->labeledEdit16 = "0.5";
    startAction(*model);
    ASSERT_TRUE(Timer1Timer(*model));
    EXPECT_EQ(model->listBox3[0], "301");
}

TEST(Marker, ShowsInsideAndHidesAtTheEdgesKeepingItsPosition) {
    const struct {
        const char* x;
        bool visible;
        int left;
    } cases[] = {
        {"19.4", true, 395},
        {"19.5", false, 200},
        {"-19.6", true, 5},
        {"-19.7", false, 200},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x);
        auto model = newModel(0, "0", "0");
        model->labeledEdit16 = c.x;
        startAction(*model);
        ASSERT_TRUE(Timer1Timer(*model));
        EXPECT_EQ(model->shape1.visible, c.visible);
        EXPECT_EQ(model->shape1.left, c.left);
    }
}

TEST(Interval, FirstTickSetsItFromTheDrawingSpeed) {
    const struct {
        int comboBox1;
        int interval;
    } cases[] = {{0, 1000}, {1, 100}, {2, 10}, {-1, 250}, {5, 250}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.comboBox1);
        auto model = newModel(0, "0", "0");
        model->comboBox1 = c.comboBox1;
        model->timer1.interval = 250;
        startAction(*model);
        ASSERT_TRUE(Timer1Timer(*model));
        EXPECT_EQ(model->timer1.interval, c.interval);
        // Later ticks leave it alone.
        model->comboBox1 = 0;
        ASSERT_TRUE(Timer1Timer(*model));
        EXPECT_EQ(model->timer1.interval, c.interval);
    }
}

TEST(Restart, ANewStartSeedsAgainFromTheFields) {
    auto model = newModel(0, "0", "0");
    model->labeledEdit15 = "1";
    startAction(*model);
    ASSERT_EQ(runTicks(*model, 10), 10);
    stopAction(*model);
    model->labeledEdit15 = "2";
    startAction(*model);
    ASSERT_TRUE(Timer1Timer(*model));
    EXPECT_EQ(model->listBox1, (Texts{"2", "0.02", "0", "0", "0.01"}));
    EXPECT_EQ(model->listBox3, (Texts{"201", "201"}));
}

TEST(Constants, TheFormulasReadTheKeypadFields) {
    auto model = newModel(0, "a", "b");
    model->constants = {"2", "-3", "0", "0"};
    startAction(*model);
    ASSERT_TRUE(Timer1Timer(*model)) << model->lastFailure->message;
    EXPECT_EQ(model->listBox1[0], "-0.03");
    EXPECT_EQ(model->listBox1[2], "0.02");
}

}  // namespace
}  // namespace kurvilo

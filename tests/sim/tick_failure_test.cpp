// SPDX-License-Identifier: MIT
#include <string>

#include "common.h"
#include "tick_support.h"

namespace kurvilo {
namespace {

// Everything a failed tick must leave as the window shows it after "描写中止".
void expectStoppedWithError(const RunModel& model, const char* kind) {
    EXPECT_EQ(model.label3, "エラー");
    EXPECT_FALSE(model.timer1.enabled);
    EXPECT_TRUE(model.settingsEnabled);
    EXPECT_TRUE(model.button16Enabled);
    ASSERT_TRUE(model.lastFailure.has_value());
    EXPECT_EQ(model.lastFailure->kind, kind) << model.lastFailure->message;
}

TEST(FirstTickFailure, FailingFormulaLeavesTheSeedsAndTheAxes) {
    auto model = newModel(0, "1/0", "0");
    model->labeledEdit16 = "1.50";
    startAction(*model);

    EXPECT_FALSE(Timer1Timer(*model));

    expectStoppedWithError(*model, "EZeroDivide");
    EXPECT_EQ(model->lastFailure->message, "Floating point division by zero");
    EXPECT_EQ(model->listBox1, (Texts{"0", "1.50", "0", "0", "0"}));
    EXPECT_TRUE(model->listBox3.empty());
    EXPECT_EQ(model->timer1.tag, RunPhase::Seeded);
    EXPECT_EQ(model->timer1.interval, 10);
    EXPECT_TRUE(sameSurface(model->surface, *gridWithAxes()));
    EXPECT_FALSE(model->shape1.visible);
}

TEST(FirstTickFailure, SecondFormulaIsEvaluatedFirst) {
    auto model = newModel(0, "ln(0)", "ln(-1)");
    startAction(*model);
    EXPECT_FALSE(Timer1Timer(*model));
    expectStoppedWithError(*model, "EInvalidOp");
}

TEST(FirstTickFailure, BadInitialTextFailsAtTheStartPixelAfterItsX) {
    // Slot 3's text is first parsed for the start pixel's Y, after X has been stored.
    auto model = newModel(0, "0", "0");
    model->labeledEdit13 = "abc";
    startAction(*model);
    EXPECT_FALSE(Timer1Timer(*model));
    expectStoppedWithError(*model, "EConvertError");
    EXPECT_EQ(model->lastFailure->message, "'abc' is not a valid floating point value");
    EXPECT_EQ(model->listBox1, (Texts{"0", "0", "0", "abc", "0"}));
    EXPECT_EQ(model->listBox3, (Texts{"201"}));
    EXPECT_EQ(model->timer1.tag, RunPhase::Seeded);
}

TEST(FirstTickFailure, CurveModesMeetABadSlotThreeTextWhenReadingTheState) {
    // The curve modes never read "Y=" for the start pixel; the state read-back still parses it.
    auto model = newModel(2, "1", "");
    model->labeledEdit13 = "";
    startAction(*model);
    EXPECT_FALSE(Timer1Timer(*model));
    expectStoppedWithError(*model, "EConvertError");
    EXPECT_EQ(model->lastFailure->message, "'' is not a valid floating point value");
    EXPECT_EQ(model->listBox1, (Texts{"0", "0", "0", "", "0"}));
    EXPECT_EQ(model->listBox3, (Texts{"201", "191"}));
    EXPECT_EQ(model->timer1.tag, RunPhase::Drawing);
}

TEST(FirstTickFailure, FormulaReadingABadSlotFailsBeforeTheStartPixel) {
    auto model = newModel(0, "vy", "0");
    model->labeledEdit12 = "fast";
    startAction(*model);
    EXPECT_FALSE(Timer1Timer(*model));
    expectStoppedWithError(*model, "EConvertError");
    EXPECT_TRUE(model->listBox3.empty());
}

TEST(FirstTickFailure, StartPixelBeyondTheFixed4RangeFailsAtTheRounding) {
    auto model = newModel(0, "0", "0");
    model->comboBox4 = 0;  // 100 units per pixel
    model->labeledEdit16 = "900000000000000";
    startAction(*model);
    EXPECT_FALSE(Timer1Timer(*model));
    expectStoppedWithError(*model, "EInvalidOp");
    EXPECT_TRUE(model->listBox3.empty());
}

TEST(FirstTickFailure, StartPixelBeyondThirtyTwoBitsFailsBeforeItIsStored) {
    auto model = newModel(0, "0", "0");
    model->comboBox4 = 0;
    model->labeledEdit16 = "30000000";  // pixel 3000000201
    startAction(*model);
    EXPECT_FALSE(Timer1Timer(*model));
    expectStoppedWithError(*model, "EConvertError");
    EXPECT_EQ(model->lastFailure->message, "'3000000201' is not a valid integer value");
    EXPECT_TRUE(model->listBox3.empty());
    EXPECT_EQ(model->timer1.tag, RunPhase::Seeded);
}

TEST(FirstTickFailure, StartPixelKeepsItsXWhenOnlyYIsBeyondThirtyTwoBits) {
    auto model = newModel(0, "0", "0");
    model->comboBox3 = 0;
    model->labeledEdit13 = "-30000000";  // py 3000000201
    startAction(*model);
    EXPECT_FALSE(Timer1Timer(*model));
    expectStoppedWithError(*model, "EConvertError");
    EXPECT_EQ(model->listBox3, (Texts{"201"}));
    EXPECT_EQ(model->timer1.tag, RunPhase::Seeded);
}

// A run that moves x by 10^7 per tick on the finest view: pixels 201, 10^9 + 201,
// 2·10^9 + 201, then 3·10^9 + 201, which no longer fits in 32 bits.
std::unique_ptr<RunModel> runawayRun() {
    auto model = newModel(0, "0", "0");
    model->comboBox4 = 0;
    model->labeledEdit15 = "1000000000";
    startAction(*model);
    return model;
}

TEST(LaterTickFailure, PointLeavingTheThirtyTwoBitRangeKeepsThePreviousTick) {
    auto model = runawayRun();
    ASSERT_EQ(runTicks(*model, 3), 3);
    EXPECT_EQ(model->listBox3, (Texts{"2000000201", "201"}));
    const Texts values = model->listBox1;
    const Texts pixel = model->listBox3;
    const MarkerState marker = model->shape1;
    auto picture = std::make_unique<PlotSurface>(model->surface);

    EXPECT_FALSE(Timer1Timer(*model));

    expectStoppedWithError(*model, "EConvertError");
    EXPECT_EQ(model->lastFailure->message, "'3000000201' is not a valid integer value");
    EXPECT_EQ(model->listBox1, values);
    EXPECT_EQ(model->listBox3, pixel);
    EXPECT_EQ(model->shape1.visible, marker.visible);
    EXPECT_TRUE(sameSurface(model->surface, *picture));
    EXPECT_EQ(model->timer1.tag, RunPhase::Drawing);
}

TEST(LaterTickFailure, ClippedRunKeepsDrawingUntilItLeavesTheRange) {
    auto model = runawayRun();
    ASSERT_EQ(runTicks(*model, 10), 3);
    // The second segment ran from (201, 201) far to the right: the row is black to the edge.
    for (int x = 201; x <= 400; ++x)
        EXPECT_EQ(model->surface.pixel(x, 201), PlotSurface::kBlack);
    EXPECT_FALSE(model->shape1.visible);
}

TEST(FirstTickFailure, ValueLeavingTheFixed4RangeInTheStep) {
    // vy + 100·0.01 passes 922337203685477.5807; the start pixel and the mapping came first.
    auto model = newModel(0, "100", "0");
    model->labeledEdit12 = "922337203685477";
    startAction(*model);
    EXPECT_FALSE(Timer1Timer(*model));
    expectStoppedWithError(*model, "EInvalidOp");
    EXPECT_EQ(model->listBox1, (Texts{"0", "0", "922337203685477", "0", "0"}));
    EXPECT_EQ(model->listBox3, (Texts{"201", "201"}));
    EXPECT_EQ(model->timer1.tag, RunPhase::Drawing);
}

TEST(LaterTickFailure, FormulaFailingMidRunKeepsThePreviousTick) {
    // 1/(t − 0.02) divides by zero on the third tick, when t is 0.02.
    auto model = newModel(0, "1/(t-0.02)", "0");
    startAction(*model);
    ASSERT_EQ(runTicks(*model, 2), 2);
    const Texts values = model->listBox1;
    const Texts pixel = model->listBox3;
    EXPECT_FALSE(Timer1Timer(*model));
    expectStoppedWithError(*model, "EZeroDivide");
    EXPECT_EQ(model->listBox1, values);
    EXPECT_EQ(model->listBox3, pixel);
}

TEST(MissingListItem, FailsTheTickLikeAnyOtherFailure) {
    auto model = newModel(0, "0", "0");
    startAction(*model);
    ASSERT_TRUE(Timer1Timer(*model));
    model->listBox3.pop_back();
    EXPECT_FALSE(Timer1Timer(*model));
    expectStoppedWithError(*model, "EStringListError");
    EXPECT_EQ(model->lastFailure->message, "List index out of bounds (1)");
}

TEST(BrokenGraphMode, FailsTheTickInsteadOfGuessing) {
    auto model = newModel(7, "0", "0");
    startAction(*model);
    EXPECT_FALSE(Timer1Timer(*model));
    expectStoppedWithError(*model, "Exception");
}

TEST(FailureRecord, NamesTheTickAndTheTimeBeforeIt) {
    // 1/(t − 0.02) divides by zero on the third tick, when t is 0.02.
    auto model = newModel(0, "1/(t-0.02)", "0");
    startAction(*model);
    EXPECT_EQ(runTicks(*model, 5), 2);
    ASSERT_TRUE(model->lastFailure);
    EXPECT_EQ(model->lastFailure->tick, 3u);
    EXPECT_EQ(model->lastFailure->t, "0.02");
    // A new start counts from 1 again.
    startAction(*model);
    model->edit1 = "1/0";
    EXPECT_FALSE(Timer1Timer(*model));
    EXPECT_EQ(model->lastFailure->tick, 1u);
    EXPECT_EQ(model->lastFailure->t, "0");
}

// Evaluates like the engine but cancels the evaluation on a chosen tick, as "描写中止" does
// while a long tick runs.
class CancellingEvaluator : public FormulaPairEvaluator {
  public:
    explicit CancellingEvaluator(int cancelOnCall) : cancelOnCall_(cancelOnCall) {}
    void evaluate(std::string_view formula2, std::string_view formula1, const FormulaTexts& texts,
                  Fixed4& e2, Fixed4& e1) override {
        CancellationToken token;
        if (++calls_ == cancelOnCall_) token.cancel();
        EvaluationOptions options;
        options.cancel = &token;
        e2 = EvaluateFormula(formula2, texts, options);
        e1 = EvaluateFormula(formula1, texts, options);
    }
    int calls() const { return calls_; }

  private:
    int cancelOnCall_;
    int calls_ = 0;
};

TEST(CancelledTick, StopsTheRunWithoutAnErrorAndKeepsThePreviousTick) {
    auto model = newModel(0, "-y", "-x");
    model->labeledEdit16 = "5";
    startAction(*model);
    CancellingEvaluator evaluator(3);
    ASSERT_TRUE(Timer1Timer(*model, &evaluator));
    ASSERT_TRUE(Timer1Timer(*model, &evaluator));
    const Texts values = model->listBox1;
    const Texts pixel = model->listBox3;
    auto picture = std::make_unique<PlotSurface>(model->surface);

    EXPECT_FALSE(Timer1Timer(*model, &evaluator));

    EXPECT_EQ(evaluator.calls(), 3);
    EXPECT_EQ(model->label3, "");
    EXPECT_FALSE(model->timer1.enabled);
    EXPECT_TRUE(model->settingsEnabled);
    EXPECT_TRUE(model->button16Enabled);
    ASSERT_TRUE(model->lastFailure);
    EXPECT_EQ(model->lastFailure->kind, "EAbort");
    EXPECT_EQ(model->listBox1, values);
    EXPECT_EQ(model->listBox3, pixel);
    EXPECT_TRUE(sameSurface(model->surface, *picture));
}

// A cancelled tick does not count, and the run goes on from it as if it had never been: the
// ticks after it give what the same number of uninterrupted ticks gives, a first tick too.
TEST(CancelledTick, DoesNotCountAndTheRunGoesOnAsIfUncancelled) {
    for (const int cancelled : {1, 2, 7}) {
        SCOPED_TRACE(cancelled);
        auto uninterrupted = newModel(0, "-y", "-x");
        uninterrupted->labeledEdit16 = "5";
        auto stopped = std::make_unique<RunModel>(*uninterrupted);
        startAction(*uninterrupted);
        startAction(*stopped);
        ASSERT_EQ(runTicks(*uninterrupted, 10), 10);
        CancellingEvaluator evaluator(cancelled);
        // The tick after the cancelled one goes on as F6 would after the stop.
        for (int call = 1; call <= 11; ++call)
            EXPECT_EQ(Timer1Timer(*stopped, &evaluator), call != cancelled);
        EXPECT_EQ(stopped->tickCount, 10u);
        EXPECT_EQ(stopped->listBox1, uninterrupted->listBox1);
        EXPECT_EQ(stopped->listBox3, uninterrupted->listBox3);
        EXPECT_TRUE(sameSurface(stopped->surface, uninterrupted->surface));
    }
}

TEST(CancelledTick, AnEvaluatorThatCancelsNothingGivesTheSameRun) {
    auto plain = newModel(1, "-r", "0.5");
    plain->labeledEdit13 = "3";
    auto viaEvaluator = newModel(1, "-r", "0.5");
    viaEvaluator->labeledEdit13 = "3";
    startAction(*plain);
    startAction(*viaEvaluator);
    CancellingEvaluator evaluator(0);
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(Timer1Timer(*plain));
        ASSERT_TRUE(Timer1Timer(*viaEvaluator, &evaluator));
    }
    EXPECT_EQ(viaEvaluator->listBox1, plain->listBox1);
    EXPECT_EQ(viaEvaluator->listBox3, plain->listBox3);
    EXPECT_TRUE(sameSurface(viaEvaluator->surface, plain->surface));
}

TEST(ItemsReadBack, AnItemChangedBetweenTicksIsReadAsItNowStands) {
    // The tick takes the values it wrote itself only while the items hold exactly its texts.
    auto model = newModel(0, "-y", "-x");
    model->labeledEdit16 = "5";
    model->labeledEdit12 = "5";
    startAction(*model);
    ASSERT_EQ(runTicks(*model, 3), 3);
    auto edited = std::make_unique<RunModel>(*model);
    edited->listBox1[1] = "3.25";  // x
    edited->listBox3[0] = "0x10";  // px, in hexadecimal
    ASSERT_TRUE(Timer1Timer(*edited));
    // The same state typed in fresh, with no written values to take.
    auto fresh = std::make_unique<RunModel>(*model);
    fresh->listBox1[1] = "3.25";
    fresh->listBox3[0] = "0x10";
    fresh->writtenSeparator = 0;
    ASSERT_TRUE(Timer1Timer(*fresh));
    EXPECT_EQ(edited->listBox1, fresh->listBox1);
    EXPECT_EQ(edited->listBox3, fresh->listBox3);
    EXPECT_TRUE(sameSurface(edited->surface, fresh->surface));

    edited->listBox1[0] = "abc";  // vx, which no formula reads: only the read-back parses it
    EXPECT_FALSE(Timer1Timer(*edited));
    EXPECT_EQ(edited->lastFailure->message, "'abc' is not a valid floating point value");
}

TEST(ItemsReadBack, AnItemThatKeepsItsValueIsWrittenAgainWhereItsTextWasChanged) {
    // x and the pixels stay as they were from tick to tick; the tick leaves an item alone only
    // while it holds exactly the text it would write.
    auto model = newModel(0, "0", "0");
    model->labeledEdit16 = "1.5";
    startAction(*model);
    ASSERT_EQ(runTicks(*model, 3), 3);
    ASSERT_EQ(model->listBox1[1], "1.5");
    const std::string px = model->listBox3[0];
    model->listBox1[1] = "1.50";
    model->listBox3[0] = " " + px;
    ASSERT_TRUE(Timer1Timer(*model));
    EXPECT_EQ(model->listBox1[1], "1.5");
    EXPECT_EQ(model->listBox3[0], px);
    ASSERT_TRUE(Timer1Timer(*model));
    EXPECT_EQ(model->listBox1[1], "1.5");
    EXPECT_EQ(model->listBox3[0], px);
}

TEST(ItemsReadBack, ASeparatorChangedBetweenTicksFailsLikeTheParse) {
    // A text written with "." no longer parses once "," is the separator, even one the tick
    // wrote itself. The formulas read no item here: the tick's read-back meets the text first.
    SeparatorGuard guard;
    auto model = newModel(0, "0", "0");
    model->labeledEdit16 = "1.5";
    startAction(*model);
    ASSERT_EQ(runTicks(*model, 2), 2);
    ASSERT_EQ(model->listBox1[1], "1.5");
    setDecimalSeparator(U',');
    EXPECT_FALSE(Timer1Timer(*model));
    EXPECT_EQ(model->lastFailure->message, "'1.5' is not a valid floating point value");
}

TEST(Recovery, AGoodTickClearsTheLastFailureAndTheNextStartClearsTheError) {
    auto model = newModel(0, "1/0", "0");
    startAction(*model);
    ASSERT_FALSE(Timer1Timer(*model));
    model->edit1 = "0";
    startAction(*model);
    EXPECT_EQ(model->label3, "");
    EXPECT_FALSE(model->lastFailure);
    EXPECT_TRUE(Timer1Timer(*model));
    EXPECT_FALSE(model->lastFailure);
}

}  // namespace
}  // namespace kurvilo

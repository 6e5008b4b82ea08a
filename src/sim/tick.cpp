// SPDX-License-Identifier: MIT
#include "sim/tick.h"

#include <cstring>
#include <exception>
#include <new>
#include <string>
#include <string_view>

#include "formula/evaluate.h"
#include "numbers/failures.h"
#include "numbers/fixed4.h"
#include "numbers/integer_text.h"
#include "numbers/separator.h"
#include "sim/list_items.h"
#include "sim/motion.h"
#include "sim/settings.h"
#include "sim/view_mapping.h"

namespace kurvilo {

namespace {

std::int32_t readSpin(const SpinControl& spin) noexcept {
    return readSpinControl(spin.text, spin.minimum);
}

std::int64_t axisScale(int viewRangeIndex, bool zoomOn, const SpinControl& halfWidth) noexcept {
    return zoomOn ? zoomScale(readSpin(halfWidth)) : viewRangeScale(viewRangeIndex);
}

// ComboBox1's drawing speed; no selection or any other index leaves the interval as it is.
int intervalFor(int comboBox1Index, int current) noexcept {
    const bool listed =
        comboBox1Index >= 0 && comboBox1Index < static_cast<int>(kDrawingSpeeds.size());
    return listed ? kDrawingSpeeds[static_cast<std::size_t>(comboBox1Index)].intervalMs : current;
}

// What the formula engine substitutes: ListBox1's five texts and the keypad's constants, by
// reference.
FormulaTexts formulaTexts(const RunModel& model) {
    FormulaTexts texts;
    for (std::size_t i = 0; i < MotionState::kSlotCount; ++i) {
        texts.values[i] = listItem(model.listBox1, i);
    }
    for (std::size_t i = 0; i < model.constants.size(); ++i)
        texts.constants[i] = model.constants[i];
    return texts;
}

// The item the tick wrote last, when the list still holds exactly its text (and the separator is
// still the one it was written with): the value it was written from, else none.
const RunModel::WrittenItem* unchangedItem(const RunModel& model, std::size_t written,
                                           const std::string& text) noexcept {
    const RunModel::WrittenItem& item = model.written[written];
    if (model.writtenSeparator != decimalSeparator() ||
        std::string_view(text) != std::string_view(item.text.data(), item.length)) {
        return nullptr;
    }
    return &item;
}

// ListBox1's item i as a value, by the parse (EConvertError for a text it rejects).
Fixed4 readSlot(const RunModel& model, std::size_t i) {
    const std::string& text = listItem(model.listBox1, i);
    if (const RunModel::WrittenItem* item = unchangedItem(model, i, text)) {
        return Fixed4::fromUnits(item->units);
    }
    return parseFixed4(text);
}

// ListBox3's item i as a pixel coordinate, by the integer parse.
std::int32_t readPixel(const RunModel& model, std::size_t i) {
    const std::string& text = listItem(model.listBox3, i);
    if (const RunModel::WrittenItem* item =
            unchangedItem(model, MotionState::kSlotCount + i, text)) {
        return static_cast<std::int32_t>(item->units);
    }
    return parseInteger(text);
}

// Writes a value's text form into a list item and notes what it wrote. An item that still holds
// the text the tick before wrote for the same units already holds this text (the separator being
// the same): it is left as it is.
void writeItem(RunModel& model, std::string& item, std::size_t written, Fixed4 value,
               std::int64_t units) {
    RunModel::WrittenItem& note = model.written[written];
    if (note.units == units && unchangedItem(model, written, item) != nullptr) return;
    note.length = formatTo(note.text.data(), value);
    note.units = units;
    // Most items keep their length from tick to tick: then the text is written in place.
    if (item.size() != note.length) item.resize(note.length);
    std::memcpy(item.data(), note.text.data(), note.length);
}

// Steps 1 to 12 of a tick. Everything the tick does before a failure stays; ListBox1 and ListBox3
// are rewritten only at the very end, so a failure in the formulas, the mapping or the step
// leaves them as the tick before wrote them.
void runTick(RunModel& model, FormulaPairEvaluator* evaluator) {
    // 1, 2: time step and scales, every tick, Y before X.
    const Fixed4 dt = timeStepFor(model.comboBox2);
    const std::int64_t scaleY = axisScale(model.comboBox3, model.checkBox2, model.spinEdit4);
    const std::int64_t scaleX = axisScale(model.comboBox4, model.checkBox1, model.spinEdit2);

    // 3: a fresh run seeds the state exactly as typed.
    if (model.timer1.tag == RunPhase::Fresh) {
        model.listBox1.clear();
        model.listBox3.clear();
        drawAxes(model.surface);
        model.listBox1 = {model.labeledEdit15, model.labeledEdit16, model.labeledEdit12,
                          model.labeledEdit13, "0"};
        model.timer1.tag = RunPhase::Seeded;
        model.timer1.interval = intervalFor(model.comboBox1, model.timer1.interval);
    }

    // 4: both formulas see the state before this tick's step.
    const FormulaTexts texts = formulaTexts(model);
    Fixed4 e2;
    Fixed4 e1;
    if (evaluator != nullptr) {
        evaluator->evaluate(model.edit2, model.edit1, texts, e2, e1);
    } else {
        e2 = EvaluateFormula(model.edit2, texts);
        e1 = EvaluateFormula(model.edit1, texts);
    }

    const GraphMode mode = graphModeFromIndex(model.graphMode);

    // 5: the start pixel, from the typed initial texts. Each coordinate is stored as soon as it
    // is known, so a failure in Y leaves X behind.
    if (model.timer1.tag == RunPhase::Seeded) {
        model.listBox3.clear();
        const AxisView startX{scaleX, readSpin(model.spinEdit1)};
        // Like every pixel, each coordinate goes through its text and the integer parse, so one
        // beyond 32 bits fails here, before it is stored.
        model.listBox3.push_back(pixelText(pixelFromCoordinate(pixelCoordinateX(
            startPlotX(mode, model.labeledEdit16, model.labeledEdit13, e1), startX))));
        const AxisView startY{scaleY, readSpin(model.spinEdit3)};
        model.listBox3.push_back(pixelText(pixelFromCoordinate(pixelCoordinateY(
            startPlotY(mode, model.labeledEdit16, model.labeledEdit13, e1), startY))));
        model.timer1.tag = RunPhase::Drawing;
    }

    // 6: the state, read back from its texts.
    MotionState state;
    for (std::size_t i = 0; i < MotionState::kSlotCount; ++i)
        state.slots[i] = readSlot(model, i);

    // 7: the pen goes to the pixel the tick before reached.
    const std::int32_t fromX = readPixel(model, 0);
    const std::int32_t fromY = readPixel(model, 1);
    model.surface.moveTo(fromX, fromY);

    // 8: the pixel of the state before the step; the centres are read at every mapping.
    const AxisView xView{scaleX, readSpin(model.spinEdit1)};
    const AxisView yView{scaleY, readSpin(model.spinEdit3)};
    const Pixel pixel = isCartesian(mode)
                            ? mapUnitsToPixel(cartesianPoint(mode, state, e1), xView, yView)
                            : mapToPixel(plotPoint(mode, state, e1), xView, yView);

    // 9: the step. Nothing after it can fail.
    const MotionState next = motionStep(mode, state, e1, e2, dt);

    // 10, 11: the segment, then the marker.
    model.surface.lineTo(pixel.x, pixel.y);
    model.shape1.visible = true;
    if (markerShows(pixel)) {
        model.shape1.left = pixel.x;
        model.shape1.top = pixel.y;
    } else {
        model.shape1.visible = false;
    }

    // 12: the lists, rewritten in place (their strings keep their buffers).
    model.listBox1.resize(MotionState::kSlotCount);
    for (std::size_t i = 0; i < MotionState::kSlotCount; ++i)
        writeItem(model, model.listBox1[i], i, next.slots[i], next.slots[i].units());
    model.listBox3.resize(2);
    writeItem(model, model.listBox3[0], MotionState::kSlotCount, Fixed4::fromInteger(pixel.x),
              pixel.x);
    writeItem(model, model.listBox3[1], MotionState::kSlotCount + 1, Fixed4::fromInteger(pixel.y),
              pixel.y);
    model.writtenSeparator = decimalSeparator();
}

// Records why the tick ended, stops the run as "描写中止" does, and shows "エラー" unless the
// evaluation was cancelled.
void endTick(RunModel& model, std::string kind, std::string message, bool showError) {
    if (showError) model.label3 = "エラー";
    stopAction(model);
    TickFailure failure{std::move(kind), std::move(message), model.tickCount, {}};
    if (model.listBox1.size() > MotionState::kTime) failure.t = model.listBox1[MotionState::kTime];
    model.lastFailure = std::move(failure);
}

}  // namespace

std::unique_ptr<RunModel> headlessModel() {
    auto model = std::make_unique<RunModel>();
    model->constants.fill(std::string(kHeadlessConstant));
    paintStartupFrame(model->surface);
    return model;
}

void startAction(RunModel& model) {
    model.timer1.tag = RunPhase::Fresh;
    model.listBox1.clear();
    model.listBox3.clear();
    model.settingsEnabled = false;
    model.button16Enabled = false;
    repaintForRun(model.surface);
    model.label3.clear();
    if (!model.checkBox1) model.spinEdit1.text = "0";
    if (!model.checkBox2) model.spinEdit3.text = "0";
    model.shape1.visible = false;
    model.timer1.enabled = true;
    model.tickCount = 0;
    model.writtenSeparator = 0;
    model.lastFailure.reset();
}

void stopAction(RunModel& model) {
    model.settingsEnabled = true;
    model.button16Enabled = true;
    model.timer1.enabled = false;
}

void resumeAction(RunModel& model) {
    model.settingsEnabled = false;
    model.button16Enabled = false;
    model.timer1.enabled = true;
}

bool Timer1Timer(RunModel& model, FormulaPairEvaluator* evaluator) {
    // The one place where failures are caught: the tick ends where it failed, "エラー" shows
    // and the run stops as if "描写中止" had been pressed.
    ++model.tickCount;
    try {
        runTick(model, evaluator);
        model.lastFailure.reset();
        return true;
    } catch (const EAbort& cancelled) {
        endTick(model, cancelled.kind(), std::string(cancelled.message()), false);
        // Cancelled in its evaluation, the tick leaves nothing the next one does not go on from
        // as this one would have (a first tick's seeding and axes stay, and the phase says so).
        --model.tickCount;
    } catch (const Failure& failure) {
        endTick(model, failure.kind(), std::string(failure.message()), true);
    } catch (const std::bad_alloc&) {
        const EOutOfMemory failure;
        endTick(model, failure.kind(), std::string(failure.message()), true);
    } catch (const std::exception& other) {
        endTick(model, "Exception", other.what(), true);
    }
    return false;
}

}  // namespace kurvilo

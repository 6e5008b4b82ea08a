// SPDX-License-Identifier: MIT
// One run without windows: a plain model of exactly the controls a tick reads and writes, the
// start and stop actions, and the tick driver Timer1Timer with its one catch-all. The window copies
// its widgets into the model, calls in, and copies the written parts back; kurvilo-cli run drives
// the same model headlessly.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formula/evaluate.h"
#include "sim/plot_surface.h"
#include "sim/settings.h"

namespace kurvilo {

// An integer spin control: its text is read by the integer parse, its minimum when that fails.
struct SpinControl {
    std::string text;
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
};

// A spin control at its initial value.
inline SpinControl spinControl(const SpinLimits& limits) {
    return {std::to_string(limits.initial), limits.minimum, limits.maximum};
}

struct MarkerState {  // Shape1: left/top in window client coordinates
    bool visible = false;
    int left = 200;
    int top = 200;
};

// Where a run stands, held in Timer1's Tag: the start action sets Fresh, the first tick seeds the
// state (Seeded) and, once the start pixel is known, draws (Drawing). A stop leaves it as it is.
enum class RunPhase : int {
    Fresh = 0,    // nothing seeded yet
    Seeded = 1,   // the state is seeded, the start pixel not yet known
    Drawing = 2,  // every tick draws a segment
};

struct TimerState {  // Timer1
    RunPhase tag = RunPhase::Fresh;
    int interval = 100;  // milliseconds
    bool enabled = false;
};

struct TickFailure {
    std::string kind;        // "EConvertError", "EInvalidOp", "EZeroDivide", "EOverflow", ...
    std::string message;     // the failure's message
    std::uint64_t tick = 0;  // the failed tick's number in its run, from 1
    std::string t;           // t before that tick, as ListBox1 held it ("" when it held none)
};

struct RunModel {
    // Read by the tick; the window copies these in before each tick and after each handler.
    int graphMode = 0;                                 // RadioGroup1's item index: 0..3
    std::string edit1;                                 // first formula ("Ay=", "Ar=", "Y=", "r=")
    std::string edit2;                                 // second formula ("Ax=", "Aθ=")
    std::string labeledEdit12 = "0";                   // Vy= / Vr=  (slot 2)
    std::string labeledEdit13 = "0";                   // Y= / r=    (slot 3)
    std::string labeledEdit15 = "0";                   // Vx= / Vθ=  (slot 0)
    std::string labeledEdit16 = "0";                   // X= / θ=    (slot 1)
    int comboBox1 = kDefaultDrawingSpeed;              // drawing speed; -1 when nothing is selected
    int comboBox2 = kDefaultTimeStep;                  // time step
    int comboBox3 = kDefaultViewRange;                 // view range Y
    int comboBox4 = kDefaultViewRange;                 // view range X
    bool checkBox1 = false;                            // zoom X
    bool checkBox2 = false;                            // zoom Y
    SpinControl spinEdit1 = spinControl(kZoomCentre);  // zoom centre X
    SpinControl spinEdit2 = spinControl(kZoomHalfWidth);   // zoom half-width X
    SpinControl spinEdit3 = spinControl(kZoomCentre);      // zoom centre Y
    SpinControl spinEdit4 = spinControl(kZoomHalfWidth);   // zoom half-width Y
    std::array<std::string, 4> constants{"", "", "", ""};  // keypad's LabeledEdit1..4: a, b, c, d

    // Written (and read back) by the tick and the start/stop actions.
    std::vector<std::string> listBox1;  // MotionState texts, slots 0..4
    std::vector<std::string> listBox3;  // previous pixel: px, py
    PlotSurface surface;                // Image1's bitmap
    MarkerState shape1;
    std::string label3;  // status: "" or "エラー"
    TimerState timer1;
    bool settingsEnabled = true;   // GroupBox1, 2, 3, 5, RadioGroup1 and Button1
    bool button16Enabled = false;  // "保存"

    // Ticks run since the start action, the failed one included; a tick cancelled during its
    // evaluation does not count, as it is run again whole by the next. Not a control.
    std::uint64_t tickCount = 0;
    // What the last good tick wrote into ListBox1's five items and ListBox3's two, with the unit
    // counts it wrote them from and the separator it wrote them with; not a control. An item
    // that still holds exactly that text is the text form of that value, which the parse reads
    // back as that value, so the next tick takes the value instead of parsing the text again.
    struct WrittenItem {
        std::array<char, kMaxFixed4Bytes> text{};
        std::size_t length = 0;
        std::int64_t units = 0;
    };
    std::array<WrittenItem, 7> written;
    char32_t writtenSeparator = 0;  // 0: nothing written since the start action
    // Why the last tick failed or was cancelled (empty after a good tick); not a control, for
    // the command-line tool and the status label's tooltip.
    std::optional<TickFailure> lastFailure;
};

// The constants of a run without the keypad: the "0" its fields hold once it has been closed.
inline constexpr std::string_view kHeadlessConstant = "0";

// A model for a run without the window: the start-up picture painted (FormCreate's) and every
// constant kHeadlessConstant; every other control at its start-up value.
std::unique_ptr<RunModel> headlessModel();

// How a tick evaluates its two formulas, the second (Edit2) first; by default right here with
// EvaluateFormula. The window hands them to a worker thread so that a long evaluation cannot
// freeze it. Whatever EvaluateFormula raises, evaluate raises, the first failure ending it.
class FormulaPairEvaluator {
  public:
    virtual ~FormulaPairEvaluator() = default;
    virtual void evaluate(std::string_view formula2, std::string_view formula1,
                          const FormulaTexts& texts, Fixed4& e2, Fixed4& e1) = 0;
};

// Button1Click's work: phase 0, lists cleared, settings and save disabled, surface repainted with
// the grid, Label3 cleared, unzoomed centres zeroed, marker hidden, timer enabled.
void startAction(RunModel& model);
// Button2Click's work: settings, start and save enabled; timer disabled.
void stopAction(RunModel& model);
// A stopped run carried on (the window's F6): settings and save disabled, timer enabled, and
// nothing else touched, so the next tick goes on from the lists, the picture and the run phase as
// they stand, as it would have had the run not been stopped.
void resumeAction(RunModel& model);
// One tick. Any failure is caught here: Label3 := "エラー", stopAction, lastFailure set, false.
// A cancelled evaluation (EAbort) stops the run the same way but leaves Label3 alone.
bool Timer1Timer(RunModel& model, FormulaPairEvaluator* evaluator = nullptr);

}  // namespace kurvilo

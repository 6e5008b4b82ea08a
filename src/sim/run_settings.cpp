// SPDX-License-Identifier: MIT
#include "sim/run_settings.h"

#include <cstddef>

#include "numbers/integer_text.h"
#include "sim/tick.h"

namespace kurvilo {

namespace {

template <typename Table>
int rowOrDefault(int index, const Table& table, int fallback) noexcept {
    return index >= 0 && index < static_cast<int>(table.size()) ? index : fallback;
}

std::int32_t spinValue(const SpinControl& spin) noexcept {
    return readSpinControl(spin.text, spin.minimum);
}

ZoomSetting zoomOf(bool on, const SpinControl& centre, const SpinControl& halfWidth) {
    return {on, spinValue(centre), spinValue(halfWidth)};
}

void applyZoom(const ZoomSetting& zoom, bool& on, SpinControl& centre, SpinControl& halfWidth) {
    on = zoom.on;
    centre = spinControl(kZoomCentre);
    centre.text = integerText(zoom.centre);
    halfWidth = spinControl(kZoomHalfWidth);
    halfWidth.text = integerText(zoom.halfWidth);
}

}  // namespace

RunSettings settingsOf(const RunModel& model, char32_t separator) {
    RunSettings s;
    s.graphMode = rowOrDefault(model.graphMode, kGraphModes, 0);
    s.firstFormula = model.edit1;
    s.secondFormula = model.edit2;
    s.initialValues = {model.labeledEdit15, model.labeledEdit16, model.labeledEdit12,
                       model.labeledEdit13};
    s.constants = model.constants;
    s.drawingSpeed = rowOrDefault(model.comboBox1, kDrawingSpeeds, kDefaultDrawingSpeed);
    s.timeStep = rowOrDefault(model.comboBox2, kTimeSteps, kDefaultTimeStep);
    s.viewRangeY = rowOrDefault(model.comboBox3, kViewRanges, kDefaultViewRange);
    s.viewRangeX = rowOrDefault(model.comboBox4, kViewRanges, kDefaultViewRange);
    s.zoomX = zoomOf(model.checkBox1, model.spinEdit1, model.spinEdit2);
    s.zoomY = zoomOf(model.checkBox2, model.spinEdit3, model.spinEdit4);
    s.separator = separator;
    return s;
}

void applySettings(const RunSettings& s, RunModel& model) {
    model.graphMode = s.graphMode;
    model.edit1 = s.firstFormula;
    model.edit2 = s.secondFormula;
    model.labeledEdit15 = s.initialValues[0];
    model.labeledEdit16 = s.initialValues[1];
    model.labeledEdit12 = s.initialValues[2];
    model.labeledEdit13 = s.initialValues[3];
    model.constants = s.constants;
    model.comboBox1 = s.drawingSpeed;
    model.comboBox2 = s.timeStep;
    model.comboBox3 = s.viewRangeY;
    model.comboBox4 = s.viewRangeX;
    applyZoom(s.zoomX, model.checkBox1, model.spinEdit1, model.spinEdit2);
    applyZoom(s.zoomY, model.checkBox2, model.spinEdit3, model.spinEdit4);
}

}  // namespace kurvilo

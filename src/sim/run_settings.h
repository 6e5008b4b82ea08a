// SPDX-License-Identifier: MIT
// The settings of a run as plain values: everything a tick reads that the user sets (graph mode,
// formulas, initial values, constants, drawing speed, time step, view ranges, zoom windows) and
// the decimal separator the texts are written with. It is what a run file holds, what
// kurvilo-cli's options set and what the window's controls show; RunModel holds the same as the
// controls hold it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "sim/settings.h"

namespace kurvilo {

struct RunModel;

// One axis of "定点拡大": the check box and its two spin boxes.
struct ZoomSetting {
    bool on = false;
    std::int32_t centre = kZoomCentre.initial;
    std::int32_t halfWidth = kZoomHalfWidth.initial;

    friend bool operator==(const ZoomSetting&, const ZoomSetting&) = default;
};

struct RunSettings {
    int graphMode = 0;          // a row of kGraphModes
    std::string firstFormula;   // Edit1
    std::string secondFormula;  // Edit2
    // Slots 0 to 3: LabeledEdit15, LabeledEdit16, LabeledEdit12, LabeledEdit13.
    std::array<std::string, kInitialValues> initialValues{"0", "0", "0", "0"};
    // a, b, c, d.
    std::array<std::string, 4> constants{"0", "0", "0", "0"};
    int drawingSpeed = kDefaultDrawingSpeed;  // a row of kDrawingSpeeds
    int timeStep = kDefaultTimeStep;          // a row of kTimeSteps
    int viewRangeY = kDefaultViewRange;       // a row of kViewRanges
    int viewRangeX = kDefaultViewRange;
    ZoomSetting zoomX;
    ZoomSetting zoomY;
    char32_t separator = U'.';

    friend bool operator==(const RunSettings&, const RunSettings&) = default;
};

// The settings a model holds, written with `separator`. A combo box with no item selected reads
// as its start-up item, a spin text that is no whole number as the spin box's minimum: what the
// window and kurvilo-cli fill in never has either.
RunSettings settingsOf(const RunModel& model, char32_t separator);

// Sets the model's settings controls; the lists, the picture and the run phase stay, and so does
// the process-wide separator, which is the caller's to set.
void applySettings(const RunSettings& settings, RunModel& model);

}  // namespace kurvilo

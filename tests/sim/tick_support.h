// SPDX-License-Identifier: MIT
// Helpers for driving the tick model: a fresh model on the heap (the surface is large), the
// window's start and a number of ticks, and the reference picture of a run before any segment.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "sim/plot_surface.h"
#include "sim/tick.h"
#include "sim/view_mapping.h"

namespace kurvilo {

inline std::unique_ptr<RunModel> newModel(int graphMode, std::string edit1, std::string edit2) {
    auto model = headlessModel();
    model->graphMode = graphMode;
    model->edit1 = std::move(edit1);
    model->edit2 = std::move(edit2);
    return model;
}

// Runs n ticks and stops at the first failure; gives the number of good ticks.
inline int runTicks(RunModel& model, int n) {
    for (int i = 0; i < n; ++i) {
        if (!Timer1Timer(model)) return i;
    }
    return n;
}

// The surface after the start action and the first tick's axes.
inline std::unique_ptr<PlotSurface> gridWithAxes() {
    auto surface = std::make_unique<PlotSurface>();
    repaintForRun(*surface);
    drawAxes(*surface);
    return surface;
}

inline bool sameSurface(const PlotSurface& a, const PlotSurface& b) {
    return std::equal(a.data(), a.data() + PlotSurface::kSize * PlotSurface::kSize, b.data());
}

using Texts = std::vector<std::string>;

}  // namespace kurvilo

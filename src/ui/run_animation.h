// SPDX-License-Identifier: MIT
// The window's GIF export: the run so far made again without the window, through the core's
// start action and tick driver, and written as kurvilo-cli run --gif writes it (a frame after
// every tick, the end's frame on the same schedule, the same delay), so both give the same bytes
// for the same settings and ticks.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "picture/output_file.h"
#include "sim/run_settings.h"

namespace kurvilo {

enum class AnimationEnd { Written, Cancelled, Failed };

// Runs `settings` for `ticks` ticks (a failed tick ends the run early, as it does everywhere) and
// writes the animation to `sink`. `progress(done)` is called after each tick and cancels the
// run when it returns false. Failed: the encoder failed (`error` says why) or the sink did.
AnimationEnd writeRunAnimation(const RunSettings& settings, std::uint64_t ticks, ByteSink& sink,
                               std::string& error,
                               const std::function<bool(std::uint64_t)>& progress);

}  // namespace kurvilo

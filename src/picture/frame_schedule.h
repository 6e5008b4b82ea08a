// SPDX-License-Identifier: MIT
// When a run's animation takes a frame: after every K-th completed tick, and once more at the end
// unless the last frame shows the end already; a run that ended in a failed tick always ends with
// a frame of that tick's picture. kurvilo-cli's frames and GIF and the window's GIF export follow
// the same schedule, so they show the same frames for the same ticks.
#pragma once

#include <cstdint>

namespace kurvilo {

class FrameSchedule {
  public:
    // A frame every `every` ticks (1 or more).
    explicit FrameSchedule(std::uint64_t every) : every_(every) {}

    // After completed tick `tick` (from 1): whether a frame is taken now.
    bool afterTick(std::uint64_t tick) noexcept;
    // At the end, after `completed` ticks, `failedTick` telling whether the tick after them
    // failed: whether one more frame is taken.
    bool atEnd(std::uint64_t completed, bool failedTick) const noexcept;

    std::uint64_t every() const noexcept { return every_; }

  private:
    std::uint64_t every_;
    std::uint64_t lastFrameTick_ = 0;
    bool anyFrame_ = false;
};

}  // namespace kurvilo

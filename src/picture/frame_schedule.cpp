// SPDX-License-Identifier: MIT
#include "picture/frame_schedule.h"

namespace kurvilo {

bool FrameSchedule::afterTick(std::uint64_t tick) noexcept {
    if (tick % every_ != 0) return false;
    anyFrame_ = true;
    lastFrameTick_ = tick;
    return true;
}

bool FrameSchedule::atEnd(std::uint64_t completed, bool failedTick) const noexcept {
    return !anyFrame_ || lastFrameTick_ != completed || failedTick;
}

}  // namespace kurvilo

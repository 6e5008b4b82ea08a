// SPDX-License-Identifier: MIT
// The frames of a run: after every K-th tick, once more at the end unless the last frame shows
// it, and always the picture of a failed tick.
#include "picture/frame_schedule.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kurvilo {
namespace {

// The ticks after which frames are taken; "end" marks the frame at the end.
std::string framesOf(std::uint64_t every, std::uint64_t completed, bool failedTick) {
    FrameSchedule schedule(every);
    std::string frames;
    for (std::uint64_t tick = 1; tick <= completed; ++tick) {
        if (schedule.afterTick(tick)) frames += std::to_string(tick) + " ";
    }
    if (schedule.atEnd(completed, failedTick)) frames += "end";
    return frames;
}

TEST(FrameSchedule, EveryKthTickAndTheEndUnlessShownAlready) {
    const struct {
        std::uint64_t every;
        std::uint64_t completed;
        bool failedTick;
        const char* frames;
    } cases[] = {
        {1, 3, false, "1 2 3 "},     {2, 5, false, "2 4 end"}, {2, 6, false, "2 4 6 "},
        {5, 3, false, "end"},        {1, 0, false, "end"},  // no tick: the start picture
        {2, 4, true, "2 4 end"},                            // the failed fifth tick's picture
        {1, 0, true, "end"},                                // a failed first tick
        {10, 25, true, "10 20 end"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.every) + " " + std::to_string(c.completed));
        EXPECT_EQ(framesOf(c.every, c.completed, c.failedTick), c.frames);
    }
}

}  // namespace
}  // namespace kurvilo

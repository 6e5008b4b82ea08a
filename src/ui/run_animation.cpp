// SPDX-License-Identifier: MIT
#include "ui/run_animation.h"

#include "picture/frame_schedule.h"
#include "picture/gif_animation.h"
#include "picture/image.h"
#include "picture/marker.h"
#include "sim/tick.h"

namespace kurvilo {

AnimationEnd writeRunAnimation(const RunSettings& settings, std::uint64_t ticks, ByteSink& sink,
                               std::string& error,
                               const std::function<bool(std::uint64_t)>& progress) {
    const std::unique_ptr<RunModel> model = headlessModel();
    applySettings(settings, *model);
    constexpr std::uint64_t kEvery = 1;
    const int interval = kDrawingSpeeds[static_cast<std::size_t>(settings.drawingSpeed)].intervalMs;
    GifAnimation gif(sink, PlotSurface::kSize, PlotSurface::kSize, gifDelay(kEvery, interval));
    FrameSchedule schedule(kEvery);
    Image frame;
    const auto addFrame = [&] {
        windowPicture(model->surface, model->shape1, frame);
        return gif.addFrame(frame.view());
    };

    startAction(*model);
    std::uint64_t completed = 0;
    bool failedTick = false;
    while (completed < ticks) {
        if (!Timer1Timer(*model)) {
            failedTick = true;
            break;
        }
        ++completed;
        if (schedule.afterTick(completed) && !addFrame()) break;
        if (!progress(completed)) return AnimationEnd::Cancelled;
    }
    if (!sink.failed() && gif.error().empty() && schedule.atEnd(completed, failedTick)) addFrame();
    if (!gif.finish()) {
        error = gif.error();
        return AnimationEnd::Failed;
    }
    return AnimationEnd::Written;
}

}  // namespace kurvilo

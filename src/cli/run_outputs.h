// SPDX-License-Identifier: MIT
// The outputs of kurvilo-cli run: the trace, the picture as PNG or BMP, the frames and the GIF,
// each a file written whole or not at all, or standard output ("-"). All are opened before the
// first tick, so that a bad path fails at once; the trace and the frames grow with the ticks, the
// pictures are written at the end, as the run stands when it ends.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cli/frame_folder.h"
#include "picture/gif_animation.h"
#include "picture/image.h"
#include "picture/output_file.h"
#include "sim/tick.h"

namespace kurvilo::cli {

enum class PictureFormat { Png, Bmp };

struct OutputSettings {
    std::string tracePath;  // "-": standard output; empty: none
    std::string picturePath;
    PictureFormat pictureFormat = PictureFormat::Png;
    std::string bmpPath;
    std::string framesPath;
    bool overwriteFrames = false;
    std::string gifPath;
    std::uint64_t every = 1;  // ticks per frame
    int intervalMs = 10;      // the drawing speed's timer interval
};

class RunOutputs {
  public:
    explicit RunOutputs(const OutputSettings& settings) : settings_(settings) {}

    // False (with the message written) when one cannot be opened.
    bool open(int graphMode);
    // After a completed tick.
    void tickDone(std::uint64_t tick, const RunModel& model);
    // At the end of the run, after `completed` ticks; `failedTick`: the tick after them failed.
    // False when any output failed.
    bool finish(const RunModel& model, std::uint64_t completed, bool failedTick);
    // Stop ticking: an output has failed, or the reader of standard output has gone.
    bool stopped() const noexcept { return failed_ || readerGone_; }

  private:
    void frame(const RunModel& model);
    // An output that failed: the reader of standard output going away is no failure.
    bool check(const OutputFile& output, const char* what);
    // Reports an output's failure once.
    void fault(const OutputFile& output, const char* what);
    bool openStandardOutputFor(OutputFile& output, const char* what, bool binary);
    bool openOutput(OutputFile& output, const std::string& path, const char* what, bool binary);

    const OutputSettings& settings_;
    OutputFile trace_;
    std::string traceRow_;
    OutputFile picture_;
    OutputFile bmp_;
    FrameFolder frames_;
    OutputFile gifFile_;
    std::unique_ptr<GifAnimation> gif_;
    Image frame_;  // the picture as the window shows it, rebuilt for each frame
    std::vector<const OutputFile*> reported_;
    bool failed_ = false;
    bool framesFailed_ = false;
    bool readerGone_ = false;
    std::uint64_t lastFrameTick_ = 0;
    bool anyFrame_ = false;
};

}  // namespace kurvilo::cli

// SPDX-License-Identifier: MIT
// A looping animated GIF written with giflib as the frames come: the first frame whole, every
// later one as the rectangle that changed since the frame before, its unchanged pixels
// transparent, each with a colour table of just the colours it holds. Nothing in the file
// depends on the time or the machine, so the same frames give the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "picture/image.h"
#include "picture/output_file.h"

struct GifFileType;

namespace kurvilo {

// GIF counts delays in 1/100 s, and viewers play shorter delays slowly: K ticks of the interval
// in milliseconds, rounded to 1/100 s, at least 2/100 s, at most 65535/100 s.
int gifDelay(std::uint64_t ticksPerFrame, int intervalMs);

class GifAnimation {
  public:
    // Frames of width × height, each shown for delay (1/100 s), written to sink.
    GifAnimation(ByteSink& sink, int width, int height, int delay);
    ~GifAnimation();
    GifAnimation(const GifAnimation&) = delete;
    GifAnimation& operator=(const GifAnimation&) = delete;

    // A frame of the animation's size. False once writing has failed.
    bool addFrame(const ImageView& frame);
    // Writes the trailer. False when this or any earlier write failed.
    bool finish();
    std::uint64_t frames() const noexcept { return frames_; }
    // The cause of the first failure of the encoder; empty when the sink failed (its own error
    // says why) or nothing did.
    const std::string& error() const noexcept { return error_; }

  private:
    bool start();
    bool check(int giflibStatus);
    static int writeBytes(GifFileType* gif, const unsigned char* bytes, int length);
    bool failed() const noexcept { return !error_.empty() || sink_.failed(); }

    ByteSink& sink_;
    int width_;
    int height_;
    int delay_;
    GifFileType* gif_ = nullptr;
    std::vector<std::uint32_t> previous_;
    std::vector<unsigned char> row_;
    std::uint64_t frames_ = 0;
    std::string error_;
};

}  // namespace kurvilo

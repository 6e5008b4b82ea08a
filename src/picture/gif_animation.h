// SPDX-License-Identifier: MIT
// A looping animated GIF written with giflib as the frames come: the first frame whole, every
// later one as the rectangle that changed since the frame before, its unchanged pixels
// transparent, each with a colour table of just the colours it holds. Nothing in the file
// depends on the time or the machine, so the same frames give the same bytes.
#pragma once

#include <QImage>
#include <cstdint>
#include <string>
#include <vector>

class QIODevice;
struct GifFileType;

namespace kurvilo::cli {

// GIF counts delays in 1/100 s, and viewers play shorter delays slowly: K ticks of the interval
// in milliseconds, rounded to 1/100 s, at least 2/100 s, at most 65535/100 s.
int gifDelay(std::uint64_t ticksPerFrame, int intervalMs);

class GifAnimation {
  public:
    // Frames of width × height, each shown for delay (1/100 s), written to device.
    GifAnimation(QIODevice& device, int width, int height, int delay);
    ~GifAnimation();
    GifAnimation(const GifAnimation&) = delete;
    GifAnimation& operator=(const GifAnimation&) = delete;

    // A Format_RGB32 frame of the animation's size. False once writing has failed.
    bool addFrame(const QImage& frame);
    // Writes the trailer. False when this or any earlier write failed.
    bool finish();
    std::uint64_t frames() const noexcept { return frames_; }
    // The cause of the first failure.
    const std::string& error() const noexcept { return error_; }

  private:
    bool start();
    bool check(int giflibStatus);
    static int writeBytes(GifFileType* gif, const unsigned char* bytes, int length);
    bool flushPending();

    QIODevice& device_;
    int width_;
    int height_;
    int delay_;
    GifFileType* gif_ = nullptr;
    std::vector<std::uint32_t> previous_;
    std::vector<unsigned char> row_;
    // giflib writes in pieces of at most 255 bytes: they reach the device in large writes.
    std::string pending_;
    std::uint64_t frames_ = 0;
    std::string error_;
};

}  // namespace kurvilo::cli

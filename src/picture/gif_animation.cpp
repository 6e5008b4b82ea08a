// SPDX-License-Identifier: MIT
#include "picture/gif_animation.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>

namespace kurvilo {

int gifDelay(std::uint64_t ticksPerFrame, int intervalMs) {
    constexpr std::uint64_t kMost = 65535;
    const auto interval = static_cast<std::uint64_t>(intervalMs > 0 ? intervalMs : 0);
    if (interval != 0 && ticksPerFrame > kMost * 10 / interval) return static_cast<int>(kMost);
    const std::uint64_t centiseconds = (ticksPerFrame * interval + 5) / 10;
    return static_cast<int>(std::clamp<std::uint64_t>(centiseconds, 2, kMost));
}

GifAnimation::GifAnimation(ByteSink& sink, int width, int height, int delay)
    : sink_(sink), width_(width), height_(height), delay_(delay) {}

GifAnimation::~GifAnimation() {
    if (gif_ != nullptr) {
        int ignored = 0;
        EGifCloseFile(gif_, &ignored);
    }
}

// giflib writes in pieces of at most 255 bytes: the sink gathers them into large writes.
int GifAnimation::writeBytes(GifFileType* gif, const unsigned char* bytes, int length) {
    auto* self = static_cast<GifAnimation*>(gif->UserData);
    self->sink_.write(
        std::string_view(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(length)));
    return self->sink_.failed() ? 0 : length;
}

bool GifAnimation::check(int giflibStatus) {
    if (giflibStatus == GIF_OK) return true;
    if (error_.empty() && !sink_.failed()) {
        const char* text = gif_ != nullptr ? GifErrorString(gif_->Error) : nullptr;
        error_ = text != nullptr ? text : "GIF encoding failed";
    }
    return false;
}

bool GifAnimation::start() {
    int status = 0;
    gif_ = EGifOpen(this, &GifAnimation::writeBytes, &status);
    if (gif_ == nullptr) {
        const char* text = GifErrorString(status);
        error_ = text != nullptr ? text : "GIF encoding failed";
        return false;
    }
    EGifSetGifVersion(gif_, true);
    // No global colour table: each frame brings its own.
    if (!check(EGifPutScreenDesc(gif_, width_, height_, 8, 0, nullptr))) return false;
    // Loop for ever: the NETSCAPE2.0 application block with a loop count of 0.
    static const unsigned char kLoop[] = {1, 0, 0};
    return check(EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE)) &&
           check(EGifPutExtensionBlock(gif_, 11, "NETSCAPE2.0")) &&
           check(EGifPutExtensionBlock(gif_, 3, kLoop)) && check(EGifPutExtensionTrailer(gif_));
}

bool GifAnimation::addFrame(const ImageView& frame) {
    if (failed()) return false;
    if (frame.width != width_ || frame.height != height_) {
        error_ = "a frame of another size";
        return false;
    }
    if (gif_ == nullptr && !start()) return false;

    const bool first = previous_.empty();
    if (first) previous_.assign(static_cast<std::size_t>(width_) * height_, 0);
    auto row = [&](int y) { return frame.row(y); };
    auto rowBefore = [&](int y) { return previous_.data() + static_cast<std::size_t>(y) * width_; };
    const std::size_t rowBytes = static_cast<std::size_t>(width_) * sizeof(std::uint32_t);

    // The rectangle that changed; all of the first frame.
    int left = 0, top = 0, right = width_ - 1, bottom = height_ - 1;
    if (!first) {
        left = width_;
        top = height_;
        right = -1;
        bottom = -1;
        for (int y = 0; y < height_; ++y) {
            const std::uint32_t* now = row(y);
            const std::uint32_t* was = rowBefore(y);
            if (std::memcmp(now, was, rowBytes) == 0) continue;
            int x0 = 0;
            while (now[x0] == was[x0])
                ++x0;
            int x1 = width_ - 1;
            while (now[x1] == was[x1])
                --x1;
            left = std::min(left, x0);
            right = std::max(right, x1);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
        if (right < 0) left = top = right = bottom = 0;  // unchanged: one transparent pixel
    }
    const int w = right - left + 1;
    const int h = bottom - top + 1;

    // The colours of the changed pixels, sorted; unchanged ones will be transparent.
    std::vector<std::uint32_t> colours;
    bool anyUnchanged = false;
    std::uint32_t lastColour = 0;
    bool haveLast = false;
    for (int y = top; y <= bottom; ++y) {
        const std::uint32_t* now = row(y);
        const std::uint32_t* was = rowBefore(y);
        for (int x = left; x <= right; ++x) {
            if (!first && now[x] == was[x]) {
                anyUnchanged = true;
                continue;
            }
            const std::uint32_t c = now[x] & 0xFFFFFF;
            if (haveLast && c == lastColour) continue;
            const auto at = std::lower_bound(colours.begin(), colours.end(), c);
            if (at == colours.end() || *at != c) colours.insert(at, c);
            lastColour = c;
            haveLast = true;
        }
    }
    const std::size_t entries = colours.size() + (anyUnchanged ? 1 : 0);
    if (entries > 256) {
        error_ = "a frame with more colours than a GIF frame holds (256)";
        return false;
    }
    int bits = 1;
    while ((std::size_t{1} << bits) < entries)
        ++bits;
    std::vector<GifColorType> table(std::size_t{1} << bits, GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < colours.size(); ++i) {
        table[i] = GifColorType{static_cast<GifByteType>(colours[i] >> 16),
                                static_cast<GifByteType>(colours[i] >> 8),
                                static_cast<GifByteType>(colours[i])};
    }
    const int transparent = anyUnchanged ? static_cast<int>(colours.size()) : NO_TRANSPARENT_COLOR;

    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime = delay_;
    control.TransparentColor = transparent;
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    if (!check(EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, 4, extension))) return false;

    ColorMapObject* map = GifMakeMapObject(static_cast<int>(table.size()), table.data());
    if (map == nullptr) {
        error_ = "out of memory";
        return false;
    }
    const bool described = check(EGifPutImageDesc(gif_, left, top, w, h, false, map));
    GifFreeMapObject(map);
    if (!described) return false;

    row_.resize(static_cast<std::size_t>(w));
    for (int y = top; y <= bottom; ++y) {
        const std::uint32_t* now = row(y);
        std::uint32_t* was = rowBefore(y);
        std::uint32_t lastPixel = 0;
        unsigned char lastIndex = 0;
        bool haveLastPixel = false;
        for (int x = left; x <= right; ++x) {
            unsigned char& index = row_[static_cast<std::size_t>(x - left)];
            if (!first && now[x] == was[x]) {
                index = static_cast<unsigned char>(transparent);
            } else if (haveLastPixel && now[x] == lastPixel) {
                index = lastIndex;
            } else {
                const std::uint32_t c = now[x] & 0xFFFFFF;
                index = static_cast<unsigned char>(
                    std::lower_bound(colours.begin(), colours.end(), c) - colours.begin());
                lastPixel = now[x];
                lastIndex = index;
                haveLastPixel = true;
            }
        }
        if (!check(EGifPutLine(gif_, row_.data(), w))) return false;
        std::copy(now + left, now + right + 1, was + left);
    }
    ++frames_;
    return true;
}

bool GifAnimation::finish() {
    if (gif_ == nullptr && !failed()) start();  // an animation without frames
    if (gif_ == nullptr) return false;
    int status = 0;
    const int closed = EGifCloseFile(gif_, &status);
    gif_ = nullptr;
    if (closed != GIF_OK && error_.empty() && !sink_.failed()) {
        const char* text = GifErrorString(status);
        error_ = text != nullptr ? text : "GIF encoding failed";
    }
    return !failed();
}

}  // namespace kurvilo

// SPDX-License-Identifier: MIT
// Pictures as plain 32-bit pixels, 0xAARRGGBB with rows top to bottom: a view of pixels that
// belong to someone else (the plot surface, a window's image) and an image that owns its own.
// Every picture written here is opaque: the alpha byte is never read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace kurvilo {

class PlotSurface;

struct ImageView {
    const std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::size_t stride = 0;  // pixels from the start of one row to the next

    const std::uint32_t* row(int y) const noexcept {
        return pixels + static_cast<std::size_t>(y) * stride;
    }
    std::uint32_t at(int x, int y) const noexcept { return row(y)[x]; }
};

// The surface's own pixels, not copied: valid while the surface lives and is not drawn on.
ImageView surfaceView(const PlotSurface& surface) noexcept;

class Image {
  public:
    Image() = default;
    Image(int width, int height, std::uint32_t fill = 0xFF000000);
    Image(const Image& other);
    Image& operator=(const Image& other);
    Image(Image&&) noexcept = default;
    Image& operator=(Image&&) noexcept = default;

    int width() const noexcept { return width_; }
    int height() const noexcept { return height_; }
    std::uint32_t* row(int y) noexcept {
        return pixels_.get() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
    }
    const std::uint32_t* row(int y) const noexcept {
        return pixels_.get() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
    }
    std::uint32_t at(int x, int y) const noexcept { return row(y)[x]; }
    ImageView view() const noexcept {
        return {pixels_.get(), width_, height_, static_cast<std::size_t>(width_)};
    }
    // Becomes a copy of view's pixels, reusing its buffer when it is large enough.
    void assign(const ImageView& view);

  private:
    std::size_t size() const noexcept {
        return static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
    }

    int width_ = 0;
    int height_ = 0;
    std::size_t capacity_ = 0;
    // Not value-initialised: every pixel is written before it is read.
    std::unique_ptr<std::uint32_t[]> pixels_;
};

}  // namespace kurvilo

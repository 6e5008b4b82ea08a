// SPDX-License-Identifier: MIT
#include "picture/image.h"

#include <algorithm>

#include "sim/plot_surface.h"

namespace kurvilo {

ImageView surfaceView(const PlotSurface& surface) noexcept {
    return {surface.data(), PlotSurface::kSize, PlotSurface::kSize,
            static_cast<std::size_t>(PlotSurface::kSize)};
}

Image::Image(int width, int height, std::uint32_t fill)
    : width_(width),
      height_(height),
      capacity_(size()),
      pixels_(std::make_unique_for_overwrite<std::uint32_t[]>(capacity_)) {
    std::fill_n(pixels_.get(), capacity_, fill);
}

Image::Image(const Image& other) {
    assign(other.view());
}

Image& Image::operator=(const Image& other) {
    if (this != &other) assign(other.view());
    return *this;
}

void Image::assign(const ImageView& view) {
    width_ = view.width;
    height_ = view.height;
    if (capacity_ < size()) {
        pixels_ = std::make_unique_for_overwrite<std::uint32_t[]>(size());
        capacity_ = size();
    }
    if (view.stride == static_cast<std::size_t>(width_)) {
        std::copy_n(view.pixels, size(), pixels_.get());  // rows without gaps: one copy
        return;
    }
    for (int y = 0; y < height_; ++y)
        std::copy_n(view.row(y), width_, row(y));
}

}  // namespace kurvilo

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
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

void Image::assign(const ImageView& view) {
    width_ = view.width;
    height_ = view.height;
    pixels_.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
    for (int y = 0; y < height_; ++y)
        std::copy_n(view.row(y), width_, row(y));
}

}  // namespace kurvilo

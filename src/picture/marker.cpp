// SPDX-License-Identifier: MIT
#include "picture/marker.h"

#include "sim/plot_surface.h"
#include "sim/tick.h"

namespace kurvilo {

namespace {
// Where Image1 stands in the window: Shape1's window coordinates less this are surface pixels.
constexpr int kSurfaceOffset = 4;
}  // namespace

void drawMarker(Image& picture, int left, int top) noexcept {
    for (int dy = 0; dy < kMarkerSize; ++dy) {
        const int y = top + dy;
        if (y < 0 || y >= picture.height()) continue;
        std::uint32_t* row = picture.row(y);
        for (int dx = 0; dx < kMarkerSize; ++dx) {
            const int x = left + dx;
            const std::uint8_t coverage = kMarkerCoverage[dy * kMarkerSize + dx];
            if (x < 0 || x >= picture.width() || coverage == 0) continue;
            row[x] = markerOver(row[x], coverage);
        }
    }
}

void windowPicture(const PlotSurface& surface, const MarkerState& marker, Image& picture) {
    picture.assign(surfaceView(surface));
    if (marker.visible) {
        drawMarker(picture, marker.left - kSurfaceOffset, marker.top - kSurfaceOffset);
    }
}

Image windowPicture(const PlotSurface& surface, const MarkerState& marker) {
    Image picture;
    windowPicture(surface, marker, picture);
    return picture;
}

}  // namespace kurvilo

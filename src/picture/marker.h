// SPDX-License-Identifier: MIT
// The marker Shape1 as the window paints it, as a fixed table: an 8 × 8 red circle, antialiased,
// given as the coverage of each pixel (0 to 255), and laid over a picture the way Qt's painter
// lays a finished image over another. (The window paints the disc straight onto the surface,
// which rounds a few edge pixels over grey one unit otherwise; the tool's frames have always been
// composed this way.) The picture as the window shows it is the surface with the marker where
// Shape1 stands.
#pragma once

#include <array>
#include <cstdint>

#include "picture/image.h"

namespace kurvilo {

class PlotSurface;
struct MarkerState;

inline constexpr int kMarkerSize = 8;
inline constexpr std::uint32_t kMarkerColour = 0xFFFF0000;

// Row by row, top to bottom; what the window's antialiased painter gives for a red circle
// inscribed in the 8 × 8 box, with its outline on the pixel centres of the box's edge.
inline constexpr std::array<std::uint8_t, kMarkerSize * kMarkerSize> kMarkerCoverage{
    0x00, 0x00, 0x9E, 0xF1, 0xF0, 0x9D, 0x00, 0x00,  //
    0x00, 0xD2, 0xFB, 0xFF, 0xFF, 0xFA, 0xD0, 0x00,  //
    0x9D, 0xFA, 0xFF, 0xFF, 0xFF, 0xFF, 0xFB, 0x9C,  //
    0xF1, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xEF,  //
    0xF0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xEF,  //
    0x9D, 0xFB, 0xFF, 0xFF, 0xFF, 0xFF, 0xFA, 0x9A,  //
    0x00, 0xD0, 0xFA, 0xFF, 0xFF, 0xFB, 0xCD, 0x00,  //
    0x00, 0x00, 0x9B, 0xEF, 0xEF, 0x9A, 0x00, 0x00,  //
};

// The marker's colour at `coverage` over the opaque pixel `under`: source over, with the red
// premultiplied by the coverage and each channel of `under` scaled by (255 - coverage) / 255,
// rounded to nearest.
constexpr std::uint32_t markerOver(std::uint32_t under, std::uint8_t coverage) noexcept {
    const std::uint32_t keep = 255u - coverage;
    auto scaled = [keep](std::uint32_t channel) {
        const std::uint32_t t = channel * keep;
        return (t + (t >> 8) + 0x80) >> 8;
    };
    const std::uint32_t red = ((kMarkerColour >> 16) & 0xFF) * coverage / 255;
    return 0xFF000000u | (red + scaled((under >> 16) & 0xFF)) << 16 |
           scaled((under >> 8) & 0xFF) << 8 | scaled(under & 0xFF);
}

// Lays the marker over picture with its box's top left corner at (left, top); what falls outside
// the picture is left out.
void drawMarker(Image& picture, int left, int top) noexcept;

// The picture as the window shows it: the surface, and the marker where Shape1 stands when it is
// visible (Shape1's left/top are window coordinates; the surface starts at (4, 4) there).
// Reuses picture's buffer.
void windowPicture(const PlotSurface& surface, const MarkerState& marker, Image& picture);
Image windowPicture(const PlotSurface& surface, const MarkerState& marker);

}  // namespace kurvilo

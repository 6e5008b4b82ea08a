// SPDX-License-Identifier: MIT
// The marker as a fixed table: laid over any colour as the window's painter lays it (values the
// painter gave over white, black, silver and an arbitrary colour), placed where Shape1 stands,
// cut off at the picture's edges, and absent when Shape1 is hidden.
#include "picture/marker.h"

#include <gtest/gtest.h>

#include <string>

#include "picture/pictures.h"
#include "sim/plot_surface.h"
#include "sim/tick.h"

namespace kurvilo {
namespace {

TEST(MarkerOver, GivesWhatThePainterGaveOverEachColour) {
    const struct {
        std::uint32_t under;
        std::uint8_t coverage;
        std::uint32_t painted;
    } cases[] = {
        {0xFFFFFFFF, 0x00, 0xFFFFFFFF}, {0xFFFFFFFF, 0x9E, 0xFFFF6161},
        {0xFFFFFFFF, 0xD2, 0xFFFF2D2D}, {0xFFFFFFFF, 0xFB, 0xFFFF0404},
        {0xFFFFFFFF, 0xFF, 0xFFFF0000}, {0xFF000000, 0x9D, 0xFF9D0000},
        {0xFF000000, 0xEF, 0xFFEF0000}, {0xFFC0C0C0, 0x9E, 0xFFE74949},
        {0xFFC0C0C0, 0xF1, 0xFFFC0B0B}, {0xFFC0C0C0, 0xCD, 0xFFF32626},
        {0xFF123456, 0x9E, 0xFFA51421}, {0xFF123456, 0xD2, 0xFFD5090F},
        {0xFF123456, 0x9A, 0xFFA11522}, {0xFF123456, 0xFA, 0xFFFA0102},
        {0xFF123456, 0x00, 0xFF123456}, {0xFF123456, 0xFF, 0xFFFF0000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(markerOver(c.under, c.coverage), c.painted)
            << std::hex << c.under << " at coverage " << int{c.coverage};
    }
}

TEST(MarkerTable, IsARoundRedDiscWithSoftEdges) {
    // Full in the middle, empty in the corners, a soft edge in between.
    for (int y = 2; y <= 5; ++y) {
        for (int x = 2; x <= 5; ++x)
            EXPECT_EQ(kMarkerCoverage[y * kMarkerSize + x], 0xFF) << x << "," << y;
    }
    for (const int corner : {0, 7, 56, 63})
        EXPECT_EQ(kMarkerCoverage[corner], 0) << corner;
    int soft = 0;
    for (const std::uint8_t coverage : kMarkerCoverage)
        soft += coverage > 0 && coverage < 0xFF;
    EXPECT_GE(soft, 16);
}

TEST(WindowPicture, HiddenMarkerLeavesTheSurfaceAsItIs) {
    PlotSurface surface;
    repaintForRun(surface);
    const Image picture = windowPicture(surface, MarkerState{false, 100, 100});
    EXPECT_EQ(testing::firstDifference(picture.view(), surfaceView(surface)), "");
}

TEST(WindowPicture, MarkerCoversItsBoxCentredOnTheSurfacePixel) {
    PlotSurface surface;
    repaintForRun(surface);
    for (const auto& [left, top] :
         {std::pair{5, 5}, std::pair{201, 201}, std::pair{395, 395}, std::pair{130, 47}}) {
        SCOPED_TRACE(std::to_string(left) + "," + std::to_string(top));
        const Image picture = windowPicture(surface, MarkerState{true, left, top});
        // Shape1's window coordinates: the box starts 4 pixels left of and above the surface
        // pixel (left, top).
        for (int y = 0; y < PlotSurface::kSize; ++y) {
            for (int x = 0; x < PlotSurface::kSize; ++x) {
                const int dx = x - (left - 4);
                const int dy = y - (top - 4);
                const bool inBox = dx >= 0 && dx < 8 && dy >= 0 && dy < 8;
                const std::uint32_t expected =
                    inBox ? markerOver(surface.pixel(x, y), kMarkerCoverage[dy * 8 + dx])
                          : surface.pixel(x, y);
                ASSERT_EQ(picture.at(x, y), expected) << x << "," << y;
            }
        }
    }
}

TEST(DrawMarker, IsCutOffAtTheEdgesOfThePicture) {
    for (const auto& [left, top] : {std::pair{-5, -5}, std::pair{-8, 0}, std::pair{6, 6},
                                    std::pair{8, 2}, std::pair{-3, 5}}) {
        SCOPED_TRACE(std::to_string(left) + "," + std::to_string(top));
        Image picture(10, 10, 0xFFFFFFFF);
        drawMarker(picture, left, top);
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 10; ++x) {
                const int dx = x - left;
                const int dy = y - top;
                const bool inBox = dx >= 0 && dx < 8 && dy >= 0 && dy < 8;
                EXPECT_EQ(picture.at(x, y),
                          inBox ? markerOver(0xFFFFFFFF, kMarkerCoverage[dy * 8 + dx]) : 0xFFFFFFFF)
                    << x << "," << y;
            }
        }
    }
}

}  // namespace
}  // namespace kurvilo

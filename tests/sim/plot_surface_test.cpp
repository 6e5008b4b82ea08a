// SPDX-License-Identifier: MIT
#include "sim/plot_surface.h"

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>
#include <random>

#include "common.h"
#include "sim/view_mapping.h"

namespace kurvilo {
namespace {

constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kBlue = 0xFF0000FF;
constexpr int kLast = PlotSurface::kSize - 1;

struct Point {
    std::int32_t x;
    std::int32_t y;
};

void fill(PlotSurface& s, std::uint32_t colour) {
    std::fill(s.data(), s.data() + PlotSurface::kSize * PlotSurface::kSize, colour);
}

int countColour(const PlotSurface& s, std::uint32_t colour) {
    int n = 0;
    for (int y = 0; y <= kLast; ++y) {
        for (int x = 0; x <= kLast; ++x)
            n += s.pixel(x, y) == colour;
    }
    return n;
}

bool sameSurface(const PlotSurface& a, const PlotSurface& b) {
    return std::equal(a.data(), a.data() + PlotSurface::kSize * PlotSurface::kSize, b.data());
}

// One pixel in the pen colour: a 1 × 1 rectangle is all outline.
void dot(PlotSurface& s, Point p) {
    s.rectangle(p.x, p.y, p.x + 1, p.y + 1);
}

void line(PlotSurface& s, Point from, Point to) {
    s.moveTo(from.x, from.y);
    s.lineTo(to.x, to.y);
}

// What a line from a to b must look like, checked on exact integers: along the major axis one
// pixel per step, each within half a pixel of the true line, the nearest one whenever it is not
// a tie; b itself unpainted.
void expectNearestPixelLine(const PlotSurface& s, Point a, Point b) {
    const std::int64_t dx = std::int64_t{b.x} - a.x;
    const std::int64_t dy = std::int64_t{b.y} - a.y;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const std::int64_t run = xMajor ? dx : dy;
    const std::int64_t rise = xMajor ? dy : dx;
    const std::int64_t major0 = xMajor ? a.x : a.y;
    const std::int64_t minor0 = xMajor ? a.y : a.x;
    const std::int64_t from = std::max<std::int64_t>(std::min(major0, major0 + run), 0);
    const std::int64_t to = std::min<std::int64_t>(std::max(major0, major0 + run), kLast);
    int painted = 0;
    for (std::int64_t major = 0; major <= kLast; ++major) {
        for (std::int64_t minor = 0; minor <= kLast; ++minor) {
            const std::int64_t x = xMajor ? major : minor;
            const std::int64_t y = xMajor ? minor : major;
            const bool isPainted = s.pixel(static_cast<int>(x), static_cast<int>(y)) == kRed;
            painted += isPainted;
            if (major < from || major > to) {
                ASSERT_FALSE(isPainted) << "outside the line's span at " << x << ", " << y;
                continue;
            }
            // Twice the signed distance from the true line, times |run|, in minor units.
            const __int128 distance = static_cast<__int128>(2) * (minor - minor0) * run -
                                      static_cast<__int128>(2) * (major - major0) * rise;
            const __int128 absRun = run < 0 ? -run : run;
            const __int128 absDistance = distance < 0 ? -distance : distance;
            const bool isEnd = x == b.x && y == b.y;
            if (isPainted) {
                ASSERT_FALSE(isEnd) << "the end point was painted";
                ASSERT_LE(absDistance, absRun)
                    << "more than half a pixel off at " << x << ", " << y;
            } else if (absDistance < absRun && !isEnd) {
                ADD_FAILURE() << "nearest pixel " << x << ", " << y << " left out";
                return;
            }
        }
    }
    const std::int64_t steps = to - from + 1;
    EXPECT_LE(painted, steps > 0 ? steps : 0);
}

class PlotSurfaceTest : public testing::Test {
  protected:
    std::unique_ptr<PlotSurface> surface = std::make_unique<PlotSurface>();
    std::unique_ptr<PlotSurface> other = std::make_unique<PlotSurface>();
};

TEST_F(PlotSurfaceTest, StartsWhiteWithABlackPenAtTheOrigin) {
    EXPECT_EQ(countColour(*surface, PlotSurface::kWhite), PlotSurface::kSize * PlotSurface::kSize);
    EXPECT_EQ(surface->penColor(), PlotSurface::kBlack);
    EXPECT_EQ(surface->penX(), 0);
    EXPECT_EQ(surface->penY(), 0);
    EXPECT_THROW(surface->pixel(401, 0), std::out_of_range);
    EXPECT_THROW(surface->pixel(0, -1), std::out_of_range);
}

TEST_F(PlotSurfaceTest, StartupFrameIsABlackOutlineOnWhite) {
    fill(*surface, kBlue);
    paintStartupFrame(*surface);
    for (int y = 0; y <= kLast; ++y) {
        for (int x = 0; x <= kLast; ++x) {
            const bool edge = x == 0 || y == 0 || x == kLast || y == kLast;
            ASSERT_EQ(surface->pixel(x, y), edge ? PlotSurface::kBlack : PlotSurface::kWhite)
                << x << ", " << y;
        }
    }
    EXPECT_EQ(surface->brushColor(), PlotSurface::kBlack);
    EXPECT_TRUE(surface->brushClear());
}

TEST_F(PlotSurfaceTest, RectangleRightAndBottomEdgesAreExclusive) {
    surface->setPenColor(kRed);
    surface->setBrushColor(kBlue);
    surface->rectangle(10, 20, 15, 24);
    for (int y = 18; y <= 26; ++y) {
        for (int x = 8; x <= 17; ++x) {
            const bool inside = x >= 10 && x <= 14 && y >= 20 && y <= 23;
            const bool edge = inside && (x == 10 || x == 14 || y == 20 || y == 23);
            const std::uint32_t expected = edge ? kRed : (inside ? kBlue : PlotSurface::kWhite);
            ASSERT_EQ(surface->pixel(x, y), expected) << x << ", " << y;
        }
    }
}

TEST_F(PlotSurfaceTest, RectangleCornersInAnyOrderAndClearBrush) {
    surface->setPenColor(kRed);
    surface->setBrushColor(kBlue);
    surface->rectangle(15, 24, 10, 20);
    other->setPenColor(kRed);
    other->setBrushColor(kBlue);
    other->rectangle(10, 20, 15, 24);
    EXPECT_TRUE(sameSurface(*surface, *other));

    fill(*surface, PlotSurface::kWhite);
    surface->setBrushClear(true);
    surface->rectangle(10, 20, 15, 24);
    EXPECT_EQ(surface->pixel(12, 22), PlotSurface::kWhite);
    EXPECT_EQ(surface->pixel(10, 22), kRed);
    EXPECT_EQ(countColour(*surface, kRed), 14);
}

TEST_F(PlotSurfaceTest, RectangleBeyondTheSurfaceIsClipped) {
    surface->setPenColor(kRed);
    surface->setBrushColor(kBlue);
    surface->rectangle(std::numeric_limits<int>::min(), -5, std::numeric_limits<int>::max(), 3);
    for (int x = 0; x <= kLast; ++x) {
        ASSERT_EQ(surface->pixel(x, 0), kBlue);
        ASSERT_EQ(surface->pixel(x, 1), kBlue);
        ASSERT_EQ(surface->pixel(x, 2), kRed);  // the bottom edge, y = 3 − 1
        ASSERT_EQ(surface->pixel(x, 3), PlotSurface::kWhite);
    }
}

TEST_F(PlotSurfaceTest, LineStopsOnePixelBeforeItsEndPoint) {
    surface->setPenColor(kRed);
    line(*surface, {10, 10}, {20, 10});
    for (int x = 10; x < 20; ++x)
        EXPECT_EQ(surface->pixel(x, 10), kRed) << x;
    EXPECT_EQ(surface->pixel(20, 10), PlotSurface::kWhite);
    EXPECT_EQ(countColour(*surface, kRed), 10);
    EXPECT_EQ(surface->penX(), 20);
    EXPECT_EQ(surface->penY(), 10);

    // The next line starts where the pen rests and paints the pixel the first one left out.
    surface->lineTo(20, 5);
    EXPECT_EQ(surface->pixel(20, 10), kRed);
    EXPECT_EQ(surface->pixel(20, 5), PlotSurface::kWhite);
}

TEST_F(PlotSurfaceTest, LineOfZeroLengthPaintsNothing) {
    surface->setPenColor(kRed);
    line(*surface, {251, 201}, {251, 201});
    EXPECT_EQ(countColour(*surface, kRed), 0);
}

TEST_F(PlotSurfaceTest, LinesHitTheNearestPixels) {
    surface->setPenColor(kRed);
    const Point cases[][2] = {
        {{0, 0}, {400, 400}},     {{400, 0}, {0, 400}},  {{3, 7}, {300, 50}},
        {{300, 50}, {3, 7}},      {{10, 10}, {13, 300}}, {{-100, 250}, {500, 120}},
        {{200, 201}, {201, 200}}, {{5, 5}, {6, 7}},      {{100, 100}, {104, 102}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c[0].x << "," << c[0].y << " → " << c[1].x << "," << c[1].y);
        fill(*surface, PlotSurface::kWhite);
        line(*surface, c[0], c[1]);
        expectNearestPixelLine(*surface, c[0], c[1]);
    }
}

Point randomPoint(std::mt19937& random) {
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_int_distribution<std::int32_t> near(-60, 460);
    std::uniform_int_distribution<std::int32_t> far(-200000, 200000);
    std::uniform_int_distribution<std::int32_t> any(std::numeric_limits<std::int32_t>::min(),
                                                    std::numeric_limits<std::int32_t>::max());
    switch (kind(random)) {
        case 0:
            return {any(random), any(random)};
        case 1:
            return {far(random), near(random)};
        case 2:
            return {near(random), far(random)};
        default:
            return {near(random), near(random)};
    }
}

TEST_F(PlotSurfaceTest, RandomLinesHitTheNearestPixelsWhateverTheirLength) {
    std::mt19937 random(401);
    surface->setPenColor(kRed);
    for (int i = 0; i < 150; ++i) {
        const Point a = randomPoint(random);
        const Point b = randomPoint(random);
        SCOPED_TRACE(testing::Message() << a.x << "," << a.y << " → " << b.x << "," << b.y);
        fill(*surface, PlotSurface::kWhite);
        line(*surface, a, b);
        expectNearestPixelLine(*surface, a, b);
        if (HasFatalFailure()) return;
    }
}

TEST_F(PlotSurfaceTest, LinesGiveTheSamePixelsInBothDirections) {
    std::mt19937 random(20);
    surface->setPenColor(kRed);
    other->setPenColor(kRed);
    for (int i = 0; i < 400; ++i) {
        const Point a = randomPoint(random);
        const Point b = randomPoint(random);
        SCOPED_TRACE(testing::Message() << a.x << "," << a.y << " → " << b.x << "," << b.y);
        fill(*surface, PlotSurface::kWhite);
        fill(*other, PlotSurface::kWhite);
        // Each direction leaves out its own end point; with both end points added the two match.
        line(*surface, a, b);
        dot(*surface, b);
        line(*other, b, a);
        dot(*other, a);
        ASSERT_TRUE(sameSurface(*surface, *other));
    }
}

TEST_F(PlotSurfaceTest, ExtremeDiagonalCrossesTheSurfaceOnItsDiagonal) {
    const std::int32_t lo = std::numeric_limits<std::int32_t>::min();
    const std::int32_t hi = std::numeric_limits<std::int32_t>::max();
    line(*surface, {lo, lo}, {hi, hi});
    for (int k = 0; k <= kLast; ++k)
        EXPECT_EQ(surface->pixel(k, k), PlotSurface::kBlack) << k;
    EXPECT_EQ(countColour(*surface, PlotSurface::kBlack), PlotSurface::kSize);

    fill(*surface, PlotSurface::kWhite);
    // y = −1 − x passes the corner just outside, through (−1, 0) and (0, −1).
    line(*surface, {lo, hi}, {hi, lo});
    EXPECT_EQ(countColour(*surface, PlotSurface::kBlack), 0);
    line(*surface, {-1000, 5000}, {5000, 4000});  // wholly below the surface
    EXPECT_EQ(countColour(*surface, PlotSurface::kBlack), 0);
}

TEST_F(PlotSurfaceTest, RunRepaintIsASilverGridEveryTwentyPixels) {
    paintStartupFrame(*surface);
    surface->moveTo(3, 3);
    surface->lineTo(300, 350);
    repaintForRun(*surface);
    for (int y = 0; y <= kLast; ++y) {
        for (int x = 0; x <= kLast; ++x) {
            const bool grid = x % 20 == 0 || y % 20 == 0;
            ASSERT_EQ(surface->pixel(x, y), grid ? PlotSurface::kSilver : PlotSurface::kWhite)
                << x << ", " << y;
        }
    }
    EXPECT_EQ(surface->penColor(), PlotSurface::kBlack);
    EXPECT_EQ(surface->brushColor(), PlotSurface::kBlack);
    EXPECT_TRUE(surface->brushClear());
}

TEST_F(PlotSurfaceTest, AxesLieAtPixel200AndTheirEndPointsStayGrid) {
    repaintForRun(*surface);
    drawAxes(*surface);
    for (int y = 0; y <= kLast; ++y) {
        for (int x = 0; x <= kLast; ++x) {
            // The horizontal axis runs from 401 to 0, so it leaves out (0, 200).
            const bool axis = x == 200 || (y == 200 && x != 0);
            const bool grid = x % 20 == 0 || y % 20 == 0;
            const std::uint32_t expected =
                axis ? PlotSurface::kBlack : (grid ? PlotSurface::kSilver : PlotSurface::kWhite);
            ASSERT_EQ(surface->pixel(x, y), expected) << x << ", " << y;
        }
    }
    EXPECT_EQ(surface->penX(), 0);
    EXPECT_EQ(surface->penY(), 200);
}

}  // namespace
}  // namespace kurvilo

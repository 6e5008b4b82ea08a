// SPDX-License-Identifier: MIT
#include "sim/plot_surface.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace kurvilo {

namespace {

constexpr std::int64_t kLast = PlotSurface::kSize - 1;

// floor(n ÷ d) and its remainder in [0, d), for d > 0.
void floorDivide(__int128 n, __int128 d, std::int64_t& quotient, std::int64_t& remainder) {
    __int128 q = n / d;
    __int128 r = n % d;
    if (r < 0) {
        r += d;
        --q;
    }
    quotient = static_cast<std::int64_t>(q);
    remainder = static_cast<std::int64_t>(r);
}

}  // namespace

PlotSurface::PlotSurface() {
    pixels_.fill(kWhite);
}

std::uint32_t PlotSurface::pixel(int x, int y) const {
    if (x < 0 || x > kLast || y < 0 || y > kLast) {
        throw std::out_of_range("pixel outside the 401 x 401 surface");
    }
    return pixels_[static_cast<std::size_t>(y) * kSize + static_cast<std::size_t>(x)];
}

void PlotSurface::rectangle(int x1, int y1, int x2, int y2) {
    // Right and bottom edges are exclusive: the outline covers left..right-1, top..bottom-1.
    const std::int64_t left = std::min(x1, x2);
    const std::int64_t right = std::int64_t{std::max(x1, x2)} - 1;
    const std::int64_t top = std::min(y1, y2);
    const std::int64_t bottom = std::int64_t{std::max(y1, y2)} - 1;
    if (right < left || bottom < top) return;

    const std::int64_t xFrom = std::max<std::int64_t>(left, 0);
    const std::int64_t xTo = std::min(right, kLast);
    const std::int64_t yFrom = std::max<std::int64_t>(top, 0);
    const std::int64_t yTo = std::min(bottom, kLast);
    for (std::int64_t y = yFrom; y <= yTo; ++y) {
        std::uint32_t* row = pixels_.data() + y * kSize;
        const bool edgeRow = y == top || y == bottom;
        for (std::int64_t x = xFrom; x <= xTo; ++x) {
            if (edgeRow || x == left || x == right) {
                row[x] = penColor_;
            } else if (!brushClear_) {
                row[x] = brushColor_;
            }
        }
    }
}

void PlotSurface::moveTo(int x, int y) noexcept {
    penX_ = x;
    penY_ = y;
}

void PlotSurface::lineTo(int x, int y) {
    const std::int64_t ax = penX_;
    const std::int64_t ay = penY_;
    const std::int64_t bx = x;
    const std::int64_t by = y;
    moveTo(x, y);
    if (ax == bx && ay == by) return;

    // The line is always walked from the same end along its major axis, so both directions give
    // the same pixels; only the end point (bx, by) is left out. Each step along the major axis
    // paints one pixel, the one nearest the true line (a tie goes to the larger minor coordinate).
    const bool xMajor = std::llabs(bx - ax) >= std::llabs(by - ay);
    std::int64_t major0 = xMajor ? ax : ay;
    std::int64_t minor0 = xMajor ? ay : ax;
    std::int64_t major1 = xMajor ? bx : by;
    std::int64_t minor1 = xMajor ? by : bx;
    const std::int64_t endMajor = major1;
    if (major1 < major0) {
        std::swap(major0, major1);
        std::swap(minor0, minor1);
    }
    const std::int64_t run = major1 - major0;   // > 0
    const std::int64_t rise = minor1 - minor0;  // |rise| <= run
    const std::int64_t twoRun = 2 * run;

    // Only the part of the major range that lies on the surface is walked: at most 401 steps
    // whatever the coordinates.
    const std::int64_t from = std::max<std::int64_t>(major0, 0);
    const std::int64_t to = std::min<std::int64_t>(major1, kLast);
    if (from > to) return;

    // minor(k) = minor0 + floor((2·k·rise + run) ÷ 2·run) for k steps from major0; the first one
    // exactly (the product needs more than 64 bits), the rest incrementally.
    std::int64_t offset = 0;
    std::int64_t error = 0;
    floorDivide(static_cast<__int128>(2) * (from - major0) * rise + run, twoRun, offset, error);
    std::int64_t minor = minor0 + offset;
    const std::int64_t twoRise = 2 * rise;

    for (std::int64_t major = from; major <= to; ++major) {
        if (major != endMajor && minor >= 0 && minor <= kLast) {
            const std::int64_t px = xMajor ? major : minor;
            const std::int64_t py = xMajor ? minor : major;
            pixels_[static_cast<std::size_t>(py * kSize + px)] = penColor_;
        }
        error += twoRise;
        if (error >= twoRun) {
            error -= twoRun;
            ++minor;
        } else if (error < 0) {
            error += twoRun;
            --minor;
        }
    }
}

void paintStartupFrame(PlotSurface& surface) {
    surface.setBrushColor(PlotSurface::kWhite);
    surface.setBrushClear(false);
    surface.rectangle(0, 0, PlotSurface::kSize, PlotSurface::kSize);
    surface.setBrushColor(PlotSurface::kBlack);
    surface.setBrushClear(true);
}

void repaintForRun(PlotSurface& surface) {
    surface.setBrushColor(PlotSurface::kWhite);
    surface.setBrushClear(false);
    surface.rectangle(0, 0, PlotSurface::kSize, PlotSurface::kSize);
    surface.setPenColor(PlotSurface::kSilver);
    for (int k = 0; k < PlotSurface::kSize; k += 20) {
        surface.moveTo(k, 0);
        surface.lineTo(k, PlotSurface::kSize);
        surface.moveTo(0, k);
        surface.lineTo(PlotSurface::kSize, k);
    }
    surface.setPenColor(PlotSurface::kBlack);
    surface.setBrushColor(PlotSurface::kBlack);
    surface.setBrushClear(true);
}

}  // namespace kurvilo

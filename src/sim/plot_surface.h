// SPDX-License-Identifier: MIT
// The 401 × 401 plot surface: our own 32-bit pixel buffer (0xAARRGGBB, alpha always 0xFF, rows
// top to bottom, no padding) with the drawing semantics of the window's canvas: pen and brush
// colours, a clear brush, rectangles whose right and bottom edges are exclusive, and move-to /
// line-to where a line stops one pixel before its end point. The window and the command-line
// tool wrap data() in a QImage (Format_RGB32, 401 * 4 bytes per line) without copying.
#pragma once

#include <array>
#include <cstdint>

namespace kurvilo {

class PlotSurface {
  public:
    static constexpr int kSize = 401;
    static constexpr std::uint32_t kWhite = 0xFFFFFFFF;
    static constexpr std::uint32_t kBlack = 0xFF000000;
    static constexpr std::uint32_t kSilver = 0xFFC0C0C0;

    PlotSurface();  // white, pen black at (0, 0), brush white and solid

    std::uint32_t pixel(int x, int y) const;  // x, y in 0..400
    const std::uint32_t* data() const noexcept { return pixels_.data(); }
    std::uint32_t* data() noexcept { return pixels_.data(); }
    static constexpr int bytesPerLine() noexcept { return kSize * 4; }

    void setPenColor(std::uint32_t argb) noexcept { penColor_ = argb; }
    void setBrushColor(std::uint32_t argb) noexcept { brushColor_ = argb; }
    void setBrushClear(bool clear) noexcept { brushClear_ = clear; }
    std::uint32_t penColor() const noexcept { return penColor_; }
    std::uint32_t brushColor() const noexcept { return brushColor_; }
    bool brushClear() const noexcept { return brushClear_; }

    // Outline with the pen and fill with the brush (unless clear), right/bottom exclusive.
    void rectangle(int x1, int y1, int x2, int y2);
    void moveTo(int x, int y) noexcept;
    // From the pen position up to, not including, (x, y); the pen then rests at (x, y). Any
    // 32-bit coordinates; only the part on the surface is painted.
    void lineTo(int x, int y);
    int penX() const noexcept { return penX_; }
    int penY() const noexcept { return penY_; }

  private:
    std::array<std::uint32_t, kSize * kSize> pixels_;
    std::uint32_t penColor_ = kBlack;
    std::uint32_t brushColor_ = kWhite;
    bool brushClear_ = false;
    int penX_ = 0;
    int penY_ = 0;
};

// The main window's create handler: white surface, black 1-pixel frame, then brush black and clear.
void paintStartupFrame(PlotSurface& surface);

// The start action's repaint: white, a silver grid at 0, 20, ..., 400 in both directions (its
// outer lines replace the frame), then pen black, brush black and clear for the run's lines.
void repaintForRun(PlotSurface& surface);

}  // namespace kurvilo

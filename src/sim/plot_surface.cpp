#include "sim/plot_surface.h"

namespace kurvilo {

// Placeholder so the tree builds while the surface is written.
PlotSurface::PlotSurface() { pixels_.fill(kWhite); }
std::uint32_t PlotSurface::pixel(int x, int y) const { return pixels_[y * kSize + x]; }
void PlotSurface::rectangle(int, int, int, int) {}
void PlotSurface::moveTo(int x, int y) noexcept { penX_ = x, penY_ = y; }
void PlotSurface::lineTo(int x, int y) { moveTo(x, y); }
void paintStartupFrame(PlotSurface&) {}

}  // namespace kurvilo

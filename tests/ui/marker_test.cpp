// SPDX-License-Identifier: MIT
// The marker Shape1 of the window paints exactly the fixed table that kurvilo-cli lays over its
// frames: the window's own widget, rendered on transparency and on the colours of the surface.
// Painted straight onto grey, the window's antialiasing rounds some edge pixels one unit
// differently from laying the finished disc over it, as the tool does (and always did).
#include "picture/marker.h"

#include <QImage>
#include <QPainter>
#include <cstdlib>

#include "window_fixture.h"

namespace kurvilo {
namespace {

class Marker : public WindowTest {};

TEST_F(Marker, Shape1PaintsTheTableOfTheCommandLineTool) {
    QWidget* shape = inMain<QWidget>("Shape1");
    ASSERT_NE(shape, nullptr);
    ASSERT_EQ(shape->size(), QSize(kMarkerSize, kMarkerSize));
    QImage painted(kMarkerSize, kMarkerSize, QImage::Format_ARGB32_Premultiplied);
    painted.fill(Qt::transparent);
    shape->render(&painted, QPoint(), QRegion(), QWidget::DrawChildren);
    for (int y = 0; y < kMarkerSize; ++y) {
        for (int x = 0; x < kMarkerSize; ++x) {
            const std::uint32_t a = kMarkerCoverage[static_cast<std::size_t>(y * kMarkerSize + x)];
            // Red, premultiplied by its coverage.
            EXPECT_EQ(painted.pixel(x, y), a << 24 | a << 16) << x << "," << y;
        }
    }
}

TEST_F(Marker, Shape1OverTheSurfaceColoursIsWhatTheToolComposes) {
    QWidget* shape = inMain<QWidget>("Shape1");
    ASSERT_NE(shape, nullptr);
    const struct {
        std::uint32_t under;
        int tolerance;  // per channel
    } cases[] = {{0xFFFFFFFF, 0}, {0xFF000000, 0}, {0xFFC0C0C0, 1}, {0xFF123456, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.under);
        QImage painted(kMarkerSize, kMarkerSize, QImage::Format_RGB32);
        painted.fill(c.under);
        shape->render(&painted, QPoint(), QRegion(), QWidget::DrawChildren);
        Image composed(kMarkerSize, kMarkerSize, c.under);
        drawMarker(composed, 0, 0);
        for (int y = 0; y < kMarkerSize; ++y) {
            for (int x = 0; x < kMarkerSize; ++x) {
                const std::uint32_t window = painted.pixel(x, y);
                const std::uint32_t tool = composed.at(x, y);
                for (const int shift : {16, 8, 0}) {
                    const int a = static_cast<int>((window >> shift) & 0xFF);
                    const int b = static_cast<int>((tool >> shift) & 0xFF);
                    EXPECT_LE(std::abs(a - b), c.tolerance) << x << "," << y << " bits " << shift;
                }
            }
        }
    }
}

}  // namespace
}  // namespace kurvilo

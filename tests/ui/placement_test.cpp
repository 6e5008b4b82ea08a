// SPDX-License-Identifier: MIT
// Where the windows open: the main window at its designed place where it fits, else just inside
// the available area of its screen; the keypad at its designed offset from the main window,
// wherever that is, inside the main window's screen. The arithmetic as a table; the windows on
// the screens the tests run with (a 1920 × 1080 desktop, or a laptop at 200 % beside a monitor:
// tests/ui/screens/).
#include "ui/placement.h"

#include <QGuiApplication>
#include <QScreen>

#include "window_fixture.h"

namespace kurvilo {
namespace {

struct PlaceCase {
    const char* name;
    QPoint wanted;
    QSize frame;
    QRect area;
    QPoint placed;
};

void PrintTo(const PlaceCase& row, std::ostream* os) {
    *os << row.name;
}

class PlaceInside : public testing::TestWithParam<PlaceCase> {};

TEST_P(PlaceInside, MovesAFrameJustEnoughToLieInsideTheArea) {
    const PlaceCase& row = GetParam();
    const QPoint placed = placeInside(row.wanted, row.frame, row.area);
    EXPECT_EQ(placed, row.placed) << placed.x() << "," << placed.y();
}

const QSize kMain{785, 444};
const QSize kKeypad{464, 182};

INSTANTIATE_TEST_SUITE_P(
    EachScreen, PlaceInside,
    testing::Values(
        PlaceCase{"FitsAtItsPlace", {328, 207}, kMain, {0, 0, 1920, 1080}, {328, 207}},
        PlaceCase{"ExactlyFitting", {1135, 636}, kMain, {0, 0, 1920, 1080}, {1135, 636}},
        // 1920 × 1080 at 200 %: a third of the window lay off the right and the bottom.
        PlaceCase{"LaptopAt200Percent", {328, 207}, kMain, {0, 0, 960, 540}, {175, 96}},
        // A top panel of 32 pixels and a dock of 64 on the left.
        PlaceCase{"BelowAPanelBesideADock", {10, 0}, kMain, {64, 32, 1856, 1048}, {64, 32}},
        PlaceCase{"OffTheLeftAndTop", {-110, -20}, kKeypad, {0, 0, 1920, 1080}, {0, 0}},
        PlaceCase{"OnASecondMonitor", {3100, 900}, kKeypad, {1920, 0, 1280, 1024}, {2736, 842}},
        PlaceCase{"LargerThanTheScreen", {328, 207}, kMain, {0, 0, 640, 400}, {0, 0}},
        PlaceCase{"WiderThanTheScreenOnly", {328, 207}, kMain, {0, 0, 640, 1080}, {0, 207}}),
    [](const testing::TestParamInfo<PlaceCase>& info) { return std::string(info.param.name); });

// Whether the whole frame of `window` lies on its screen's available area.
testing::AssertionResult onItsScreen(QWidget* window, QSize frame) {
    const QRect area = window->screen()->availableGeometry();
    const QRect placed(window->pos(), frame);
    if (area.contains(placed)) return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << "frame at " << placed.x() << "," << placed.y() << " beyond the area " << area.width()
           << "x" << area.height() << " at " << area.x() << "," << area.y();
}

using Placement = WindowTest;

TEST_F(Placement, TheMainWindowOpensAtItsPlaceWhereItFitsElseWhollyOnTheScreen) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(onItsScreen(form1, TForm1::kDesignedFrame));
    if (area.contains(QRect(TForm1::kDesignedPlace, TForm1::kDesignedFrame))) {
        EXPECT_EQ(form1->pos(), TForm1::kDesignedPlace);
    } else {
        // Moved just enough: against the right or the bottom edge, else at the designed place.
        const QPoint pos = form1->pos();
        EXPECT_TRUE(pos.x() == TForm1::kDesignedPlace.x() ||
                    pos.x() + TForm1::kDesignedFrame.width() == area.right() + 1 ||
                    pos.x() == area.left());
        EXPECT_TRUE(pos.y() == TForm1::kDesignedPlace.y() ||
                    pos.y() + TForm1::kDesignedFrame.height() == area.bottom() + 1 ||
                    pos.y() == area.top());
    }
}

// The keypad opened with the main window at `main`: where it is while open.
QPoint keypadOpenedFrom(TForm1* form1, TForm2* form2, QPoint main) {
    form1->move(main);
    QPoint opened;
    QTimer::singleShot(0, form2, [&] {
        opened = form2->pos();
        form2->Button30->click();
    });
    form1->Button3->click();
    return opened;
}

TEST_F(Placement, TheKeypadOpensAtItsOffsetFromTheMainWindowWhereverThatIs) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint main(area.left() + 200, area.top() + 100);
    EXPECT_EQ(keypadOpenedFrom(form1, form2, main), main + TForm2::kOffsetFromMainWindow);
    // Moved since: the keypad follows.
    const QPoint moved = main + QPoint(40, 30);
    EXPECT_EQ(keypadOpenedFrom(form1, form2, moved), moved + TForm2::kOffsetFromMainWindow);
}

TEST_F(Placement, TheKeypadStaysOnTheMainWindowsScreenAtItsEdges) {
    for (QScreen* screen : QGuiApplication::screens()) {
        SCOPED_TRACE(screen->name().toStdString());
        const QRect area = screen->availableGeometry();
        // The main window at the left and at the bottom right corner of this screen.
        for (const QPoint& main :
             {area.topLeft(), area.bottomRight() - QPoint(TForm1::kDesignedFrame.width() - 1,
                                                          TForm1::kDesignedFrame.height() - 1)}) {
            const QPoint opened = keypadOpenedFrom(form1, form2, main);
            EXPECT_TRUE(area.contains(QRect(opened, TForm2::kDesignedFrame)))
                << opened.x() << "," << opened.y();
            EXPECT_EQ(opened, placeInside(main + TForm2::kOffsetFromMainWindow,
                                          TForm2::kDesignedFrame, area));
        }
    }
}

}  // namespace
}  // namespace kurvilo

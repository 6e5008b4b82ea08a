// SPDX-License-Identifier: MIT
// Ticks through the window give exactly the core's run (values, pixel list, marker, picture), and
// a tick repaints only what it changed: its segment, the marker's old and new place and the value
// rows whose text changed; the picture on screen is still the whole surface.
#include <QComboBox>
#include <QLineEdit>
#include <QPaintEvent>
#include <QScreen>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QtTest/QTest>
#include <cstring>
#include <random>

#include "sim/plot_surface.h"
#include "sim/tick.h"
#include "ui/formula_worker.h"
#include "window_fixture.h"

namespace kurvilo {
namespace {

// The region a widget was asked to paint.
class PaintRecorder : public QObject {
  public:
    explicit PaintRecorder(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            painted += static_cast<QPaintEvent*>(event)->region();
            ++paints;
        }
        return false;
    }
    QRegion painted;
    int paints = 0;
};

std::string describe(const QRegion& region) {
    std::string text;
    for (const QRect& r : region) {
        text += "(" + std::to_string(r.x()) + "," + std::to_string(r.y()) + " " +
                std::to_string(r.width()) + "x" + std::to_string(r.height()) + ")";
    }
    return text;
}

class LightTick : public WindowTest {
  protected:
    // The typical road, typed into the window and into a model of the same controls.
    void typeTypicalRoad() {
        inMain<QLineEdit>("Edit1")->setText("-y");
        inMain<QLineEdit>("Edit2")->setText("-x");
        inMain<QLineEdit>("LabeledEdit16")->setText("5");
        inMain<QLineEdit>("LabeledEdit12")->setText("5");
        core.edit1 = "-y";
        core.edit2 = "-x";
        core.labeledEdit16 = "5";
        core.labeledEdit12 = "5";
    }

    void showWindow() {
        form1->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form1));
        QCoreApplication::processEvents();
    }

    // The tests below tick by hand and let events through between ticks: the window's own timer
    // is kept quiet, or a slow machine would slip in ticks of its own.
    void startTickingByHand() {
        click("Button1");
        timer()->blockSignals(true);
    }

    // One tick through the window, with the repaint it asked for.
    void tick() {
        form1->Timer1Timer();
        QCoreApplication::processEvents();
    }

    QPoint listedPixel() {
        const std::vector<std::string> pixel = rows(inMain<ListBox>("ListBox3"));
        if (pixel.size() != 2) {
            ADD_FAILURE() << "ListBox3 holds no pixel";
            return {};
        }
        return {std::stoi(pixel[0]), std::stoi(pixel[1])};
    }

    RunModel core;
};

TEST_F(LightTick, TicksThroughTheWindowGiveTheCoresRunExactly) {
    typeTypicalRoad();
    click("Button1");
    startAction(core);
    auto* marker = inMain<QWidget>("Shape1");
    for (int tick = 1; tick <= 700; ++tick) {
        form1->Timer1Timer();
        ASSERT_TRUE(Timer1Timer(core)) << "tick " << tick;
        ASSERT_EQ(rows(inMain<ListBox>("ListBox1")), core.listBox1) << "tick " << tick;
        ASSERT_EQ(rows(inMain<ListBox>("ListBox3")), core.listBox3) << "tick " << tick;
        ASSERT_EQ(marker->isHidden(), !core.shape1.visible) << "tick " << tick;
        ASSERT_EQ(marker->pos(), QPoint(core.shape1.left, core.shape1.top)) << "tick " << tick;
    }
    EXPECT_EQ(std::memcmp(form1->surface().data(), core.surface.data(),
                          std::size_t(PlotSurface::bytesPerLine()) * PlotSurface::kSize),
              0);
    EXPECT_EQ(tagOf(timer()), static_cast<int>(core.timer1.tag));
    EXPECT_EQ(timer()->interval(), core.timer1.interval);
}

TEST_F(LightTick, TheScreenShowsTheWholeSurfaceAfterTicksThatRepaintedOnlyTheirSegments) {
    // Steps of about ten pixels, longer than the marker that is repainted anyway.
    inMain<QLineEdit>("Edit1")->setText("-y");
    inMain<QLineEdit>("Edit2")->setText("-x");
    inMain<QLineEdit>("LabeledEdit16")->setText("10");
    inMain<QLineEdit>("LabeledEdit12")->setText("10");
    inMain<QComboBox>("ComboBox2")->setCurrentIndex(0);  // "1/10"
    showWindow();
    startTickingByHand();
    QCoreApplication::processEvents();
    for (int i = 0; i < 80; ++i)
        tick();
    const QImage onScreen =
        form1->screen()
            ->grabWindow(form1->winId(), 4, 4, PlotSurface::kSize, PlotSurface::kSize)
            .toImage();
    ASSERT_EQ(onScreen.size(), QSize(PlotSurface::kSize, PlotSurface::kSize));
    // The marker covers its 8 × 8 square; everything else is the surface, pixel for pixel.
    const QRect marker = inMain<QWidget>("Shape1")->geometry().translated(-4, -4);
    int differences = 0;
    for (int y = 0; y < PlotSurface::kSize; ++y) {
        for (int x = 0; x < PlotSurface::kSize; ++x) {
            if (marker.contains(x, y)) continue;
            if ((onScreen.pixel(x, y) | 0xFF000000u) != form1->surface().pixel(x, y)) ++differences;
        }
    }
    EXPECT_EQ(differences, 0);
}

TEST_F(LightTick, ATickRepaintsItsSegmentTheMarkerAndTheChangedRowsOnly) {
    // A road on which vx, vy and y stay as they are: only the rows of x and t change.
    inMain<QLineEdit>("Edit1")->setText("0");
    inMain<QLineEdit>("Edit2")->setText("0");
    inMain<QLineEdit>("LabeledEdit15")->setText("50");  // five pixels a tick
    showWindow();
    startTickingByHand();
    for (int i = 0; i < 10; ++i)
        tick();
    const QPoint from = listedPixel();
    const QRect markerBefore = inMain<QWidget>("Shape1")->geometry();

    auto* values = inMain<ListBox>("ListBox1");
    PaintRecorder surface(inMain<QWidget>("Image1"));
    PaintRecorder rowsPainted(values->viewport());
    std::vector<std::unique_ptr<PaintRecorder>> spins;
    for (const char* name : {"SpinEdit1", "SpinEdit2", "SpinEdit3", "SpinEdit4"}) {
        spins.push_back(std::make_unique<PaintRecorder>(inMain<QWidget>(name)));
        for (QWidget* part : inMain<QWidget>(name)->findChildren<QWidget*>())
            spins.push_back(std::make_unique<PaintRecorder>(part));
    }
    tick();
    const QPoint to = listedPixel();
    const QRect markerAfter = inMain<QWidget>("Shape1")->geometry();
    ASSERT_NE(from, to) << "the point did not move";

    // Image1's own coordinates: the window's less the surface's place (4, 4).
    QRegion allowed(QRect(from, to).normalized());
    allowed += markerBefore.translated(-4, -4);
    allowed += markerAfter.translated(-4, -4);
    EXPECT_GT(surface.paints, 0);
    EXPECT_TRUE((surface.painted - allowed).isEmpty())
        << "painted " << surface.painted.boundingRect().width() << "x"
        << surface.painted.boundingRect().height() << " at " << surface.painted.boundingRect().x()
        << "," << surface.painted.boundingRect().y();

    QRegion changedRows;
    for (int row : {1, 4})
        changedRows += values->visualItemRect(values->item(row));
    EXPECT_GT(rowsPainted.paints, 0);
    EXPECT_TRUE((rowsPainted.painted - changedRows).isEmpty())
        << describe(rowsPainted.painted) << " beyond " << describe(changedRows);
    for (const auto& spin : spins)
        EXPECT_EQ(spin->paints, 0) << "a zoom spin box repainted";
}

// The style's own painting of 12-pixel rows, to compare the lists' light painting with.
class StyleRows : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), 12};
    }
};

// Value texts as the tick writes them: a sign, up to nine digits, up to four decimals, with
// either separator; seeded, so every run compares the same texts.
std::vector<std::string> sampleValues(int count) {
    std::mt19937 random(20261208);
    std::vector<std::string> values;
    for (int i = 0; i < count; ++i) {
        std::string value = random() % 2 ? "-" : "";
        value += std::to_string(random() % 1000000000 / (1 + random() % 100000));
        const unsigned decimals = random() % 5;
        if (decimals > 0) {
            value += random() % 4 == 0 ? ',' : '.';
            for (unsigned d = 0; d < decimals; ++d)
                value += char('0' + random() % 10);
        }
        values.push_back(value);
    }
    return values;
}

TEST_F(LightTick, RowsLookExactlyAsTheStyleDrawsThem) {
    showWindow();
    auto* shown = inMain<ListBox>("ListBox1");
    // A plain list widget with the same rows, drawn by the style.
    QListWidget styled(form1);
    styled.setItemDelegate(new StyleRows(&styled));
    styled.setUniformItemSizes(true);
    styled.setTextElideMode(Qt::ElideNone);
    styled.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    styled.setFocusPolicy(Qt::NoFocus);
    styled.setFont(shown->font());
    styled.setGeometry(shown->geometry());
    styled.show();
    const auto expectSame = [&](const std::vector<std::string>& texts) {
        shown->setTexts(texts);
        styled.clear();
        for (const std::string& text : texts)
            styled.addItem(QString::fromStdString(text));
        QCoreApplication::processEvents();  // the lists lay their new rows out
        const QImage light = shown->viewport()->grab().toImage();
        const QImage style = styled.viewport()->grab().toImage();
        ASSERT_EQ(light.size(), style.size());
        EXPECT_TRUE(light == style)
            << texts[0] << " " << texts[1] << " " << texts[2] << " " << texts[3] << " " << texts[4];
    };
    const std::vector<std::string> values = sampleValues(200);
    for (std::size_t i = 0; i + 5 <= values.size(); i += 5)
        expectSame({values.begin() + long(i), values.begin() + long(i) + 5});
    // Texts as typed, with characters a value has not, are drawn by the text layout.
    expectSame({"abc", "1e5", " 5", "+5", "θ=5"});

    // The label list, in both kinds of modes.
    for (int mode : {0, 1}) {
        SCOPED_TRACE(mode);
        inMain<RadioGroup>("RadioGroup1")->item(mode)->click();
        shown = inMain<ListBox>("ListBox2");
        styled.setGeometry(shown->geometry());
        const std::vector<std::string> labels = shown->texts();
        expectSame(labels);
    }
}

// Which formulas the window evaluates on its own thread, with no thread switch and no wait: all
// but those with a summation term or long texts.
struct QuickCase {
    const char* name;
    std::string edit1;
    std::string initialX;  // LabeledEdit16
    int handed;            // of 20 ticks
};

void PrintTo(const QuickCase& quick, std::ostream* os) {
    *os << quick.name;
}

class QuickFormulas : public LightTick, public testing::WithParamInterface<QuickCase> {};

TEST_P(QuickFormulas, OnlyFormulasThatMayTakeLongGoToTheWorkersThread) {
    const QuickCase& row = GetParam();
    typeTypicalRoad();
    inMain<QLineEdit>("Edit1")->setText(QString::fromStdString(row.edit1));
    inMain<QLineEdit>("LabeledEdit16")->setText(QString::fromStdString(row.initialX));
    click("Button1");
    for (int tick = 0; tick < 20; ++tick)
        form1->Timer1Timer();
    EXPECT_TRUE(inMain<QLabel>("Label3")->text().isEmpty());
    EXPECT_EQ(form1->formulaWorker().handedToThread(), row.handed);
}

// "-y+0+0...+0", exactly as long as a quick formula may be.
std::string longestQuickSum() {
    std::string sum = "-y";
    while (sum.size() < FormulaWorker::kQuickFormula)
        sum += "+0";
    return sum;
}

INSTANTIATE_TEST_SUITE_P(
    EachShape, QuickFormulas,
    testing::Values(QuickCase{"TypicalRoad", "-y", "5", 0},
                    QuickCase{"FunctionsAndPowers", "-sin(y)*2^x/(1+t)", "5", 0},
                    QuickCase{"LongestQuickFormula", longestQuickSum(), "5", 0},
                    QuickCase{"OneCharacterLonger", longestQuickSum() + "0", "5", 20},
                    QuickCase{"SummationTerm", "-y+Σ{n=1<>2:0}", "5", 20},
                    // Only the first tick reads the text as typed; then x is the tick's own.
                    QuickCase{"LongValueText", "-y", "5." + std::string(200, '0'), 1}),
    [](const testing::TestParamInfo<QuickCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kurvilo

// SPDX-License-Identifier: MIT
// The window's tick as a user sees it: the main window shown on the offscreen platform, the
// typical road ('-x', '-y', X = 5, Vy = 5) started with "描写開始", then 1 000 ticks, each one
// followed by the repaint it asked for. The time per iteration is the cost of one tick.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <cstdint>
#include <cstdlib>

#include "ui/components.h"
#include "ui/start_up.h"
#include "ui/unit6.h"

namespace {

using namespace kurvilo;

// Counts the widgets painted, to show what a tick repaints besides its cost.
class PaintCounter : public QObject {
  public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
    std::int64_t paints = 0;
};

void BM_WindowTickTypicalRoad(benchmark::State& state) {
    setUpApplication();
    Windows windows = createWindows();
    TForm1& form1 = *windows.form1;
    form1.show();
    if (!QTest::qWaitForWindowExposed(&form1)) {
        state.SkipWithError("the window was never exposed");
        return;
    }
    form1.Edit1->setText(QStringLiteral("-y"));
    form1.Edit2->setText(QStringLiteral("-x"));
    form1.LabeledEdit16->setText(QStringLiteral("5"));
    form1.LabeledEdit12->setText(QStringLiteral("5"));
    form1.Button1->click();
    // The ticks are the benchmark's own: the running timer must not add any of its own.
    form1.Timer1->blockSignals(true);
    QCoreApplication::processEvents();

    PaintCounter counter;
    for (QWidget* widget : form1.findChildren<QWidget*>())
        widget->installEventFilter(&counter);
    for (auto _ : state) {
        form1.Timer1Timer();
        QCoreApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["widget_paints_per_tick"] =
        benchmark::Counter(double(counter.paints) / double(state.iterations()));
}
BENCHMARK(BM_WindowTickTypicalRoad)->Iterations(1000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    // A window without a display, like the window tests.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int qtArgc = 1;
    static char* qtArgv[] = {argv[0], nullptr};
    QApplication application(qtArgc, qtArgv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// SPDX-License-Identifier: MIT
// The window's tick as a user sees it: the main window shown (offscreen unless QT_QPA_PLATFORM
// names another platform), the typical road ('-x', '-y', X = 5, Vy = 5) started with "描写開始".
//   BM_WindowTickTypicalRoad: 1 000 ticks called in a row, each one followed by the repaint it
//     asked for; the time per iteration is the cost of one tick.
//   BM_WindowRunCpuPerTick: the run as the timer drives it at "1/100s" for three seconds; the
//     time reported is the CPU time of the whole process (every thread) per tick, which shows
//     any waiting that spins instead of sleeping. Run it under an X server (xvfb-run with
//     QT_QPA_PLATFORM=xcb) for the cost on a desktop.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "formula/evaluate.h"
#include "ui/components.h"
#include "ui/formula_worker.h"
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

// The windows, shown, with the typical road typed in; null (and the benchmark skipped) when the
// window never shows.
std::unique_ptr<TForm1> typicalRoad(benchmark::State& state) {
    setUpApplication();
    Windows windows = createWindows();
    std::unique_ptr<TForm1> form1 = std::move(windows.form1);
    form1->show();
    if (!QTest::qWaitForWindowExposed(form1.get())) {
        state.SkipWithError("the window was never exposed");
        return nullptr;
    }
    form1->Edit1->setText(QStringLiteral("-y"));
    form1->Edit2->setText(QStringLiteral("-x"));
    form1->LabeledEdit16->setText(QStringLiteral("5"));
    form1->LabeledEdit12->setText(QStringLiteral("5"));
    return form1;
}

double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

void BM_WindowTickTypicalRoad(benchmark::State& state) {
    const std::unique_ptr<TForm1> window = typicalRoad(state);
    if (!window) return;
    TForm1& form1 = *window;
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

void BM_WindowRunCpuPerTick(benchmark::State& state) {
    const std::unique_ptr<TForm1> window = typicalRoad(state);
    if (!window) return;
    TForm1& form1 = *window;
    std::int64_t ticks = 0;
    QObject::connect(form1.Timer1, &QTimer::timeout, [&ticks] { ++ticks; });
    // The program's own kind of event loop, not a test's polling wait.
    const auto runEventLoopFor = [](int milliseconds) {
        QEventLoop loop;
        QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
        loop.exec();
    };
    for (auto _ : state) {
        // The first tick comes after 100 ms; the rest every 10 ms.
        form1.Button1->click();
        runEventLoopFor(200);
        const std::int64_t ticksBefore = ticks;
        const double cpuBefore = processCpuSeconds();
        runEventLoopFor(3000);
        const double cpu = processCpuSeconds() - cpuBefore;
        const std::int64_t counted = ticks - ticksBefore;
        form1.Button2->click();
        if (counted == 0) {
            state.SkipWithError("no tick came");
            return;
        }
        state.SetIterationTime(cpu / double(counted));
        state.counters["ticks"] = double(counted);
    }
}
// The longest evaluation the window's thread does itself: formulas at the length below which a
// formula counts as quick, over value texts at the longest quick length. It bounds how long
// "描写中止" can wait for a tick.
void BM_LongestQuickFormula(benchmark::State& state) {
    const std::size_t length = FormulaWorker::kQuickFormula;
    std::string formula;
    if (state.range(0) == 0) {
        // Nested functions: a reduction per group, each rewriting the text around it.
        const std::size_t depth = (length - 1) / 5;
        for (std::size_t i = 0; i < depth; ++i)
            formula += "sin(";
        formula += 'x';
        formula.append(depth, ')');
    } else {
        // A name in every other place: the substitution makes the text 64 times longer.
        formula = "x";
        while (formula.size() + 2 <= length)
            formula += "+x";
    }
    std::string value = "0.";
    value.append(FormulaWorker::kQuickText - value.size(), '1');
    FormulaInputs inputs;
    inputs.values[1] = value;
    const FormulaTexts texts = inputs;
    if (!FormulaWorker::isQuick(formula, texts)) {
        state.SkipWithError("the formula is not quick");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(EvaluateFormula(formula, texts));
}
BENCHMARK(BM_LongestQuickFormula)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

BENCHMARK(BM_WindowRunCpuPerTick)->Iterations(1)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    // A window without a display, like the window tests, unless a platform is named.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    prepareEnvironment();
    static int qtArgc = 1;
    static char* qtArgv[] = {argv[0], nullptr};
    QApplication application(qtArgc, qtArgv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// SPDX-License-Identifier: MIT
// kurvilo-cli run, driven as a program: its trace and its picture must be exactly what the same
// settings give in-process through the tick model the window uses.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "picture/pictures.h"
#include "sim/plot_surface.h"
#include "sim/tick.h"
#include "sim/view_mapping.h"

namespace kurvilo {
namespace {

using testing::CliResult;
using testing::runCli;

class TempFile {
  public:
    explicit TempFile(const char* suffix) {
        static int counter = 0;
        path_ = "/tmp/kurvilo-run-test-" + std::to_string(getpid()) + "-" +
                std::to_string(counter++) + suffix;
    }
    ~TempFile() { std::remove(path_.c_str()); }
    const std::string& path() const { return path_; }
    std::string contents() const {
        std::ifstream in(path_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

  private:
    std::string path_;
};

// How many pixels of the bitmap differ from the surface; -1 when it is no 401 × 401 bitmap.
long differingPixels(const std::string& bmp, const PlotSurface& surface) {
    const Image picture = testing::decodeBmp(bmp).image;
    if (picture.width() != PlotSurface::kSize || picture.height() != PlotSurface::kSize) return -1;
    long n = 0;
    for (int y = 0; y < PlotSurface::kSize; ++y) {
        for (int x = 0; x < PlotSurface::kSize; ++x)
            n += picture.at(x, y) != surface.pixel(x, y);
    }
    return n;
}

// The in-process run: the start action and up to n ticks, with the trace rows the tool writes.
struct InProcessRun {
    std::unique_ptr<RunModel> model = std::make_unique<RunModel>();
    std::string trace;
    bool failed = false;
};

InProcessRun runInProcess(const std::function<void(RunModel&)>& settings, int ticks) {
    InProcessRun run;
    run.model->constants = {"0", "0", "0", "0"};
    settings(*run.model);
    // The polar modes name their columns by the polar names.
    run.trace = run.model->graphMode % 2 == 0 ? "tick\tvx\tx\tvy\ty\tt\tpx\tpy\n"
                                              : "tick\tv\u03B8\t\u03B8\tvr\tr\tt\tpx\tpy\n";
    paintStartupFrame(run.model->surface);
    startAction(*run.model);
    for (int tick = 1; tick <= ticks; ++tick) {
        if (!Timer1Timer(*run.model)) {
            run.failed = true;
            break;
        }
        run.trace += std::to_string(tick);
        for (const auto& text : run.model->listBox1)
            run.trace += "\t" + text;
        for (const auto& text : run.model->listBox3)
            run.trace += "\t" + text;
        run.trace += "\n";
    }
    return run;
}

std::vector<std::string> withOutputs(std::vector<std::string> args, const TempFile& trace,
                                     const TempFile& bmp) {
    args.insert(args.end(), {"--trace", trace.path(), "--bmp", bmp.path()});
    return args;
}

TEST(RunCommand, TypicalRoadTraceStartsAsTheWindowShowsIt) {
    const CliResult r = runCli({"run", "--mode", "0", "--f1", "-y", "--f2", "-x", "--x0", "5",
                                "--vy0", "5", "--ticks", "2", "--trace", "-"});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "tick\tvx\tx\tvy\ty\tt\tpx\tpy\n"
              "1\t-0.05\t4.9995\t5\t0.05\t0.01\t251\t201\n"
              "2\t-0.1\t4.9985\t4.9995\t0.1\t0.02\t250\t200\n");
}

TEST(RunCommand, TraceHeaderNamesTheColumnsOfTheMode) {
    const struct {
        const char* mode;
        const char* header;
    } cases[] = {
        {"cartesian-motion", "tick\tvx\tx\tvy\ty\tt\tpx\tpy\n"},
        {"polar-motion", "tick\tv\u03B8\t\u03B8\tvr\tr\tt\tpx\tpy\n"},
        {"cartesian-curve", "tick\tvx\tx\tvy\ty\tt\tpx\tpy\n"},
        {"polar-curve", "tick\tv\u03B8\t\u03B8\tvr\tr\tt\tpx\tpy\n"},
    };
    for (const auto& c : cases) {
        const CliResult r = runCli({"run", "--mode", c.mode, "--ticks", "0", "--trace", "-"});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, c.header) << c.mode;
    }
}

TEST(RunCommand, TraceAndPictureMatchTheTickModelForEveryOption) {
    const struct {
        const char* what;
        std::vector<std::string> args;
        int ticks;
        std::function<void(RunModel&)> settings;
    } cases[] = {
        {"harmonic oscillator",
         {"--mode", "cartesian-motion", "--f1", "-y", "--f2", "-x", "--x0", "5", "--vy0", "5"},
         300,
         [](RunModel& m) {
             m.edit1 = "-y";
             m.edit2 = "-x";
             m.labeledEdit16 = "5";
             m.labeledEdit12 = "5";
         }},
        {"polar motion with its aliases, a coarse step and the small range",
         {"--mode", "1",         "--f1",      "0",        "--f2",      "0",     "--r0",
          "1.5",    "--vtheta0", "2",         "--theta0", "0.3",       "--vr0", "0.1",
          "--step", "1/10",      "--range-x", "2",        "--range-y", "2"},
         120,
         [](RunModel& m) {
             m.graphMode = 1;
             m.edit1 = "0";
             m.edit2 = "0";
             m.labeledEdit13 = "1.5";
             m.labeledEdit15 = "2";
             m.labeledEdit16 = "0.3";
             m.labeledEdit12 = "0.1";
             m.comboBox2 = 0;
             m.comboBox3 = 0;
             m.comboBox4 = 0;
         }},
        {"cartesian curve with constants, zoom on both axes and the fine step",
         {"--mode", "cartesian-curve", "--f1", "a*x^2+b", "--vx0", "1", "--x0=-2", "--a", "0.5",
          "--b=-1", "--zoom-x", "-1,3", "--zoom-y", "2,5", "--step", "1/1000"},
         4000,
         [](RunModel& m) {
             m.graphMode = 2;
             m.edit1 = "a*x^2+b";
             m.labeledEdit15 = "1";
             m.labeledEdit16 = "-2";
             m.constants = {"0.5", "-1", "0", "0"};
             m.checkBox1 = true;
             m.spinEdit1.text = "-1";
             m.spinEdit2.text = "3";
             m.checkBox2 = true;
             m.spinEdit3.text = "2";
             m.spinEdit4.text = "5";
             m.comboBox2 = 2;
         }},
        {"polar curve on the wide range",
         {"--mode", "polar-curve", "--f1", "100sin(3θ)", "--vtheta0", "1", "--range-x", "200",
          "--range-y", "200", "--c", "7", "--d", "8"},
         700,
         [](RunModel& m) {
             m.graphMode = 3;
             m.edit1 = "100sin(3θ)";
             m.labeledEdit15 = "1";
             m.comboBox3 = 2;
             m.comboBox4 = 2;
             m.constants = {"0", "0", "7", "8"};
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFile trace(".tsv");
        TempFile bmp(".bmp");
        std::vector<std::string> args{"run", "--ticks", std::to_string(c.ticks)};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliResult r = runCli(withOutputs(args, trace, bmp));
        ASSERT_EQ(r.status, 0);

        const InProcessRun expected = runInProcess(c.settings, c.ticks);
        ASSERT_FALSE(expected.failed) << expected.model->lastFailure->message;
        EXPECT_EQ(trace.contents(), expected.trace);
        EXPECT_EQ(differingPixels(bmp.contents(), expected.model->surface), 0);
    }
}

TEST(RunCommand, BitmapReadsBackAsTheSurfaceWithGridAxesAndPath) {
    TempFile bmp(".bmp");
    const CliResult r = runCli({"run", "--mode", "0", "--f1", "-y", "--f2", "-x", "--x0", "5",
                                "--vy0", "5", "--ticks", "700", "--bmp", bmp.path()});
    ASSERT_EQ(r.status, 0);
    const Image picture = testing::decodeBmp(bmp.contents()).image;
    ASSERT_EQ(picture.width(), 401);
    ASSERT_EQ(picture.height(), 401);
    auto at = [&](int x, int y) { return picture.at(x, y); };
    EXPECT_EQ(at(20, 30), PlotSurface::kSilver);
    EXPECT_EQ(at(30, 30), PlotSurface::kWhite);
    EXPECT_EQ(at(200, 30), PlotSurface::kBlack);
    EXPECT_EQ(at(0, 200), PlotSurface::kSilver);   // the horizontal axis ends short of it
    EXPECT_EQ(at(251, 201), PlotSurface::kBlack);  // the circle of radius 5 starts here
    EXPECT_EQ(at(151, 201), PlotSurface::kBlack);  // and passes x = -5 after π seconds

    const InProcessRun expected = runInProcess(
        [](RunModel& m) {
            m.edit1 = "-y";
            m.edit2 = "-x";
            m.labeledEdit16 = "5";
            m.labeledEdit12 = "5";
        },
        700);
    EXPECT_EQ(differingPixels(bmp.contents(), expected.model->surface), 0);
}

TEST(RunCommand, ZeroTicksWriteTheFreshGrid) {
    TempFile bmp(".bmp");
    const CliResult r = runCli({"run", "--mode", "0", "--ticks", "0", "--bmp", bmp.path()});
    ASSERT_EQ(r.status, 0);
    PlotSurface grid;
    repaintForRun(grid);
    EXPECT_EQ(differingPixels(bmp.contents(), grid), 0);
}

TEST(RunCommand, FailedFirstTickReportsAndStillWritesThePicture) {
    TempFile trace(".tsv");
    TempFile bmp(".bmp");
    const CliResult r =
        runCli(withOutputs({"run", "--mode", "0", "--f1", "1/0", "--ticks", "10"}, trace, bmp));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "kurvilo-cli run: tick 1 failed: EZeroDivide: Floating point division by zero\n");
    EXPECT_EQ(trace.contents(), "tick\tvx\tx\tvy\ty\tt\tpx\tpy\n");
    PlotSurface axes;
    repaintForRun(axes);
    drawAxes(axes);
    EXPECT_EQ(differingPixels(bmp.contents(), axes), 0);
}

TEST(RunCommand, PointLeavingThePixelRangeEndsTheRunAtItsTick) {
    TempFile trace(".tsv");
    TempFile bmp(".bmp");
    const CliResult r = runCli(withOutputs(
        {"run", "--mode", "0", "--vx0", "1000000000", "--range-x", "2", "--ticks", "100"}, trace,
        bmp));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "kurvilo-cli run: tick 4 failed: EConvertError: '3000000201' is not a valid integer "
              "value\n");
    const InProcessRun expected = runInProcess(
        [](RunModel& m) {
            m.labeledEdit15 = "1000000000";
            m.comboBox4 = 0;
        },
        100);
    EXPECT_TRUE(expected.failed);
    EXPECT_EQ(trace.contents(), expected.trace);
    EXPECT_EQ(differingPixels(bmp.contents(), expected.model->surface), 0);
}

TEST(RunCommand, SeparatorOptionChangesTheTexts) {
    const CliResult r = runCli({"run", "--mode", "0", "--f2", "-x", "--x0", "2,5", "--separator",
                                ",", "--ticks", "1", "--trace", "-"});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "tick\tvx\tx\tvy\ty\tt\tpx\tpy\n1\t-0,025\t2,4998\t0\t0\t0,01\t226\t201\n");
}

TEST(RunCommand, NoProgressWhenStandardErrorIsNotATerminal) {
    const CliResult r = runCli({"run", "--mode", "0", "--f1", "-y", "--ticks", "20000"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
}

TEST(RunCommand, UsageErrorsExitWithTwoAndAMessage) {
    const std::vector<std::vector<std::string>> cases = {
        {"run", "--ticks", "5"},
        {"run", "--mode", "0"},
        {"run", "--mode", "4", "--ticks", "5"},
        {"run", "--mode", "polar", "--ticks", "5"},
        {"run", "--mode", "0", "--ticks", "-1"},
        {"run", "--mode", "0", "--ticks", "1e3"},
        {"run", "--mode", "0", "--ticks", "99999999999999999999999"},
        {"run", "--mode", "0", "--ticks", "5", "--step", "1/50"},
        {"run", "--mode", "0", "--ticks", "5", "--range-x", "21"},
        {"run", "--mode", "0", "--ticks", "5", "--range-y", ""},
        {"run", "--mode", "0", "--ticks", "5", "--zoom-x", "201,1"},
        {"run", "--mode", "0", "--ticks", "5", "--zoom-x", "0,0"},
        {"run", "--mode", "0", "--ticks", "5", "--zoom-y", "0,101"},
        {"run", "--mode", "0", "--ticks", "5", "--zoom-y", "3"},
        {"run", "--mode", "0", "--ticks", "5", "--zoom-y", "$1,1"},
        {"run", "--mode", "0", "--ticks", "5", "--separator", "ab"},
        {"run", "--mode", "0", "--ticks", "5", "--e", "1"},
        {"run", "--mode", "0", "--ticks", "5", "--f1"},
        {"run", "--mode", "0", "--ticks", "5", "stray"},
        {"run", "--mode", "0", "--ticks", "5", "--every", "2"},
        {"run", "--mode", "0", "--ticks", "5", "--speed", "1/2s"},
        {"run", "--mode", "0", "--ticks", "5", "--gif", "a.gif", "--every", "0"},
        {"run", "--mode", "0", "--ticks", "5", "--gif", "a.gif", "--every", "-1"},
        {"run", "--mode", "0", "--ticks", "5", "--bmp", "picture.png"},
        {"run", "--mode", "0", "--ticks", "5", "--bmp", ""},
        {"run", "--mode", "0", "--ticks", "5", "--gif", "animation.PNG"},
        {"run", "--mode", "0", "--ticks", "5", "--picture", "picture"},
        {"run", "--mode", "0", "--ticks", "5", "--picture", "picture.gif"},
        {"run", "--mode", "0", "--ticks", "5", "--picture", "picture.unknown"},
        {"run", "--mode", "0", "--ticks", "5", "--frames", ""},
    };
    for (const auto& args : cases) {
        std::string joined;
        for (const auto& a : args)
            joined += a + " ";
        SCOPED_TRACE(joined);
        const CliResult r = runCli(args);
        EXPECT_EQ(r.status, 2);
        // One line saying what was wrong, then the hint.
        EXPECT_EQ(r.err.rfind("kurvilo-cli run: ", 0), 0u) << r.err;
        EXPECT_EQ(r.err.substr(r.err.find('\n') + 1), "Try 'kurvilo-cli run --help'.\n");
        EXPECT_EQ(r.out, "");
    }
}

// The names of the formula fields fill the field they name (the trace is that of --f1 and --f2),
// and only in a mode that has it.
TEST(RunCommand, FieldNamesFillTheirFieldInTheirModesOnly) {
    const struct {
        std::vector<std::string> named;
        std::vector<std::string> numbered;
    } fills[] = {
        {{"--mode", "cartesian-motion", "--ax", "-x", "--ay", "-1", "--x0", "2"},
         {"--mode", "cartesian-motion", "--f2", "-x", "--f1", "-1", "--x0", "2"}},
        {{"--mode", "polar-motion", "--atheta", "1", "--ar", "2", "--r0", "1"},
         {"--mode", "polar-motion", "--f2", "1", "--f1", "2", "--r0", "1"}},
        {{"--mode", "cartesian-curve", "--curve", "2x", "--vx0", "1"},
         {"--mode", "cartesian-curve", "--f1", "2x", "--vx0", "1"}},
        {{"--mode", "polar-curve", "--curve", "5", "--vtheta0", "1"},
         {"--mode", "polar-curve", "--f1", "5", "--vtheta0", "1"}},
    };
    auto trace = [](const std::vector<std::string>& settings) {
        std::vector<std::string> args = {"run", "--ticks", "3", "--trace", "-"};
        args.insert(args.end(), settings.begin(), settings.end());
        return runCli(args);
    };
    for (const auto& c : fills) {
        SCOPED_TRACE(testing::joined(c.named));
        const CliResult named = trace(c.named);
        EXPECT_EQ(named.status, 0) << named.err;
        EXPECT_EQ(named.out, trace(c.numbered).out);
        // The formulas did something: without them the run differs.
        EXPECT_NE(named.out, trace({c.named[0], c.named[1]}).out);
    }

    const struct {
        std::vector<std::string> args;
        const char* error;
    } refused[] = {
        {{"--mode", "polar-motion", "--ay", "1"},
         "kurvilo-cli run: --ay is no field of polar-motion (its formulas are --ar and "
         "--atheta, or --f1 and --f2)"},
        {{"--ax", "1", "--mode", "cartesian-curve"},
         "kurvilo-cli run: --ax is no field of cartesian-curve (its formula is --curve, or --f1 "
         "and --f2)"},
        {{"--mode", "cartesian-motion", "--curve", "x"},
         "kurvilo-cli run: --curve is no field of cartesian-motion (its formulas are --ay and "
         "--ax, or --f1 and --f2)"},
        {{"--mode", "polar-curve", "--atheta", "1"},
         "kurvilo-cli run: --atheta is no field of polar-curve (its formula is --curve, or --f1 "
         "and --f2)"},
        {{"--mode", "cartesian-motion", "--ar", "1"},
         "kurvilo-cli run: --ar is no field of cartesian-motion (its formulas are --ay and "
         "--ax, or --f1 and --f2)"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(testing::joined(c.args));
        const CliResult r = trace(c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err.substr(0, r.err.find('\n')), c.error);
        EXPECT_EQ(r.out, "");
    }
}

TEST(RunCommand, HelpGoesToStandardOutput) {
    const CliResult r = runCli({"run", "--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("usage: kurvilo-cli run", 0), 0u);
}

}  // namespace
}  // namespace kurvilo

// SPDX-License-Identifier: MIT
// kurvilo-cli run with run files: a file runs as its options would, an option given beside it
// changes just its own setting, --save-run writes the settings in effect, every PNG carries the
// run file of its run and replays it byte for byte, and a refused file is one line and exit 2
// with nothing written.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "picture/decoders.h"
#include "runfile/run_file.h"

namespace kurvilo {
namespace {

using testing::CliResult;
using testing::readFile;
using testing::runCli;
using testing::TempDir;
using testing::writeFile;

// A run file with every setting away from its default.
RunFile kepler() {
    RunFile file;
    RunSettings& s = file.settings;
    s.graphMode = 1;
    s.firstFormula = "r*v\u03B8^2-a/r^2";
    s.secondFormula = "-2*vr*v\u03B8/r";
    s.initialValues = {"0.4", "0.1", "0", "15"};
    s.constants = {"1000", "0", "2", "3"};
    s.drawingSpeed = 1;
    s.timeStep = 2;
    s.viewRangeY = 1;
    s.viewRangeX = 1;
    s.zoomX = {true, 3, 20};
    s.zoomY = {false, 0, 5};
    file.ticks = 300;
    file.title = "A Kepler orbit";
    file.note = "quotes \" and backslashes \\ and commas , stay";
    return file;
}

// The settings in effect for `args`, as --save-run writes them before the run (which may fail:
// an empty constant does not parse).
RunFile effective(const std::vector<std::string>& args) {
    std::vector<std::string> all = {"run"};
    all.insert(all.end(), args.begin(), args.end());
    all.insert(all.end(), {"--save-run", "-", "-q"});
    const CliResult r = runCli(all);
    EXPECT_NE(r.status, 2) << r.err;
    const RunFileRead read = parseRunFile(r.out, "saved");
    EXPECT_TRUE(read.file) << read.error.message() << "\n" << r.out;
    return read.file.value_or(RunFile{});
}

TEST(RunFileCommand, OptionsBesideAFileChangeOnlyTheirOwnSetting) {
    TempDir dir;
    const std::string path = dir.file("kepler.kurvilo");
    writeFile(path, formatRunFile(kepler()));
    EXPECT_EQ(effective({path}), kepler());
    const struct {
        std::vector<std::string> options;
        std::function<void(RunFile&)> change;
    } cases[] = {
        {{"--mode", "polar-curve"}, [](RunFile& f) { f.settings.graphMode = 3; }},
        {{"--mode", "0"}, [](RunFile& f) { f.settings.graphMode = 0; }},
        {{"--ticks", "7"}, [](RunFile& f) { f.ticks = 7; }},
        {{"--ar", "-r"}, [](RunFile& f) { f.settings.firstFormula = "-r"; }},
        {{"--atheta", ""}, [](RunFile& f) { f.settings.secondFormula = ""; }},
        {{"--f1", "1"}, [](RunFile& f) { f.settings.firstFormula = "1"; }},
        {{"--f2", "2"}, [](RunFile& f) { f.settings.secondFormula = "2"; }},
        {{"--vtheta0", "9"}, [](RunFile& f) { f.settings.initialValues[0] = "9"; }},
        {{"--x0", "8"}, [](RunFile& f) { f.settings.initialValues[1] = "8"; }},
        {{"--vr0", "7"}, [](RunFile& f) { f.settings.initialValues[2] = "7"; }},
        {{"--y0", "6"}, [](RunFile& f) { f.settings.initialValues[3] = "6"; }},
        {{"--a", ""}, [](RunFile& f) { f.settings.constants[0] = ""; }},
        {{"--d", "\u03C0"}, [](RunFile& f) { f.settings.constants[3] = "\u03C0"; }},
        {{"--step", "1/10"}, [](RunFile& f) { f.settings.timeStep = 0; }},
        {{"--range-x", "200"}, [](RunFile& f) { f.settings.viewRangeX = 2; }},
        {{"--range-y", "2"}, [](RunFile& f) { f.settings.viewRangeY = 0; }},
        {{"--zoom-y", "-4,9"},
         [](RunFile& f) {
             f.settings.zoomY = {true, -4, 9};
         }},
        {{"--zoom-x", "0,1"},
         [](RunFile& f) {
             f.settings.zoomX = {true, 0, 1};
         }},
        {{"--speed", "1/1s"}, [](RunFile& f) { f.settings.drawingSpeed = 0; }},
        {{"--separator", ","}, [](RunFile& f) { f.settings.separator = U','; }},
        {{"--title", "t"}, [](RunFile& f) { f.title = "t"; }},
        {{"--note", ""}, [](RunFile& f) { f.note = ""; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::joined(c.options));
        std::vector<std::string> args = {path};
        args.insert(args.end(), c.options.begin(), c.options.end());
        RunFile expected = kepler();
        c.change(expected);
        EXPECT_EQ(effective(args), expected);
    }
}

// The file runs as the same settings given as options: the same trace, the same picture.
TEST(RunFileCommand, AFileRunsAsItsOptionsWould) {
    TempDir dir;
    writeFile(dir.file("kepler.kurvilo"), formatRunFile(kepler()));
    const CliResult byFile = runCli({"run", dir.file("kepler.kurvilo"), "--trace", "-", "--bmp",
                                     dir.file("file.bmp"), "--ticks", "120"});
    const CliResult byOptions = runCli({"run",
                                        "--mode",
                                        "polar-motion",
                                        "--ar",
                                        "r*v\u03B8^2-a/r^2",
                                        "--atheta",
                                        "-2*vr*v\u03B8/r",
                                        "--vtheta0",
                                        "0.4",
                                        "--theta0",
                                        "0.1",
                                        "--r0",
                                        "15",
                                        "--a",
                                        "1000",
                                        "--c",
                                        "2",
                                        "--d",
                                        "3",
                                        "--speed",
                                        "1/10s",
                                        "--step",
                                        "1/1000",
                                        "--zoom-x",
                                        "3,20",
                                        "--ticks",
                                        "120",
                                        "--trace",
                                        "-",
                                        "--bmp",
                                        dir.file("options.bmp")});
    ASSERT_EQ(byFile.status, 0) << byFile.err;
    ASSERT_EQ(byOptions.status, 0) << byOptions.err;
    EXPECT_EQ(byFile.out, byOptions.out);
    EXPECT_EQ(readFile(dir.file("file.bmp")), readFile(dir.file("options.bmp")));
}

// Each PNG carries its run: run again from the PNG, it makes the same PNG, byte for byte; a
// frame replays to the picture of its tick.
TEST(RunFileCommand, APngReplaysItsRun) {
    TempDir dir;
    const struct {
        const char* what;
        std::vector<std::string> args;
        int status;
    } cases[] = {
        {"a polar curve",
         {"--mode", "polar-curve", "--curve", "10cos(3\u03B8)", "--vtheta0", "1", "--ticks", "320"},
         0},
        {"the settings of a file, with a separator",
         {"--mode", "0", "--ay", "-y", "--ax", "-x", "--x0", "5,5", "--vy0", "5", "--separator",
          ",", "--ticks", "90", "--zoom-y", "-3,7", "--title", "\u03A3 \"q\" \\ ,"},
         0},
        {"a run that ends in a failed tick",
         {"--mode", "0", "--ay", "1/(t-0.5)", "--vx0", "3", "--ticks", "90"},
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> first = {"run"};
        first.insert(first.end(), c.args.begin(), c.args.end());
        first.insert(first.end(),
                     {"--picture", dir.file("first.png"), "--trace", dir.file("first.tsv"), "-q"});
        ASSERT_EQ(runCli(first).status, c.status);
        const CliResult again = runCli({"run", dir.file("first.png"), "--picture",
                                        dir.file("again.png"), "--trace", dir.file("again.tsv")});
        EXPECT_EQ(again.status, c.status) << again.err;
        EXPECT_EQ(readFile(dir.file("again.png")), readFile(dir.file("first.png")));
        EXPECT_EQ(readFile(dir.file("again.tsv")), readFile(dir.file("first.tsv")));
    }
}

TEST(RunFileCommand, AFrameReplaysToThePictureOfItsTick) {
    TempDir dir;
    ASSERT_EQ(runCli({"run", "--mode", "0", "--ay", "-y", "--ax", "-x", "--x0", "5", "--vy0", "5",
                      "--ticks", "100", "--every", "30", "--frames", dir.path(), "-q"})
                  .status,
              0);
    // frame-000002 is the picture after tick 60, marker and all; its run file says 60 ticks.
    const RunFileRead read = loadRunFile(dir.file("frame-000002.png"));
    ASSERT_TRUE(read.file) << read.error.message();
    EXPECT_EQ(read.file->ticks, 60u);
    ASSERT_EQ(testing::runShell("mkdir " + testing::shellQuote(dir.file("again"))).status, 0);
    ASSERT_EQ(runCli({"run", dir.file("frame-000002.png"), "--every", "60", "--frames",
                      dir.file("again"), "-q"})
                  .status,
              0);
    EXPECT_EQ(readFile(dir.file("again/frame-000001.png")), readFile(dir.file("frame-000002.png")));
}

TEST(RunFileCommand, SaveRunWritesTheSettingsAndRunsOnlyWithTicks) {
    TempDir dir;
    writeFile(dir.file("kepler.kurvilo"), formatRunFile(kepler()));
    // Without --ticks beside a file without ticks: only the file is written.
    RunFile noTicks = kepler();
    noTicks.ticks.reset();
    writeFile(dir.file("no-ticks.kurvilo"), formatRunFile(noTicks));
    const CliResult saved = runCli({"run", dir.file("no-ticks.kurvilo"), "--save-run",
                                    dir.file("saved.kurvilo"), "--trace", dir.file("t.tsv")});
    ASSERT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(readFile(dir.file("saved.kurvilo")), formatRunFile(noTicks));
    EXPECT_FALSE(std::filesystem::exists(dir.file("t.tsv")));
    // From options, into a file the run file reads back as the same options.
    const CliResult fromOptions =
        runCli({"run", "--mode", "cartesian-curve", "--curve",
                "40/\u03C0*\u03A3{n=1<>5:sin((2n-1)x/2)/(2n-1)}", "--vx0", "4", "--x0", "-20",
                "--save-run", dir.file("fourier.kurvilo")});
    ASSERT_EQ(fromOptions.status, 0) << fromOptions.err;
    const RunFileRead read = loadRunFile(dir.file("fourier.kurvilo"));
    ASSERT_TRUE(read.file) << read.error.message();
    EXPECT_EQ(read.file->settings.firstFormula, "40/\u03C0*\u03A3{n=1<>5:sin((2n-1)x/2)/(2n-1)}");
    EXPECT_FALSE(read.file->ticks);
    // Neither a run file nor --ticks: kurvilo-cli still wants to know how long to run.
    const CliResult neither = runCli({"run", dir.file("no-ticks.kurvilo")});
    EXPECT_EQ(neither.status, 2);
    EXPECT_EQ(neither.err,
              "kurvilo-cli run: --ticks is required: the run file says no number of ticks\n"
              "Try 'kurvilo-cli run --help'.\n");
}

TEST(RunFileCommand, ARefusedFileIsOneLineAndWritesNothing) {
    TempDir dir;
    writeFile(dir.file("bad.kurvilo"), "kurvilo = 1\n[zoom]\nx = { centre = 500 }\n");
    writeFile(dir.file("out.png"), "old");
    const CliResult r = runCli({"run", dir.file("bad.kurvilo"), "--ticks", "5", "--picture",
                                dir.file("out.png"), "--save-run", dir.file("s.kurvilo")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "kurvilo-cli run: " + dir.file("bad.kurvilo") +
                         ":3: 'zoom.x.centre' must be -200 to 200, not 500\n");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(readFile(dir.file("out.png")), "old");
    EXPECT_FALSE(std::filesystem::exists(dir.file("s.kurvilo")));
}

TEST(RunFileCommand, StandardInputHoldsARunFile) {
    const CliResult r = runCli({"run", "-", "--trace", "-"},
                               "kurvilo = 1\nticks = 2\nseparator = \",\"\n[formulas]\n"
                               "first = \"-y\"\n[initial]\nx = \"0,5\"\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "tick\tvx\tx\tvy\ty\tt\tpx\tpy\n"
              "1\t0\t0,5\t0\t0\t0,01\t206\t201\n"
              "2\t0\t0,5\t0\t0\t0,02\t206\t201\n");
}

TEST(RunFileCommand, TextsARunFileCannotHoldStopPngsAndSaveRunOnly) {
    TempDir dir;
    const std::vector<std::string> base = {"run", "--mode", "0", "--ay", "\xFF", "--ticks", "2"};
    auto with = [&](std::vector<std::string> more) {
        std::vector<std::string> all = base;
        all.insert(all.end(), more.begin(), more.end());
        return runCli(all);
    };
    // A bitmap carries no run file.
    EXPECT_NE(with({"--bmp", dir.file("a.bmp")}).status, 2);
    for (const std::vector<std::string>& png :
         {std::vector<std::string>{"--picture", dir.file("a.png")},
          {"--save-run", dir.file("a.kurvilo")},
          {"--frames", dir.path()}}) {
        const CliResult r = with(png);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_NE(r.err.find("the first formula is not UTF-8"), std::string::npos) << r.err;
    }
}

}  // namespace
}  // namespace kurvilo

// SPDX-License-Identifier: MIT
// kurvilo-cli run's pictures, frames and GIFs, decoded back and compared pixel for pixel with
// in-process runs of the tick model; and every output failure made real: a full device, a path
// below a regular file, a missing folder, a full or read-only file system, a reader that goes
// away, a bad path found before the first tick.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "picture/decoders.h"
#include "picture/marker.h"
#include "runfile/run_file.h"
#include "sim/plot_surface.h"
#include "sim/tick.h"

namespace kurvilo {
namespace {

using testing::cliCommand;
using testing::CliResult;
using testing::readFile;
using testing::runCli;
using testing::runShell;
using testing::shellQuote;
using testing::TempDir;
using testing::writeFile;

// The in-process run: the pictures the window shows after every K-th tick and after the last.
struct ExpectedRun {
    std::unique_ptr<RunModel> model = headlessModel();
    std::vector<Image> frames;
    bool failed = false;
};

ExpectedRun runInProcess(const std::function<void(RunModel&)>& settings, std::uint64_t ticks,
                         std::uint64_t every) {
    ExpectedRun run;
    RunModel& m = *run.model;
    settings(m);
    startAction(m);
    std::uint64_t shown = 0;
    bool anyShown = false;
    for (std::uint64_t tick = 1; tick <= ticks; ++tick) {
        if (!Timer1Timer(m)) {
            run.failed = true;
            break;
        }
        if (tick % every == 0) {
            run.frames.push_back(windowPicture(m.surface, m.shape1));
            shown = tick;
            anyShown = true;
        }
    }
    if (!anyShown || shown != m.tickCount || run.failed)
        run.frames.push_back(windowPicture(m.surface, m.shape1));
    return run;
}

void oscillator(RunModel& m) {
    m.edit1 = "-y";
    m.edit2 = "-x";
    m.labeledEdit16 = "5";
    m.labeledEdit12 = "5";
}

const std::vector<std::string> kOscillator = {"run", "--mode", "0", "--f1",  "-y", "--f2",
                                              "-x",  "--x0",   "5", "--vy0", "5"};

std::vector<std::string> with(std::vector<std::string> args,
                              const std::vector<std::string>& extra) {
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

// A PNG or a bitmap, decoded; an empty image when it is neither.
Image readPicture(const std::string& path) {
    const std::string bytes = readFile(path);
    if (bytes.rfind("BM", 0) == 0) return testing::decodeBmp(bytes).image;
    return testing::decodePng(bytes).image;
}

// "" when the picture in the file is the one given.
std::string differenceTo(const std::string& path, const ImageView& expected) {
    const Image picture = readPicture(path);
    if (picture.width() == 0) return "no picture in " + path;
    return testing::firstDifference(picture.view(), expected);
}

TEST(RunPictures, PictureIsTheSurfaceInTheFormatItsSuffixNames) {
    TempDir dir;
    const CliResult r = runCli(with(kOscillator, {"--ticks", "400", "--picture", dir.file("a.png"),
                                                  "--picture", dir.file("b.BMP")}));
    ASSERT_EQ(r.status, 0) << r.err;
    const ExpectedRun expected = runInProcess(oscillator, 400, 1);
    // The last --picture counts.
    EXPECT_FALSE(std::filesystem::exists(dir.file("a.png")));
    const std::string bytes = readFile(dir.file("b.BMP"));
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(differenceTo(dir.file("b.BMP"), surfaceView(expected.model->surface)), "");
}

TEST(RunPictures, PngAndBmpHoldTheSamePixelsAsTheTickModel) {
    TempDir dir;
    const CliResult r = runCli(with(kOscillator, {"--ticks", "500", "--picture", dir.file("a.png"),
                                                  "--bmp", dir.file("a.bmp")}));
    ASSERT_EQ(r.status, 0) << r.err;
    const ExpectedRun expected = runInProcess(oscillator, 500, 1);
    EXPECT_EQ(readFile(dir.file("a.png")).substr(1, 3), "PNG");
    EXPECT_EQ(differenceTo(dir.file("a.png"), surfaceView(expected.model->surface)), "");
    EXPECT_EQ(differenceTo(dir.file("a.bmp"), surfaceView(expected.model->surface)), "");
}

TEST(RunPictures, SamePictureTwiceHasTheSameBytes) {
    TempDir dir;
    for (const char* name : {"1", "2"}) {
        const CliResult r = runCli(
            with(kOscillator, {"--ticks", "300", "--picture", dir.file(std::string(name) + ".png"),
                               "--gif", dir.file(std::string(name) + ".gif"), "--every", "7"}));
        ASSERT_EQ(r.status, 0) << r.err;
    }
    EXPECT_EQ(readFile(dir.file("1.png")), readFile(dir.file("2.png")));
    EXPECT_EQ(readFile(dir.file("1.gif")), readFile(dir.file("2.gif")));
    // No time in the PNG, and no text but its run file.
    const std::string png = testing::withoutTextChunk(readFile(dir.file("1.png")), kPngRunFileKey);
    for (const char* chunk : {"tIME", "tEXt", "zTXt", "iTXt"})
        EXPECT_EQ(png.find(chunk), std::string::npos) << chunk;
}

TEST(RunFrames, EveryKthTickAndTheLastAsTheWindowShowsThem) {
    const struct {
        const char* what;
        std::uint64_t ticks;
        std::uint64_t every;
        std::function<void(RunModel&)> settings;
        std::vector<std::string> args;
    } cases[] = {
        {"ticks a multiple of K", 60, 10, oscillator, kOscillator},
        {"a last frame after a partial K", 65, 10, oscillator, kOscillator},
        {"every tick", 12, 1, oscillator, kOscillator},
        {"no tick: the grid alone", 0, 5, oscillator, kOscillator},
        {"a marker that leaves the surface and is hidden",
         30,
         3,
         [](RunModel& m) {
             m.labeledEdit15 = "100";
             m.labeledEdit16 = "19";
         },
         {"run", "--mode", "0", "--vx0", "100", "--x0", "19"}},
        {"a failed tick: its picture is the last frame",
         25,
         10,
         [](RunModel& m) { m.edit1 = "1/(t-0.2)"; },
         {"run", "--mode", "0", "--f1", "1/(t-0.2)"}},
        {"polar curve, every 4",
         100,
         4,
         [](RunModel& m) {
             m.graphMode = 3;
             m.edit1 = "10cos(3\u03B8)";
             m.labeledEdit15.assign(1, '1');
         },
         {"run", "--mode", "polar-curve", "--f1", "10cos(3\u03B8)", "--vtheta0", "1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const CliResult r = runCli(with(c.args, {"--ticks", std::to_string(c.ticks), "--every",
                                                 std::to_string(c.every), "--frames", dir.path()}));
        const ExpectedRun expected = runInProcess(c.settings, c.ticks, c.every);
        EXPECT_EQ(r.status, expected.failed ? 1 : 0) << r.err;
        for (std::size_t i = 0; i < expected.frames.size(); ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "frame-%06zu.png", i + 1);
            EXPECT_EQ(differenceTo(dir.file(name), expected.frames[i].view()), "") << name;
        }
        std::size_t files = 0;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
            (void)entry;
            ++files;
        }
        EXPECT_EQ(files, expected.frames.size());
    }
}

TEST(RunGif, OscillatorDecodesBackFrameForFrame) {
    TempDir dir;
    const std::string gifPath = dir.file("a.gif");
    const CliResult r = runCli(with(kOscillator, {"--ticks", "1000", "--every", "10", "--gif",
                                                  gifPath, "--frames", dir.path()}));
    ASSERT_EQ(r.status, 0) << r.err;
    const ExpectedRun expected = runInProcess(oscillator, 1000, 10);
    ASSERT_EQ(expected.frames.size(), 100u);

    const testing::DecodedGif gif = testing::decodeGif(readFile(gifPath));
    ASSERT_TRUE(gif.ok);
    EXPECT_EQ(gif.loopCount, 0);
    ASSERT_EQ(gif.frames.size(), expected.frames.size());
    for (std::size_t i = 0; i < gif.frames.size(); ++i) {
        EXPECT_EQ(testing::firstDifference(gif.frames[i].view(), expected.frames[i].view()), "")
            << "frame " << i;
        EXPECT_EQ(gif.delays[i], 10) << "10 ticks of 1/100 s";
    }
}

TEST(RunGif, ThousandTickOscillatorStaysSmall) {
    TempDir dir;
    const CliResult r =
        runCli(with(kOscillator, {"--ticks", "1000", "--every", "10", "--gif", dir.file("a.gif")}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_LT(std::filesystem::file_size(dir.file("a.gif")), 200u * 1024u);
}

TEST(RunGif, DelayIsKTicksOfTheDrawingSpeed) {
    const struct {
        const char* speed;
        const char* every;
        int delay;
    } cases[] = {
        {"1/100s", "1", 2}, {"1/100s", "4", 4}, {"1/10s", "1", 10},
        {"1/10s", "3", 30}, {"1/1s", "2", 200},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.speed) + " every " + c.every);
        TempDir dir;
        const CliResult r = runCli(with(kOscillator, {"--ticks", "6", "--every", c.every, "--speed",
                                                      c.speed, "--gif", dir.file("a.gif")}));
        ASSERT_EQ(r.status, 0) << r.err;
        const testing::DecodedGif gif = testing::decodeGif(readFile(dir.file("a.gif")));
        ASSERT_TRUE(gif.ok);
        for (const int delay : gif.delays)
            EXPECT_EQ(delay, c.delay);
    }
    TempDir dir;
    ASSERT_EQ(runCli(with(kOscillator, {"--ticks", "6", "--gif", dir.file("a.gif")})).status, 0);
    EXPECT_EQ(testing::decodeGif(readFile(dir.file("a.gif"))).delays.front(), 2)
        << "default: every tick at 1/100 s";
}

// A path below a regular file, a missing folder and a full device, each for every output.
TEST(RunWriteFailures, EachOutputNamesItsFileAndCauseAndExitsOne) {
    TempDir dir;
    writeFile(dir.file("regular"), "x");
    const struct {
        std::vector<std::string> output;
        std::string message;
    } cases[] = {
        {{"--trace", "/dev/full"},
         "kurvilo-cli run: cannot write the trace '/dev/full': No space left on device\n"},
        {{"--trace", dir.file("regular/t.tsv")},
         "kurvilo-cli run: cannot open the trace '" + dir.file("regular/t.tsv") +
             "': Not a directory\n"},
        {{"--trace", dir.file("missing/t.tsv")},
         "kurvilo-cli run: cannot open the trace '" + dir.file("missing/t.tsv") +
             "': No such file or directory\n"},
        {{"--picture", dir.file("regular/p.png")},
         "kurvilo-cli run: cannot write '" + dir.file("regular/p.png") + "': Not a directory\n"},
        {{"--picture", dir.file("missing/p.png")},
         "kurvilo-cli run: cannot write '" + dir.file("missing/p.png") +
             "': No such file or directory\n"},
        {{"--bmp", "/dev/full"},
         "kurvilo-cli run: cannot write '/dev/full': No space left on device\n"},
        {{"--gif", "/dev/full"},
         "kurvilo-cli run: cannot write '/dev/full': No space left on device\n"},
        {{"--gif", dir.file("missing/a.gif")},
         "kurvilo-cli run: cannot write '" + dir.file("missing/a.gif") +
             "': No such file or directory\n"},
        {{"--frames", dir.file("regular")},
         "kurvilo-cli run: cannot write frames in '" + dir.file("regular") +
             "': Not a directory\n"},
        {{"--frames", dir.file("missing")},
         "kurvilo-cli run: cannot write frames in '" + dir.file("missing") +
             "': No such file or directory\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::joined(c.output));
        const CliResult r = runCli(with(with(kOscillator, {"--ticks", "300"}), c.output));
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, c.message);
    }
}

TEST(RunTrace, ReplacesAnOldTraceOnlyWhenCompleteAndKeepsItsPermissions) {
    TempDir dir;
    const std::string trace = dir.file("t.tsv");
    writeFile(trace, "old");
    ASSERT_EQ(chmod(trace.c_str(), 0640), 0);
    const CliResult r = runCli(with(kOscillator, {"--ticks", "3", "--trace", trace}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFile(trace).rfind("tick\tvx\tx\tvy\ty\tt\tpx\tpy\n1\t-0.05\t4.9995\t", 0), 0u);
    struct stat info {};
    ASSERT_EQ(stat(trace.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);

    // A new file gets what the umask leaves of rw for everyone.
    const std::string fresh = dir.file("new.tsv");
    ASSERT_EQ(runCli(with(kOscillator, {"--ticks", "1", "--trace", fresh})).status, 0);
    const mode_t mask = umask(0);
    umask(mask);
    ASSERT_EQ(stat(fresh.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0666u & ~mask);
}

TEST(RunWriteFailures, TraceToAFullStandardOutputIsReported) {
    const CliResult r =
        runShell(cliCommand(with(kOscillator, {"--ticks", "300", "--trace", "-"})) + " >/dev/full");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "kurvilo-cli run: cannot write the trace to standard output: No space left on "
              "device\n");
}

TEST(RunWriteFailures, BadPathFailsBeforeTheFirstTick) {
    TempDir dir;
    // The first tick would fail, and the trace would be made: neither happens.
    const CliResult r =
        runCli({"run", "--mode", "0", "--f1", "1/0", "--ticks", "1000000000000", "--trace",
                dir.file("t.tsv"), "--picture", dir.file("missing/p.png")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "kurvilo-cli run: cannot write '" + dir.file("missing/p.png") +
                         "': No such file or directory\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("t.tsv")));
}

TEST(RunWriteFailures, OneFailedOutputStillWritesTheOthers) {
    TempDir dir;
    const CliResult r = runCli(with(
        kOscillator, {"--ticks", "200", "--trace", "/dev/full", "--picture", dir.file("p.png")}));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("'/dev/full'"), std::string::npos);
    EXPECT_EQ(readPicture(dir.file("p.png")).width(), 401);
}

TEST(RunWriteFailures, TraceReaderThatGoesAwayEndsTheRunQuietlyAndThePictureIsWritten) {
    TempDir dir;
    // Far more ticks than the test could wait for: only the closed pipe ends the run.
    const std::string run = cliCommand(with(
        kOscillator, {"--ticks", "100000000000", "--trace", "-", "--picture", dir.file("p.png")}));
    const CliResult r =
        runShell("bash -c " +
                 shellQuote("timeout 120 " + run + " | head -n 3; echo \"run ${PIPESTATUS[0]}\""));
    EXPECT_EQ(r.out,
              "tick\tvx\tx\tvy\ty\tt\tpx\tpy\n"
              "1\t-0.05\t4.9995\t5\t0.05\t0.01\t251\t201\n"
              "2\t-0.1\t4.9985\t4.9995\t0.1\t0.02\t250\t200\n"
              "run 0\n");
    EXPECT_EQ(r.err, "");
    const Image picture = readPicture(dir.file("p.png"));
    ASSERT_EQ(picture.width(), 401);
    EXPECT_EQ(picture.at(200, 30), 0xFF000000u) << "the axes";
    EXPECT_EQ(picture.at(251, 201), 0xFF000000u) << "the start of the path";
}

// A small tmpfs, mounted for the test where the system lets us (root, no container rule against
// it); skipped elsewhere.
class SmallFileSystem : public ::testing::Test {
  protected:
    void mountWith(const char* options) {
        if (::mount("tmpfs", dir_.path().c_str(), "tmpfs", 0, options) != 0) {
            GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
        }
        mounted_ = true;
    }
    void remountReadOnly() {
        ASSERT_EQ(
            ::mount("tmpfs", dir_.path().c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=192k"), 0)
            << std::strerror(errno);
    }
    void TearDown() override {
        if (mounted_) ::umount2(dir_.path().c_str(), MNT_DETACH);
    }
    std::string file(const std::string& name) const { return dir_.file(name); }

  private:
    TempDir dir_;
    bool mounted_ = false;
};

TEST_F(SmallFileSystem, FullDiskKeepsTheOldPicturesAndReportsTheCause) {
    mountWith("size=192k");
    if (IsSkipped()) return;
    for (const char* name : {"p.bmp", "a.gif"})
        writeFile(file(name), "old");
    // 482 858 bytes of bitmap and a GIF of every tick do not fit in 192 KiB.
    const CliResult r = runCli(with(kOscillator, {"--ticks", "2000", "--bmp", file("p.bmp"),
                                                  "--gif", file("a.gif"), "--every", "1"}));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot write '" + file("p.bmp") + "': No space left on device"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("cannot write '" + file("a.gif") + "': No space left on device"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(readFile(file("p.bmp")), "old");
    EXPECT_EQ(readFile(file("a.gif")), "old");
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(file("")))
        files += entry.is_regular_file();
    EXPECT_EQ(files, 2u) << "no temporary file is left behind";
}

TEST_F(SmallFileSystem, FullDiskKeepsTheOldTraceAndSaysSo) {
    mountWith("size=64k");
    if (IsSkipped()) return;
    writeFile(file("t.tsv"), "old");
    const CliResult r = runCli(with(kOscillator, {"--ticks", "100000", "--trace", file("t.tsv")}));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "kurvilo-cli run: cannot write the trace '" + file("t.tsv") +
                         "': No space left on device\n");
    EXPECT_EQ(readFile(file("t.tsv")), "old");
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(file("")))
        files += entry.is_regular_file();
    EXPECT_EQ(files, 1u) << "no temporary file is left behind";
}

TEST_F(SmallFileSystem, ReadOnlyFolderIsRefusedBeforeTheFirstTick) {
    mountWith("size=192k");
    if (IsSkipped()) return;
    writeFile(file("p.png"), "old");
    remountReadOnly();
    const struct {
        std::vector<std::string> output;
        std::string message;
    } cases[] = {
        {{"--picture", file("p.png")},
         "kurvilo-cli run: cannot write '" + file("p.png") + "': Read-only file system\n"},
        {{"--frames", file("")},
         "kurvilo-cli run: cannot write frames in '" + file("") + "': Read-only file system\n"},
        {{"--trace", file("t.tsv")},
         "kurvilo-cli run: cannot open the trace '" + file("t.tsv") + "': Read-only file system\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::joined(c.output));
        const CliResult r = runCli(with(with(kOscillator, {"--ticks", "10"}), c.output));
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, c.message);
    }
    EXPECT_EQ(readFile(file("p.png")), "old");
}

// The tool writes what it wrote when it drew and wrote its pictures through Qt: the references
// of tests/picture/reference, made by that tool with these same commands.
TEST(RunPictures, AreTheBytesTheToolWroteBefore) {
    TempDir dir;
    const std::string reference = KURVILO_SOURCE_DIR "/tests/picture/reference/";
    const CliResult oscillation = runCli(with(
        kOscillator,
        {"--ticks", "700", "--every", "35", "--gif", dir.file("oscillator.gif"), "--picture",
         dir.file("oscillator.png"), "--bmp", dir.file("oscillator.bmp"), "--frames", dir.path()}));
    ASSERT_EQ(oscillation.status, 0) << oscillation.err;
    const CliResult rose =
        runCli({"run", "--mode", "polar-curve", "--f1", "10cos(3\u03B8)", "--vtheta0", "1",
                "--ticks", "320", "--every", "16", "--speed", "1/10s", "--gif",
                dir.file("rose.gif"), "--picture", dir.file("rose.png")});
    ASSERT_EQ(rose.status, 0) << rose.err;
    const CliResult zoomed = runCli({"run", "--mode", "0", "--f1", "-4y", "--f2", "-9x", "--x0",
                                     "15", "--vy0", "30", "--ticks", "630", "--range-x", "2",
                                     "--zoom-y", "3,7", "--bmp", dir.file("zoomed.bmp")});
    ASSERT_EQ(zoomed.status, 0) << zoomed.err;
    // The PNGs carry their run files now; everything else is as it was.
    for (const char* name : {"oscillator.gif", "rose.gif"})
        EXPECT_EQ(readFile(dir.file(name)), readFile(reference + name)) << name;
    for (const char* name : {"oscillator.png", "rose.png"}) {
        EXPECT_EQ(testing::withoutTextChunk(readFile(dir.file(name)), kPngRunFileKey),
                  readFile(reference + name))
            << name;
    }
    EXPECT_EQ(testing::withoutTextChunk(readFile(dir.file("frame-000004.png")), kPngRunFileKey),
              readFile(reference + "oscillator-frame-000004.png"));
    for (const char* name : {"oscillator.bmp", "zoomed.bmp"}) {
        EXPECT_EQ(readFile(dir.file(name)), testing::gunzip(reference + name + ".gz")) << name;
    }
}

// "-" for a picture, a bitmap or a GIF writes to standard output what the file would hold.
TEST(RunStandardOutput, TakesAnyOneOutputByteForByte) {
    const struct {
        const char* option;
        const char* file;
    } cases[] = {{"--picture", "p.png"},
                 {"--picture", "p.bmp"},
                 {"--bmp", "p.bmp"},
                 {"--gif", "a.gif"},
                 {"--trace", "t.tsv"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option);
        TempDir dir;
        std::vector<std::string> run = with(kOscillator, {"--ticks", "300"});
        if (std::string(c.option) == "--gif") run = with(run, {"--every", "30"});
        const CliResult toFile = runCli(with(run, {c.option, dir.file(c.file)}));
        ASSERT_EQ(toFile.status, 0) << toFile.err;
        const CliResult toOutput = runCli(with(run, {c.option, "-"}));
        ASSERT_EQ(toOutput.status, 0) << toOutput.err;
        const bool png = std::string(c.option) == "--picture";
        // A picture to standard output is a PNG, whatever a file's suffix would have said.
        if (!png || std::string(c.file) == "p.png") {
            EXPECT_EQ(toOutput.out, readFile(dir.file(c.file)));
        } else {
            EXPECT_EQ(toOutput.out.substr(1, 3), "PNG");
        }
    }
}

TEST(RunStandardOutput, OnlyOneOutputMayTakeIt) {
    const CliResult r = runCli(with(kOscillator, {"--ticks", "3", "--trace", "-", "--gif", "-"}));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err,
              "kurvilo-cli run: --trace and --gif both write to standard output ('-'); only one "
              "output can\nTry 'kurvilo-cli run --help'.\n");
    EXPECT_EQ(r.out, "");
}

TEST(RunStandardOutput, AGifReaderThatGoesAwayEndsTheRunQuietly) {
    TempDir dir;
    const std::string run = cliCommand(
        with(kOscillator, {"--ticks", "100000000000", "--gif", "-", "--bmp", dir.file("p.bmp")}));
    const CliResult r =
        runShell("bash -c " +
                 shellQuote("timeout 120 " + run + " | head -c 6; echo \" run ${PIPESTATUS[0]}\""));
    EXPECT_EQ(r.out, "GIF89a run 0\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(testing::decodeBmp(readFile(dir.file("p.bmp"))).image.width(), 401);
}

TEST(RunFrames, AFolderHoldingFramesIsRefusedUnlessOverwriteRemovesThem) {
    TempDir dir;
    const std::vector<std::string> run =
        with(kOscillator, {"--ticks", "20", "--every", "10", "--frames", dir.path()});
    ASSERT_EQ(runCli(with(kOscillator, {"--ticks", "50", "--every", "10", "--frames", dir.path()}))
                  .status,
              0);
    writeFile(dir.file("notes.txt"), "mine");
    const std::string fifth = readFile(dir.file("frame-000005.png"));

    const CliResult refused = runCli(run);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "kurvilo-cli run: cannot write frames in '" + dir.path() +
                               "': it already holds frames (frame-000001.png, ...); --overwrite "
                               "removes them first\n");
    EXPECT_EQ(readFile(dir.file("frame-000005.png")), fifth) << "nothing touched";

    const CliResult overwritten = runCli(with(run, {"--overwrite"}));
    EXPECT_EQ(overwritten.status, 0) << overwritten.err;
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{"frame-000001.png", "frame-000002.png", "notes.txt"}))
        << "the two frames of this run and nothing of the last";

    const CliResult alone = runCli(with(kOscillator, {"--ticks", "3", "--overwrite"}));
    EXPECT_EQ(alone.status, 2);
    EXPECT_EQ(alone.err.substr(0, alone.err.find('\n')),
              "kurvilo-cli run: --overwrite needs --frames");
}

}  // namespace
}  // namespace kurvilo

// SPDX-License-Identifier: MIT
// Real signals to a real kurvilo-cli run: SIGINT, SIGTERM and SIGHUP stop it at a tick boundary,
// with every output written as the run stands (the trace so far, the picture, the GIF closed),
// no temporary file left, and the exit status 128 + the signal; an evaluation that never ends is
// cancelled; a second signal ends a run that cannot finish its outputs at once, leaving nothing.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"
#include "cli_runner.h"
#include "picture/decoders.h"
#include "picture/marker.h"
#include "sim/tick.h"

namespace kurvilo::testing {
namespace {

using namespace std::chrono_literals;

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Waits until a file whose name starts with prefix holds at least `bytes` (a temporary file
// made, or growing while the run goes on); false when none does within the limit.
bool waitForGrowth(const std::string& folder, const std::string& prefix, std::uintmax_t bytes) {
    const auto end = std::chrono::steady_clock::now() + 60s;
    while (std::chrono::steady_clock::now() < end) {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            std::error_code ignored;
            if (entry.path().filename().string().rfind(prefix, 0) == 0 &&
                entry.file_size(ignored) >= bytes)
                return true;
        }
        std::this_thread::sleep_for(5ms);
    }
    return false;
}

// The oscillator in-process, after `ticks` ticks.
std::unique_ptr<RunModel> oscillatorAfter(std::size_t ticks) {
    auto m = headlessModel();
    m->edit1 = "-y";
    m->edit2 = "-x";
    m->labeledEdit16 = "5";
    m->labeledEdit12 = "5";
    startAction(*m);
    for (std::size_t tick = 0; tick < ticks; ++tick)
        Timer1Timer(*m);
    return m;
}

class EachSignal : public ::testing::TestWithParam<int> {};

TEST_P(EachSignal, StopsAtATickAndWritesEveryOutputAsItStands) {
    const int number = GetParam();
    TempDir dir;
    ChildProcess::Setup setup;
    setup.folder = dir.path();
    ChildProcess child(
        {"run",   "--mode",    "0",     "--f1",  "-y",      "--f2",          "-x",
         "--x0",  "5",         "--vy0", "5",     "--ticks", "1000000000000", "--trace",
         "t.tsv", "--picture", "p.png", "--gif", "a.gif",   "--every",       "50"},
        setup);
    ASSERT_TRUE(child.started());
    // Well under way: the trace's temporary file holds some thousand rows.
    ASSERT_TRUE(waitForGrowth(dir.path(), "t.tsv.", 200000));
    child.signal(number);
    const int status = child.wait();
    ASSERT_TRUE(WIFEXITED(status)) << describeStatus(status);
    EXPECT_EQ(WEXITSTATUS(status), 128 + number);
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"a.gif", "p.png", "t.tsv"}))
        << "every output, and no temporary";

    // The trace: the header and every tick from the first, whole rows only.
    std::istringstream trace(fileBytes(dir.file("t.tsv")));
    std::string line;
    ASSERT_TRUE(std::getline(trace, line));
    EXPECT_EQ(line, "tick\tvx\tx\tvy\ty\tt\tpx\tpy");
    std::size_t rows = 0;
    std::string last;
    while (std::getline(trace, line)) {
        ++rows;
        ASSERT_EQ(line.substr(0, line.find('\t')), std::to_string(rows));
        last = line;
    }
    ASSERT_GT(rows, 1000u);
    EXPECT_EQ(std::count(last.begin(), last.end(), '\t'), 7) << last;

    // The picture and the GIF's last frame show the run after exactly those ticks.
    const auto model = oscillatorAfter(rows);
    const DecodedPng picture = decodePng(fileBytes(dir.file("p.png")));
    ASSERT_TRUE(picture.ok);
    EXPECT_EQ(firstDifference(picture.image.view(), surfaceView(model->surface)), "");
    const DecodedGif gif = decodeGif(fileBytes(dir.file("a.gif")));
    ASSERT_TRUE(gif.ok) << "the GIF is closed properly";
    EXPECT_EQ(gif.frames.size(), (rows + 49) / 50);
    EXPECT_EQ(firstDifference(gif.frames.back().view(),
                              windowPicture(model->surface, model->shape1).view()),
              "");
}

INSTANTIATE_TEST_SUITE_P(IntTermHup, EachSignal, ::testing::Values(SIGINT, SIGTERM, SIGHUP),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(info.param == SIGINT    ? "SIGINT"
                                                : info.param == SIGTERM ? "SIGTERM"
                                                                        : "SIGHUP");
                         });

TEST(Interruption, CancelsAnEvaluationThatWouldNotEnd) {
    TempDir dir;
    ChildProcess::Setup setup;
    setup.folder = dir.path();
    // Two thousand million indices of nothing: the first tick would take minutes.
    ChildProcess child({"run", "--mode", "0", "--f1", "\u03A3{n=1<>2000000000:0}", "--ticks", "10",
                        "--trace", "t.tsv", "--bmp", "p.bmp"},
                       setup);
    ASSERT_TRUE(child.started());
    ASSERT_TRUE(waitForGrowth(dir.path(), "t.tsv.", 0));  // its outputs open: the run begins
    std::this_thread::sleep_for(100ms);
    child.signal(SIGINT);
    const int status = child.wait(30s);
    ASSERT_TRUE(WIFEXITED(status)) << describeStatus(status);
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"p.bmp", "t.tsv"}));
    EXPECT_EQ(fileBytes(dir.file("t.tsv")), "tick\tvx\tx\tvy\ty\tt\tpx\tpy\n");
    EXPECT_EQ(decodeBmp(fileBytes(dir.file("p.bmp"))).image.width(), 401);
}

TEST(Interruption, ASecondSignalEndsAtOnceAndLeavesNoTemporary) {
    TempDir dir;
    ChildProcess::Setup setup;
    setup.folder = dir.path();
    setup.out = Stream::pipe();  // never read: the run blocks once the pipe is full
    ChildProcess child(
        {"run",  "--mode",    "0",     "--f1",  "-y",      "--f2",          "-x",
         "--x0", "5",         "--vy0", "5",     "--ticks", "1000000000000", "--trace",
         "-",    "--picture", "p.png", "--gif", "a.gif",   "--every",       "1000"},
        setup);
    ASSERT_TRUE(child.started());
    ASSERT_TRUE(waitForGrowth(dir.path(), "a.gif.", 0));
    std::this_thread::sleep_for(300ms);  // long enough to fill the pipe
    child.signal(SIGINT);
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(child.running()) << "a run blocked in its output cannot stop by itself";
    EXPECT_EQ(namesIn(dir.path()).size(), 2u) << "the picture's and the GIF's temporaries";
    child.signal(SIGINT);
    const int status = child.wait(10s);
    ASSERT_TRUE(WIFEXITED(status)) << describeStatus(status);
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_TRUE(namesIn(dir.path()).empty()) << "no temporary is left";
}

}  // namespace
}  // namespace kurvilo::testing

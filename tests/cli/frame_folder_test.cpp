// SPDX-License-Identifier: MIT
// The frames of a run: numbered from one in six digits, each readable as it was written; a folder
// that must exist, be a folder and take files; and one that already holds frames, refused unless
// they are to be removed first, when only the frames go.
#include "cli/frame_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "picture/decoders.h"
#include "picture/marker.h"
#include "sim/plot_surface.h"
#include "sim/tick.h"

namespace kurvilo::cli {
namespace {

using testing::readFile;
using testing::TempDir;
using testing::writeFile;

std::vector<std::string> namesIn(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

Image frameWithMarkerAt(int left) {
    PlotSurface surface;
    repaintForRun(surface);
    return windowPicture(surface, MarkerState{true, left, 60});
}

TEST(FrameFolder, NumbersFramesFromOneInSixDigits) {
    TempDir dir;
    FrameFolder frames;
    ASSERT_TRUE(frames.open(dir.path(), false)) << frames.error();
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(frames.write(frameWithMarkerAt(50 + i).view())) << frames.error();
    EXPECT_EQ(frames.written(), 3u);
    EXPECT_EQ(namesIn(dir), (std::vector<std::string>{"frame-000001.png", "frame-000002.png",
                                                      "frame-000003.png"}));
    for (int i = 0; i < 3; ++i) {
        const std::string path = dir.file("frame-00000" + std::to_string(i + 1) + ".png");
        const testing::DecodedPng back = testing::decodePng(readFile(path));
        ASSERT_TRUE(back.ok) << path;
        EXPECT_EQ(testing::firstDifference(back.image.view(), frameWithMarkerAt(50 + i).view()), "")
            << path;
    }
}

TEST(FrameFolder, FolderMustExistBeAFolderAndTakeFiles) {
    TempDir dir;
    writeFile(dir.file("regular"), "x");
    const struct {
        std::string path;
        const char* cause;
    } cases[] = {
        {dir.file("regular"), "Not a directory"},
        {dir.file("regular/sub"), "Not a directory"},
        {dir.file("missing"), "No such file or directory"},
    };
    for (const auto& c : cases) {
        FrameFolder frames;
        EXPECT_FALSE(frames.open(c.path, false));
        EXPECT_EQ(frames.error(), c.cause) << c.path;
    }
    FrameFolder good;
    EXPECT_TRUE(good.open(dir.path(), false));
    // The probe that proved the folder writable is gone again.
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"regular"});
}

TEST(FrameFolder, AFolderHoldingFramesIsRefusedUnlessTheyAreToGo) {
    TempDir dir;
    for (const char* name : {"frame-000001.png", "frame-000002.png", "frame-1234567.png",
                             "notes.txt", "frame-000001.png.bak", "frame-x.png", "frame-.png"})
        writeFile(dir.file(name), "old");
    FrameFolder refused;
    EXPECT_FALSE(refused.open(dir.path(), false));
    EXPECT_NE(refused.error().find("already holds frames"), std::string::npos) << refused.error();
    EXPECT_EQ(namesIn(dir).size(), 7u) << "nothing removed";

    FrameFolder overwriting;
    ASSERT_TRUE(overwriting.open(dir.path(), true)) << overwriting.error();
    EXPECT_EQ(namesIn(dir), (std::vector<std::string>{"frame-.png", "frame-000001.png.bak",
                                                      "frame-x.png", "notes.txt"}))
        << "only the frames are gone";
}

TEST(FrameFolder, FrameNamesAreFrameDigitsPng) {
    const struct {
        const char* name;
        bool frame;
    } cases[] = {
        {"frame-000001.png", true},  {"frame-1.png", true},        {"frame-1234567.png", true},
        {"frame-.png", false},       {"frame-00001a.png", false},  {"frame-000001.PNG", false},
        {"Frame-000001.png", false}, {"frame-000001.png~", false}, {"xframe-000001.png", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FrameFolder::isFrameName(c.name), c.frame) << c.name;
}

}  // namespace
}  // namespace kurvilo::cli

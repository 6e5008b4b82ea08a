// SPDX-License-Identifier: MIT
#include "cli/run_outputs.h"

#include <unistd.h>

#include <cstdio>

#include "cli/escape.h"
#include "picture/bmp.h"
#include "picture/marker.h"
#include "picture/png.h"
#include "sim/plot_surface.h"
#include "sim/settings.h"

namespace kurvilo::cli {

namespace {

// "kurvilo-cli run: cannot <verb> <what>'<path>': <cause>", or "... to standard output: ...".
void report(const char* verb, const char* what, const OutputFile& output) {
    std::string line = "kurvilo-cli run: cannot ";
    line += verb;
    line += ' ';
    line += what;
    if (output.isStandardOutput()) {
        line += *what != '\0' ? " to standard output" : "standard output";
    } else {
        if (*what != '\0') line += ' ';
        line += '\'';
        line += escaped(output.path());
        line += '\'';
    }
    line += ": ";
    line += escaped(output.error());
    line += '\n';
    std::fputs(line.c_str(), stderr);
}

void reportFolder(const std::string& what, const std::string& path, const std::string& cause) {
    std::fprintf(stderr, "kurvilo-cli run: cannot write %s'%s': %s\n", what.c_str(),
                 escaped(path).c_str(), escaped(cause).c_str());
}

}  // namespace

bool RunOutputs::openStandardOutputFor(OutputFile& output, const char* what, bool binary) {
    output.openStandardOutput();
    // Like gzip: a picture's bytes on a terminal are of no use to anyone.
    if (binary && ::isatty(STDOUT_FILENO) != 0) {
        std::fprintf(stderr,
                     "kurvilo-cli run: cannot write %s to standard output: it is a terminal "
                     "(redirect it, or give a file name)\n",
                     what);
        return false;
    }
    return true;
}

bool RunOutputs::openOutput(OutputFile& output, const std::string& path, const char* what,
                            bool binary) {
    if (path == "-") return openStandardOutputFor(output, what, binary);
    if (output.openFile(path)) return true;
    report("write", "", output);
    return false;
}

bool RunOutputs::open(int graphMode) {
    // Pictures first: a temporary file beside each, gone again if anything fails.
    if (!settings_.picturePath.empty() &&
        !openOutput(picture_, settings_.picturePath, "the picture", true)) {
        return false;
    }
    if (!settings_.bmpPath.empty() && !openOutput(bmp_, settings_.bmpPath, "the bitmap", true)) {
        return false;
    }
    if (!settings_.framesPath.empty() &&
        !frames_.open(settings_.framesPath, settings_.overwriteFrames)) {
        reportFolder(frames_.path() == settings_.framesPath ? "frames in " : "", frames_.path(),
                     frames_.error());
        return false;
    }
    if (!settings_.gifPath.empty()) {
        if (!openOutput(gifFile_, settings_.gifPath, "the GIF", true)) return false;
        gif_ = std::make_unique<GifAnimation>(gifFile_, PlotSurface::kSize, PlotSurface::kSize,
                                              gifDelay(settings_.every, settings_.intervalMs));
    }
    if (settings_.tracePath == "-") {
        openStandardOutputFor(trace_, "the trace", false);
    } else if (!settings_.tracePath.empty() && !trace_.openFile(settings_.tracePath)) {
        report("open", "the trace", trace_);
        return false;
    }
    if (trace_.isOpen()) {
        // The columns by their names in the mode: vx, x, ... or vθ, θ, ...
        std::string header = "tick";
        for (const std::string_view name :
             kGraphModes[static_cast<std::size_t>(graphMode)].slotNames) {
            header += '\t';
            header += name;
        }
        header += "\tpx\tpy\n";
        trace_.write(header);
    }
    return true;
}

void RunOutputs::fault(const OutputFile& output, const char* what) {
    failed_ = true;
    for (const OutputFile* seen : reported_) {
        if (seen == &output) return;
    }
    reported_.push_back(&output);
    report("write", what, output);
}

bool RunOutputs::check(const OutputFile& output, const char* what) {
    if (!output.failed()) return true;
    if (output.readerGone()) {
        readerGone_ = true;
    } else {
        fault(output, what);
    }
    return false;
}

void RunOutputs::tickDone(std::uint64_t tick, const RunModel& model) {
    if (trace_.isOpen()) {
        traceRow_ = std::to_string(tick);
        for (const std::string& value : model.listBox1) {
            traceRow_ += '\t';
            traceRow_ += value;
        }
        for (const std::string& coordinate : model.listBox3) {
            traceRow_ += '\t';
            traceRow_ += coordinate;
        }
        traceRow_ += '\n';
        trace_.write(traceRow_);
        check(trace_, "the trace");
    }
    if (tick % settings_.every == 0) {
        frame(model);
        lastFrameTick_ = tick;
    }
}

void RunOutputs::frame(const RunModel& model) {
    anyFrame_ = true;
    if (settings_.framesPath.empty() && !gif_) return;
    windowPicture(model.surface, model.shape1, frame_);
    if (!framesFailed_ && !settings_.framesPath.empty() && !frames_.write(frame_.view())) {
        reportFolder("", frames_.path(), frames_.error());
        framesFailed_ = true;
        failed_ = true;
    }
    if (gif_ && !gif_->addFrame(frame_.view()) && !gifFile_.failed()) {
        gifFile_.fail(gif_->error());
    }
    if (gif_) check(gifFile_, "");
}

bool RunOutputs::finish(const RunModel& model, std::uint64_t completed, bool failedTick) {
    // One frame after the last tick, unless the last frame shows it already; a failed tick's
    // picture is always the last frame.
    if (!failed_ && (!anyFrame_ || lastFrameTick_ != completed || failedTick)) frame(model);
    if (trace_.isOpen()) {
        trace_.close();
        check(trace_, "the trace");
    }
    const ImageView surface = surfaceView(model.surface);
    if (picture_.isOpen()) {
        std::string cause;
        if (settings_.pictureFormat == PictureFormat::Bmp) {
            picture_.write(encodeBmp(surface));
        } else if (!writePng(surface, picture_, cause) && !picture_.failed()) {
            picture_.fail(cause);
        }
        picture_.close();
        check(picture_, "");
    }
    if (bmp_.isOpen()) {
        bmp_.write(encodeBmp(surface));
        bmp_.close();
        check(bmp_, "");
    }
    if (gif_) {
        if (!gif_->finish() && !gifFile_.failed()) gifFile_.fail(gif_->error());
        gifFile_.close();
        check(gifFile_, "");
    }
    return !failed_;
}

}  // namespace kurvilo::cli

// SPDX-License-Identifier: MIT
// kurvilo-cli run: the window's run without the window. The start action, then N ticks of the
// same tick driver, with the value lists written to a trace, the picture to a file, and the
// picture as the window shows it to numbered frames or an animated GIF.
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "cli/commands.h"
#include "cli/escape.h"
#include "cli/options.h"
#include "cli/output.h"
#include "numbers/integer_text.h"
#include "sim/plot_surface.h"
#include "sim/tick.h"

#ifdef KURVILO_BUILD_GUI
#include <QFileDevice>

#include "cli/gif_animation.h"
#include "cli/image_output.h"
#endif

namespace kurvilo::cli {

namespace {

constexpr const char* kRunHelp =
    "usage: kurvilo-cli run --mode M --ticks N [--f1 F] [--f2 F]\n"
    "                       [--vx0 T] [--x0 T] [--vy0 T] [--y0 T]\n"
    "                       [--step 1/10|1/100|1/1000] [--range-x 2|20|200] [--range-y 2|20|200]\n"
    "                       [--zoom-x CENTRE,HALF] [--zoom-y CENTRE,HALF]\n"
    "                       [--a T] [--b T] [--c T] [--d T] [--separator C]\n"
    "                       [--trace FILE|-] [--picture FILE] [--bmp FILE]\n"
    "                       [--frames DIR] [--gif FILE] [--every K] [--speed 1/1s|1/10s|1/100s]\n"
    "\n"
    "Runs the start action and then N ticks of the window's tick driver.\n"
    "\n"
    "  --mode M        0 cartesian-motion, 1 polar-motion, 2 cartesian-curve, 3 polar-curve\n"
    "  --ticks N       the number of ticks, 0 or more\n"
    "  --f1 F          the first formula (Ay=, Ar=, Y=, r=); default empty\n"
    "  --f2 F          the second formula (Ax=, A\xCE\xB8=); default empty\n"
    "  --vx0 T  (--vtheta0 T)  initial Vx= / V\xCE\xB8=   (slot 0)   all four default to \"0\"\n"
    "  --x0 T   (--theta0 T)   initial X= / \xCE\xB8=     (slot 1)   and are taken as typed\n"
    "  --vy0 T  (--vr0 T)      initial Vy= / Vr=   (slot 2)\n"
    "  --y0 T   (--r0 T)       initial Y= / r=     (slot 3)\n"
    "  --step S        the time step; default 1/100\n"
    "  --range-x R     the view range -R<X<R; default 20 (likewise --range-y)\n"
    "  --zoom-x C,W    zoom on X: centre C (-200..200), half-width W (1..100)\n"
    "  --zoom-y C,W    zoom on Y, the same\n"
    "  --a T .. --d T  the keypad constants; default \"0\"\n"
    "  --separator C   the decimal separator (default: the locale's decimal point); not a\n"
    "                  character of numbers, formulas or value atoms\n"
    "\n"
    "Outputs (each opened before the first tick, so a bad path fails at once):\n"
    "  --trace FILE    TSV, one row per completed tick: tick, the five values, px, py;\n"
    "                  \"-\" for standard output\n"
    "  --picture FILE  the picture at the end, 401 x 401, as the window's save writes it (no\n"
    "                  marker), in the format the suffix names: .png, .bmp or any format\n"
    "                  Qt's image writer has\n"
    "  --bmp FILE      the same as a Windows bitmap, whatever the name (a suffix that names\n"
    "                  another image format is refused)\n"
    "  --frames DIR    the picture as the window shows it, with the red marker, as\n"
    "                  DIR/frame-000001.png, ... every K ticks and once after the last tick;\n"
    "                  DIR must exist\n"
    "  --gif FILE      the same frames as one looping animated GIF\n"
    "  --every K       ticks per frame, 1 or more; default 1\n"
    "  --speed S       the drawing speed, 1/1s, 1/10s or 1/100s (default): a GIF frame shows\n"
    "                  K ticks of it. GIF counts in 1/100 s, so the delay is rounded to\n"
    "                  1/100 s and is never below 2/100 s (viewers play shorter delays slowly)\n"
    "                  nor above 655.35 s\n"
    "Every output file is written whole or not at all: a failed write leaves any older file\n"
    "of that name as it was. Options may also be written --name=VALUE.\n"
    "\n"
    "Progress goes to standard error when it is a terminal that standard output is not.\n"
    "A failed tick ends the run as in the window: \"\xE3\x82\xA8\xE3\x83\xA9\xE3\x83\xBC\", the "
    "tick, the failure's\n"
    "kind and message go to standard error, and the outputs are still written. A trace whose\n"
    "reader goes away (a pipe into head) ends the run quietly; the outputs are still written.\n"
    "Exit status: 0 all N ticks ran (or the trace's reader went away), 1 a tick failed or an\n"
    "output could not be written, 2 bad arguments.\n"
    "  -h, --help      this text\n";

enum RunOptionId {
    kMode,
    kTicks,
    kF1,
    kF2,
    kVx0,
    kX0,
    kVy0,
    kY0,
    kStep,
    kRangeX,
    kRangeY,
    kZoomX,
    kZoomY,
    kConstantA,
    kConstantD = kConstantA + 3,
    kSeparator,
    kTrace,
    kPicture,
    kBmp,
    kFrames,
    kGif,
    kEvery,
    kSpeed,
};

constexpr OptionDef kRunOptions[] = {
    {"mode", kMode, true},       {"ticks", kTicks, true},
    {"f1", kF1, true},           {"f2", kF2, true},
    {"vx0", kVx0, true},         {"vtheta0", kVx0, true},
    {"x0", kX0, true},           {"theta0", kX0, true},
    {"vy0", kVy0, true},         {"vr0", kVy0, true},
    {"y0", kY0, true},           {"r0", kY0, true},
    {"step", kStep, true},       {"range-x", kRangeX, true},
    {"range-y", kRangeY, true},  {"zoom-x", kZoomX, true},
    {"zoom-y", kZoomY, true},    {"a", kConstantA, true},
    {"b", kConstantA + 1, true}, {"c", kConstantA + 2, true},
    {"d", kConstantD, true},     {"separator", kSeparator, true},
    {"trace", kTrace, true},     {"picture", kPicture, true},
    {"bmp", kBmp, true},         {"frames", kFrames, true},
    {"gif", kGif, true},         {"every", kEvery, true},
    {"speed", kSpeed, true},
};

struct RunSettings {
    std::unique_ptr<RunModel> model = std::make_unique<RunModel>();  // the surface is 643 kB
    std::uint64_t ticks = 0;
    std::string tracePath;
    std::string picturePath;
    std::string pictureFormat;
    std::string bmpPath;
    std::string framesPath;
    std::string gifPath;
    std::uint64_t every = 1;
    int intervalMs = 10;  // the drawing speed's timer interval
};

// The item whose text is given, or -1.
int itemOf(std::string_view text, std::initializer_list<std::string_view> items) {
    int index = 0;
    for (const std::string_view item : items) {
        if (text == item) return index;
        ++index;
    }
    return -1;
}

bool parseCount(const std::string& text, std::uint64_t& count) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    return error == std::errc() && end == text.data() + text.size();
}

bool parseBounded(std::string_view text, std::int32_t low, std::int32_t high, std::int32_t& value) {
    if (text.empty() || text.find_first_not_of("+-0123456789") != std::string_view::npos) {
        return false;
    }
    return tryParseInteger(text, value) && value >= low && value <= high;
}

// "CENTRE,HALF": checks the axis' zoom box and fills its two spin controls.
bool parseZoom(const std::string& text, bool& check, SpinControl& centre, SpinControl& half) {
    const auto comma = text.find(',');
    if (comma == std::string::npos) return false;
    std::int32_t c = 0;
    std::int32_t w = 0;
    if (!parseBounded(std::string_view(text).substr(0, comma), -200, 200, c)) return false;
    if (!parseBounded(std::string_view(text).substr(comma + 1), 1, 100, w)) return false;
    check = true;
    centre.text = integerText(c);
    half.text = integerText(w);
    return true;
}

void requireImages(const GivenOption& option) {
#ifdef KURVILO_BUILD_GUI
    (void)option;
#else
    throw UsageError("--" + option.name + " is not available: this build has no image writer");
#endif
}

void requireFileName(const GivenOption& option) {
    if (option.value.empty()) throw UsageError("--" + option.name + " needs a file name");
}

#ifdef KURVILO_BUILD_GUI
// A file for one format: a suffix that names another image format would mislabel the data.
void requireMatchingSuffix(const GivenOption& option, const std::string& format) {
    const std::string suffix = fileSuffix(option.value);
    const bool same = suffix == format || (format == "jpeg" && suffix == "jpg");
    if (!same && namesImageFormat(suffix)) {
        throw UsageError("--" + option.name + " writes " + format + ", but '" + option.value +
                         "' names a ." + suffix + " file");
    }
}
#endif

RunSettings readRunOptions(const CommandLine& line) {
    RunSettings settings;
    RunModel& model = *settings.model;
    model.constants = {"0", "0", "0", "0"};
    bool haveMode = false;
    bool haveTicks = false;
    bool haveEvery = false;
    for (const GivenOption& option : line.options) {
        const std::string& value = option.value;
        switch (option.id) {
            case kMode:
                model.graphMode = itemOf(
                    value, {"cartesian-motion", "polar-motion", "cartesian-curve", "polar-curve"});
                if (model.graphMode < 0) model.graphMode = itemOf(value, {"0", "1", "2", "3"});
                if (model.graphMode < 0) {
                    throw UsageError(
                        "--mode must be 0..3, cartesian-motion, polar-motion, "
                        "cartesian-curve or polar-curve");
                }
                haveMode = true;
                break;
            case kTicks:
                if (!parseCount(value, settings.ticks)) {
                    throw UsageError("--ticks must be a whole number, 0 or more");
                }
                haveTicks = true;
                break;
            case kF1:
                model.edit1 = value;
                break;
            case kF2:
                model.edit2 = value;
                break;
            case kVx0:
                model.labeledEdit15 = value;
                break;
            case kX0:
                model.labeledEdit16 = value;
                break;
            case kVy0:
                model.labeledEdit12 = value;
                break;
            case kY0:
                model.labeledEdit13 = value;
                break;
            case kStep:
                model.comboBox2 = itemOf(value, {"1/10", "1/100", "1/1000"});
                if (model.comboBox2 < 0) throw UsageError("--step must be 1/10, 1/100 or 1/1000");
                break;
            case kRangeX:
            case kRangeY: {
                int& item = option.id == kRangeX ? model.comboBox4 : model.comboBox3;
                item = itemOf(value, {"2", "20", "200"});
                if (item < 0) throw UsageError("--" + option.name + " must be 2, 20 or 200");
                break;
            }
            case kZoomX:
            case kZoomY: {
                const bool x = option.id == kZoomX;
                if (!parseZoom(value, x ? model.checkBox1 : model.checkBox2,
                               x ? model.spinEdit1 : model.spinEdit3,
                               x ? model.spinEdit2 : model.spinEdit4)) {
                    throw UsageError("--" + option.name +
                                     " needs CENTRE,HALF with CENTRE in -200..200 and HALF in "
                                     "1..100");
                }
                break;
            }
            case kSeparator:
                if (const std::string problem = setSeparatorOption(value); !problem.empty()) {
                    throw UsageError(problem);
                }
                break;
            case kTrace:
                if (value.empty()) throw UsageError("--trace needs a file name or -");
                settings.tracePath = value;
                break;
            case kPicture: {
                requireFileName(option);
                requireImages(option);
#ifdef KURVILO_BUILD_GUI
                std::string format = fileSuffix(value);
                if (format == "jpg") format = "jpeg";
                if (format == "gif") {
                    throw UsageError("--picture cannot write GIF; --gif writes an animation");
                }
                if (!imageWriterHas(format)) {
                    throw UsageError("--picture needs a file name whose suffix names a format: " +
                                     imageWriterFormats());
                }
                settings.picturePath = value;
                settings.pictureFormat = format;
#endif
                break;
            }
            case kBmp:
                requireFileName(option);
                requireImages(option);
#ifdef KURVILO_BUILD_GUI
                requireMatchingSuffix(option, "bmp");
#endif
                settings.bmpPath = value;
                break;
            case kFrames:
                if (value.empty()) throw UsageError("--frames needs a folder");
                requireImages(option);
                settings.framesPath = value;
                break;
            case kGif:
                requireFileName(option);
                requireImages(option);
#ifdef KURVILO_BUILD_GUI
                requireMatchingSuffix(option, "gif");
#endif
                settings.gifPath = value;
                break;
            case kEvery:
                if (!parseCount(value, settings.every) || settings.every == 0) {
                    throw UsageError("--every must be a whole number, 1 or more");
                }
                haveEvery = true;
                break;
            case kSpeed: {
                static constexpr int kIntervals[] = {1000, 100, 10};
                model.comboBox1 = itemOf(value, {"1/1s", "1/10s", "1/100s"});
                if (model.comboBox1 < 0) {
                    throw UsageError("--speed must be 1/1s, 1/10s or 1/100s");
                }
                settings.intervalMs = kIntervals[model.comboBox1];
                break;
            }
            default:
                if (option.id >= kConstantA && option.id <= kConstantD) {
                    model.constants[static_cast<std::size_t>(option.id - kConstantA)] = value;
                }
                break;
        }
    }
    if (!haveMode) throw UsageError("--mode is required");
    if (!haveTicks) throw UsageError("--ticks is required");
    if (haveEvery && settings.framesPath.empty() && settings.gifPath.empty()) {
        throw UsageError("--every needs --frames or --gif");
    }
    return settings;
}

void appendTraceRow(std::string& out, std::uint64_t tick, const RunModel& model) {
    out += std::to_string(tick);
    for (const std::string& value : model.listBox1) {
        out += '\t';
        out += value;
    }
    for (const std::string& coordinate : model.listBox3) {
        out += '\t';
        out += coordinate;
    }
    out += '\n';
}

// Progress belongs on a terminal, and not on the one the data goes to.
bool progressWanted() {
    if (isatty(STDERR_FILENO) == 0) return false;
    if (isatty(STDOUT_FILENO) == 0) return true;
    struct stat out {};
    struct stat err {};
    if (fstat(STDOUT_FILENO, &out) != 0 || fstat(STDERR_FILENO, &err) != 0) return false;
    return out.st_rdev != err.st_rdev;
}

void report(const std::string& path, const std::string& cause, const char* what = "") {
    std::fprintf(stderr, "kurvilo-cli run: cannot write %s'%s': %s\n", what, escaped(path).c_str(),
                 escaped(cause).c_str());
}

// The outputs of one run, all opened before its first tick.
class RunOutputs {
  public:
    explicit RunOutputs(const RunSettings& settings) : settings_(settings) {}

    // False (with the message written) when one cannot be opened.
    bool open();
    // After a completed tick.
    void tickDone(std::uint64_t tick, const RunModel& model);
    // At the end of the run, failed tick or not. False when any output failed.
    bool finish(const RunModel& model);
    // Stop ticking: an output has failed, or the trace's reader has gone.
    bool stopped() const noexcept { return failed_ || traceGone_; }

  private:
    void frame(const RunModel& model);

    const RunSettings& settings_;
    Output trace_;
    std::string traceRows_;
    bool failed_ = false;
    bool traceGone_ = false;
    std::uint64_t lastFrameTick_ = 0;
    bool anyFrame_ = false;
#ifdef KURVILO_BUILD_GUI
    PictureFile picture_;
    PictureFile bmp_;
    FrameFolder frames_;
    SafeFile gifFile_;
    std::unique_ptr<GifAnimation> gif_;
#endif
};

bool RunOutputs::open() {
#ifdef KURVILO_BUILD_GUI
    // Pictures first: a temporary file beside each, gone again if anything fails.
    if (!settings_.picturePath.empty() &&
        !picture_.open(settings_.picturePath, settings_.pictureFormat)) {
        report(settings_.picturePath, picture_.error());
        return false;
    }
    if (!settings_.bmpPath.empty() && !bmp_.open(settings_.bmpPath, "bmp")) {
        report(settings_.bmpPath, bmp_.error());
        return false;
    }
    if (!settings_.framesPath.empty() && !frames_.open(settings_.framesPath)) {
        report(settings_.framesPath, frames_.error(), "frames in ");
        return false;
    }
    if (!settings_.gifPath.empty()) {
        if (!gifFile_.open(settings_.gifPath)) {
            report(settings_.gifPath, gifFile_.error());
            return false;
        }
        gif_ = std::make_unique<GifAnimation>(gifFile_.device(), PlotSurface::kSize,
                                              PlotSurface::kSize,
                                              gifDelay(settings_.every, settings_.intervalMs));
    }
#endif
    if (settings_.tracePath == "-") {
        trace_.openStandardOutput();
    } else if (!settings_.tracePath.empty() && !trace_.openFile(settings_.tracePath)) {
        reportOutputFailure("run", "cannot open the trace", trace_);
        return false;
    }
    if (trace_.isOpen()) trace_.write("tick\tvx\tx\tvy\ty\tt\tpx\tpy\n");
    return true;
}

void RunOutputs::tickDone(std::uint64_t tick, const RunModel& model) {
    if (trace_.isOpen()) {
        traceRows_.clear();
        appendTraceRow(traceRows_, tick, model);
        trace_.write(traceRows_);
        if (trace_.failed()) {
            traceGone_ = trace_.readerGone();
            failed_ = failed_ || !traceGone_;
        }
    }
    if (tick % settings_.every == 0) {
        frame(model);
        lastFrameTick_ = tick;
    }
}

void RunOutputs::frame(const RunModel& model) {
    anyFrame_ = true;
#ifdef KURVILO_BUILD_GUI
    if (settings_.framesPath.empty() && !gif_) return;
    const QImage picture = windowPicture(model.surface, model.shape1);
    if (!settings_.framesPath.empty() && !frames_.write(picture)) {
        report(frames_.path(), frames_.error());
        failed_ = true;
    }
    if (gif_ && !gif_->addFrame(picture)) failed_ = true;  // reported by finish
#else
    (void)model;
#endif
}

bool RunOutputs::finish(const RunModel& model) {
    bool ok = !failed_;
    // One frame after the last tick, unless the last frame shows it already.
    if (!failed_ &&
        (!anyFrame_ || lastFrameTick_ != model.tickCount || model.lastFailure.has_value())) {
        frame(model);
        ok = ok && !failed_;
    }
    if (trace_.isOpen() && !trace_.close() && !trace_.readerGone()) {
        reportOutputFailure(
            "run",
            settings_.tracePath == "-" ? "cannot write the trace to" : "cannot write the trace",
            trace_);
        ok = false;
    }
#ifdef KURVILO_BUILD_GUI
    if (!settings_.picturePath.empty() && !picture_.write(surfaceImage(model.surface))) {
        report(settings_.picturePath, picture_.error());
        ok = false;
    }
    if (!settings_.bmpPath.empty() && !bmp_.write(surfaceImage(model.surface))) {
        report(settings_.bmpPath, bmp_.error());
        ok = false;
    }
    if (gif_) {
        const bool encoded = gif_->finish();
        if (!encoded) gifFile_.fail(gif_->error());
        if (!encoded || !gifFile_.commit()) {
            report(settings_.gifPath, gifFile_.error());
            ok = false;
        }
    }
#endif
    return ok;
}

int execute(const RunSettings& settings) {
    RunModel& model = *settings.model;
    RunOutputs outputs(settings);
    if (!outputs.open()) return 1;

    const bool showProgress = settings.ticks >= 10000 && progressWanted();
    constexpr std::uint64_t kProgressEvery = 1 << 14;

    paintStartupFrame(model.surface);
    startAction(model);
    int status = 0;
    for (std::uint64_t tick = 1; tick <= settings.ticks && !outputs.stopped(); ++tick) {
        if (!Timer1Timer(model)) {
            if (showProgress) std::fputs("\n", stderr);
            std::fprintf(stderr, "%s: tick %llu: %s: %s\n", model.label3.c_str(),
                         static_cast<unsigned long long>(tick), model.lastFailure->kind.c_str(),
                         escaped(model.lastFailure->message).c_str());
            status = 1;
            break;
        }
        outputs.tickDone(tick, model);
        if (showProgress && (tick % kProgressEvery == 0 || tick == settings.ticks)) {
            std::fprintf(stderr, "\rkurvilo-cli run: tick %llu of %llu",
                         static_cast<unsigned long long>(tick),
                         static_cast<unsigned long long>(settings.ticks));
            if (tick == settings.ticks) std::fputs("\n", stderr);
        }
    }
    if (status == 0) stopAction(model);
    if (!outputs.finish(model)) status = 1;
    return status;
}

}  // namespace

int runRun(std::span<const std::string> args) {
    separatorFromLocale();
    try {
        const CommandLine line = parseCommandLine(kRunOptions, args, false);
        if (line.help) return writeStandardOutput("run", kRunHelp);
        return execute(readRunOptions(line));
    } catch (const UsageError& error) {
        return reportUsageError("run", error.what());
    }
}

}  // namespace kurvilo::cli

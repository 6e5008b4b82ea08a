// SPDX-License-Identifier: MIT
// kurvilo-cli run: the window's run without the window. The start action, then N ticks of the
// same tick driver, with the value lists written to a trace, the picture to a file, and the
// picture as the window shows it to numbered frames or an animated GIF.
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "cli/escape.h"
#include "cli/interruption.h"
#include "cli/options.h"
#include "cli/progress.h"
#include "cli/run_outputs.h"
#include "numbers/integer_text.h"
#include "sim/plot_surface.h"
#include "sim/settings.h"
#include "sim/tick.h"

namespace kurvilo::cli {

namespace {

enum RunOptionId {
    kMode,
    kTicks,
    kAy,
    kAx,
    kAr,
    kATheta,
    kCurve,
    kF1,
    kF2,
    kVx0,
    kX0,
    kVy0,
    kY0,
    kConstantA,
    kConstantD = kConstantA + 3,
    kStep,
    kRangeX,
    kRangeY,
    kZoomX,
    kZoomY,
    kSpeed,
    kSeparator,
    kTrace,
    kPicture,
    kBmp,
    kFrames,
    kOverwrite,
    kGif,
    kEvery,
    kQuiet,
    kProgress,
};

using enum ValueKind;

constexpr OptionDef kRunOptions[] = {
    {"", kHeading, None, "", "What runs:"},
    {"mode", kMode, ModeName, "M", "the graph mode: {values}; required"},
    {"ticks", kTicks, Count, "N", "the number of ticks, 0 or more; required"},
    {"", kHeading, None, "",
     "The formulas, each as typed in the window (empty, the default, is 0), and only in the "
     "modes that have the field:"},
    {"ay", kAy, Text, "F", "Ay=, the first formula of cartesian-motion"},
    {"ax", kAx, Text, "F", "Ax=, its second"},
    {"ar", kAr, Text, "F", "Ar=, the first formula of polar-motion"},
    {"atheta", kATheta, Text, "F", "A\u03B8=, its second"},
    {"curve", kCurve, Text, "F",
     "Y= of cartesian-curve or r= of polar-curve: y of x, or r of \u03B8"},
    {"f1", kF1, Text, "F", "the first formula in any mode (Ay=, Ar=, Y=, r=)"},
    {"f2", kF2, Text, "F",
     "the second formula in any mode (Ax=, A\u03B8=); the curve modes evaluate it and use it "
     "no further"},
    {"", kHeading, None, "",
     "The initial values, texts taken as typed (each defaults to 0), and the constants:"},
    {"vx0", kVx0, Text, "T",
     "Vx= or V\u03B8= (slot 0); in the curve modes the constant speed of x or \u03B8"},
    {"vtheta0", kVx0, Text, "T", ""},
    {"x0", kX0, Text, "T", "X= or \u03B8= (slot 1)"},
    {"theta0", kX0, Text, "T", ""},
    {"vy0", kVy0, Text, "T", "Vy= or Vr= (slot 2)"},
    {"vr0", kVy0, Text, "T", ""},
    {"y0", kY0, Text, "T", "Y= or r= (slot 3)"},
    {"r0", kY0, Text, "T", ""},
    {"a", kConstantA, Text, "T", "the keypad's constants a, b, c and d"},
    {"b", kConstantA + 1, Text, "T", ""},
    {"c", kConstantA + 2, Text, "T", ""},
    {"d", kConstantD, Text, "T", ""},
    {"", kHeading, None, "", "The other settings of the window:"},
    {"step", kStep, StepName, "S", "the time step: {values}; default 1/100"},
    {"range-x", kRangeX, RangeName, "R", "the view range -R<X<R: {values}; default 20"},
    {"range-y", kRangeY, RangeName, "R", "the view range -R<Y<R, the same"},
    {"zoom-x", kZoomX, Text, "C,W",
     "zoom X on a window of centre C (-200 to 200) and half-width W (1 to 100)"},
    {"zoom-y", kZoomY, Text, "C,W", "zoom Y, the same"},
    {"speed", kSpeed, SpeedName, "S",
     "the drawing speed: {values}; default 1/100s. It sets the GIF's delay: the run itself "
     "goes as fast as it can"},
    {"separator", kSeparator, Separator, "C",
     "the decimal separator of the values and the trace: one character, or 'locale' for the "
     "locale's decimal point; default '.'"},
    {"", kHeading, None, "",
     "Outputs, each opened before the first tick, so that a bad path fails at once; '-' is "
     "standard output, for one of them:"},
    {"trace", kTrace, File, "FILE",
     "TSV: a header naming the mode's columns (tick, vx, x, vy, y, t, px, py, or v\u03B8, "
     "\u03B8, vr, r in the polar modes), then one row per completed tick"},
    {"picture", kPicture, PictureFile, "FILE",
     "the picture at the end, 401 x 401, as the window saves it (no marker): PNG or BMP as "
     "the suffix says (.png, .bmp); '-' writes PNG"},
    {"bmp", kBmp, BmpFile, "FILE", "the same as a Windows bitmap, whatever the name"},
    {"frames", kFrames, Folder, "DIR",
     "the picture as the window shows it, with the red marker, as DIR/frame-000001.png, ... "
     "every K ticks and after the last; DIR must exist and hold no frames"},
    {"overwrite", kOverwrite, None, "", "remove the frames DIR holds before the first tick"},
    {"gif", kGif, GifFile, "FILE", "the same frames as one looping animated GIF"},
    {"every", kEvery, Count, "K", "ticks per frame, 1 or more; default 1"},
    {"", kHeading, None, "", "Messages:"},
    {"quiet", kQuiet, None, "", "show no progress", 'q'},
    {"progress", kProgress, None, "",
     "show the progress on standard error even when it is no "
     "terminal"},
    {"help", kHelpOption, None, "", "show this help", 'h'},
    {"version", kVersionOption, None, "", "show the version"},
};

constexpr std::string_view kRunUsage =
    "usage: kurvilo-cli run --mode M --ticks N [options]\n"
    "\n"
    "Runs the window's start action and then N ticks of its tick driver, without a\n"
    "window, and writes the values of every tick, the final picture, frames or an\n"
    "animated GIF.\n";

constexpr std::string_view kRunEpilogue =
    "Every output file is written whole or not at all: a failed write leaves an older\n"
    "file of that name as it was. Options may also be written --name=VALUE.\n"
    "\n"
    "The progress goes to standard error when it is a terminal and no output goes to\n"
    "standard output on that same terminal.\n"
    "A failed tick ends the run as in the window: its message goes to standard error\n"
    "and the outputs are written as they stand. SIGINT, SIGTERM and SIGHUP end the\n"
    "run at the next tick boundary the same way; a second one ends it at once,\n"
    "leaving no temporary file. A reader of standard output that goes away (a pipe\n"
    "into head) ends the run quietly.\n"
    "\n"
    "Exit status: 0 all N ticks ran (or the reader went away), 1 a tick failed or an\n"
    "output could not be written, 2 bad arguments, 128 + N ended by signal N.\n";

int runMain(std::span<const std::string> args);

}  // namespace

const CommandDef& runCommand() {
    static const CommandDef command{
        "run",        "run an animation without a window, to a trace, pictures or a GIF",
        kRunUsage,    kRunOptions,
        kRunEpilogue, runMain};
    return command;
}

namespace {

struct RunSettings {
    std::unique_ptr<RunModel> model = std::make_unique<RunModel>();  // the surface is 643 kB
    std::uint64_t ticks = 0;
    OutputSettings outputs;
    std::optional<bool> progress;  // -q: off, --progress: on; none: on a terminal
};

bool parseCount(const std::string& text, std::uint64_t& count) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    return error == std::errc() && end == text.data() + text.size();
}

bool parseBounded(std::string_view text, const SpinLimits& limits, std::int32_t& value) {
    if (text.empty() || text.find_first_not_of("+-0123456789") != std::string_view::npos) {
        return false;
    }
    return tryParseInteger(text, value) && value >= limits.minimum && value <= limits.maximum;
}

// "CENTRE,HALF": checks the axis' zoom box and fills its two spin controls.
bool parseZoom(const std::string& text, bool& check, SpinControl& centre, SpinControl& half) {
    const auto comma = text.find(',');
    if (comma == std::string::npos) return false;
    std::int32_t c = 0;
    std::int32_t w = 0;
    if (!parseBounded(std::string_view(text).substr(0, comma), kZoomCentre, c)) return false;
    if (!parseBounded(std::string_view(text).substr(comma + 1), kZoomHalfWidth, w)) return false;
    check = true;
    centre.text = integerText(c);
    half.text = integerText(w);
    return true;
}

// The value's row in a closed set, or a usage error that lists the set (and the nearest value).
int rowOf(const GivenOption& option, std::optional<int> row, ValueKind kind) {
    if (row) return *row;
    const std::vector<std::string_view> values = closedValues(kind);
    std::string message = option.name + " must be ";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) message += i + 1 == values.size() ? " or " : ", ";
        message += values[i];
    }
    if (const std::string nearest = nearestName(option.value, values); !nearest.empty()) {
        message += " (did you mean '" + nearest + "'?)";
    }
    throw UsageError(message);
}

// The lower-case suffix of a file name, without the dot; empty when it has none.
std::string fileSuffix(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    if (dot == (slash == std::string::npos ? 0 : slash + 1)) return {};  // ".hidden"
    std::string suffix = path.substr(dot + 1);
    for (char& c : suffix) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return suffix;
}

// Suffixes of image formats, to catch a file name that promises another format than written.
bool namesImageFormat(const std::string& suffix) {
    static constexpr std::string_view kImageSuffixes[] = {
        "avif", "bmp", "cur",  "gif", "heic", "ico", "jp2", "jpe", "jpeg", "jpg",  "jxl",
        "pbm",  "pgm", "png",  "pnm", "ppm",  "qoi", "svg", "tga", "tif",  "tiff", "webp",
        "xbm",  "xpm", "apng", "dib", "pcx",  "psd", "exr", "hdr", "icns", "wbmp"};
    for (const std::string_view known : kImageSuffixes) {
        if (suffix == known) return true;
    }
    return false;
}

void requireFileName(const GivenOption& option) {
    if (option.value.empty()) throw UsageError(option.name + " needs a file name or -");
}

// A file for one format: a suffix that names another image format would mislabel the data.
void requireMatchingSuffix(const GivenOption& option, std::string_view format) {
    const std::string suffix = fileSuffix(option.value);
    if (suffix != format && namesImageFormat(suffix)) {
        throw UsageError(option.name + " writes " + std::string(format) + ", but '" + option.value +
                         "' names a ." + suffix + " file");
    }
}

PictureFormat pictureFormatOf(const GivenOption& option) {
    if (option.value == "-") return PictureFormat::Png;
    const std::string suffix = fileSuffix(option.value);
    if (suffix == "png") return PictureFormat::Png;
    if (suffix == "bmp") return PictureFormat::Bmp;
    if (suffix == "gif") throw UsageError("--picture cannot write GIF; --gif writes an animation");
    throw UsageError("--picture writes the formats png, bmp; '" + option.value +
                     "' needs the suffix .png or .bmp");
}

// The formula options that name a field ask for a mode that has it.
void checkFieldOptions(const std::vector<const GivenOption*>& fields, int mode) {
    for (const GivenOption* option : fields) {
        const int id = option->id;
        const bool fits = ((id == kAy || id == kAx) && mode == 0) ||
                          ((id == kAr || id == kATheta) && mode == 1) ||
                          (id == kCurve && (mode == 2 || mode == 3));
        if (fits) continue;
        static constexpr std::string_view kFieldsOf[] = {"--ay and --ax", "--ar and --atheta",
                                                         "--curve", "--curve"};
        const std::string_view name = kGraphModes[static_cast<std::size_t>(mode)].name;
        throw UsageError(option->name + " is no field of " + std::string(name) + " (its " +
                         (mode >= 2 ? "formula is " : "formulas are ") +
                         std::string(kFieldsOf[mode]) + ", or --f1 and --f2)");
    }
}

// The one output that may go to standard output.
void checkStandardOutput(const RunSettings& settings) {
    const OutputSettings& o = settings.outputs;
    std::vector<std::string> dashes;
    if (o.tracePath == "-") dashes.emplace_back("--trace");
    if (o.picturePath == "-") dashes.emplace_back("--picture");
    if (o.bmpPath == "-") dashes.emplace_back("--bmp");
    if (o.gifPath == "-") dashes.emplace_back("--gif");
    if (dashes.size() > 1) {
        throw UsageError(dashes[0] + " and " + dashes[1] +
                         " both write to standard output ('-'); only one output can");
    }
}

RunSettings readRunOptions(const CommandLine& line) {
    RunSettings settings;
    RunModel& model = *settings.model;
    OutputSettings& outputs = settings.outputs;
    model.constants = {"0", "0", "0", "0"};
    bool haveMode = false;
    bool haveTicks = false;
    bool haveEvery = false;
    bool overwrite = false;
    std::vector<const GivenOption*> fields;
    for (const GivenOption& option : line.options) {
        const std::string& value = option.value;
        switch (option.id) {
            case kMode:
                model.graphMode = value.size() == 1 && value[0] >= '0' && value[0] <= '3'
                                      ? value[0] - '0'
                                      : rowOf(option, graphModeNamed(value), ModeName);
                haveMode = true;
                break;
            case kTicks:
                if (!parseCount(value, settings.ticks)) {
                    throw UsageError("--ticks must be a whole number, 0 or more");
                }
                haveTicks = true;
                break;
            case kAy:
            case kAr:
            case kCurve:
                fields.push_back(&option);
                model.edit1 = value;
                break;
            case kAx:
            case kATheta:
                fields.push_back(&option);
                model.edit2 = value;
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
                model.comboBox2 = rowOf(option, timeStepNamed(value), StepName);
                break;
            case kRangeX:
            case kRangeY:
                (option.id == kRangeX ? model.comboBox4 : model.comboBox3) =
                    rowOf(option, viewRangeNamed(value), RangeName);
                break;
            case kZoomX:
            case kZoomY: {
                const bool x = option.id == kZoomX;
                if (!parseZoom(value, x ? model.checkBox1 : model.checkBox2,
                               x ? model.spinEdit1 : model.spinEdit3,
                               x ? model.spinEdit2 : model.spinEdit4)) {
                    throw UsageError(option.name +
                                     " needs CENTRE,HALF with CENTRE in -200..200 and HALF in "
                                     "1..100");
                }
                break;
            }
            case kSpeed:
                model.comboBox1 = rowOf(option, drawingSpeedNamed(value), SpeedName);
                outputs.intervalMs =
                    kDrawingSpeeds[static_cast<std::size_t>(model.comboBox1)].intervalMs;
                break;
            case kSeparator:
                if (const std::string problem = setSeparatorOption(value); !problem.empty()) {
                    throw UsageError(problem);
                }
                break;
            case kTrace:
                if (value.empty()) throw UsageError("--trace needs a file name or -");
                outputs.tracePath = value;
                break;
            case kPicture:
                requireFileName(option);
                outputs.pictureFormat = pictureFormatOf(option);
                outputs.picturePath = value;
                break;
            case kBmp:
                requireFileName(option);
                requireMatchingSuffix(option, "bmp");
                outputs.bmpPath = value;
                break;
            case kFrames:
                if (value.empty()) throw UsageError("--frames needs a folder");
                if (value == "-") throw UsageError("--frames needs a folder, not -");
                outputs.framesPath = value;
                break;
            case kOverwrite:
                overwrite = true;
                break;
            case kGif:
                requireFileName(option);
                requireMatchingSuffix(option, "gif");
                outputs.gifPath = value;
                break;
            case kEvery:
                if (!parseCount(value, outputs.every) || outputs.every == 0) {
                    throw UsageError("--every must be a whole number, 1 or more");
                }
                haveEvery = true;
                break;
            case kQuiet:
                settings.progress = false;
                break;
            case kProgress:
                settings.progress = true;
                break;
            default:
                if (option.id >= kConstantA && option.id <= kConstantD) {
                    model.constants[static_cast<std::size_t>(option.id - kConstantA)] = value;
                }
                break;
        }
    }
    if (!haveMode) throw UsageError("--mode is required");
    if (!haveTicks) throw UsageError("--ticks is required");
    checkFieldOptions(fields, model.graphMode);
    if (haveEvery && outputs.framesPath.empty() && outputs.gifPath.empty()) {
        throw UsageError("--every needs --frames or --gif");
    }
    if (overwrite && outputs.framesPath.empty()) throw UsageError("--overwrite needs --frames");
    outputs.overwriteFrames = overwrite;
    checkStandardOutput(settings);
    return settings;
}

bool anyOutputToStandardOutput(const OutputSettings& o) {
    return o.tracePath == "-" || o.picturePath == "-" || o.bmpPath == "-" || o.gifPath == "-";
}

int execute(const RunSettings& settings) {
    RunModel& model = *settings.model;
    // Caught from before the first temporary file is made until the last is in place.
    Interruption interruption;
    RunOutputs outputs(settings.outputs);
    if (!outputs.open(model.graphMode)) return 1;

    Progress progress(
        settings.ticks,
        settings.progress.value_or(progressWanted(anyOutputToStandardOutput(settings.outputs))));
    InterruptibleEvaluator evaluator(interruption);
    paintStartupFrame(model.surface);
    startAction(model);
    int status = 0;
    bool failedTick = false;
    std::uint64_t completed = 0;
    while (completed < settings.ticks && !outputs.stopped() && interruption.signal() == 0) {
        if (!Timer1Timer(model, &evaluator)) {
            // A cancelled evaluation is the signal's doing, not the tick's.
            if (interruption.signal() != 0) break;
            progress.finish(completed);
            std::fprintf(stderr, "kurvilo-cli run: tick %llu failed: %s: %s\n",
                         static_cast<unsigned long long>(model.tickCount),
                         model.lastFailure->kind.c_str(),
                         escaped(model.lastFailure->message).c_str());
            status = 1;
            failedTick = true;
            break;
        }
        ++completed;
        outputs.tickDone(completed, model);
        progress.update(completed);
    }
    progress.finish(completed);
    if (status == 0) stopAction(model);
    if (!outputs.finish(model, completed, failedTick)) status = 1;
    if (interruption.signal() != 0) return 128 + interruption.signal();
    return status;
}

int runMain(std::span<const std::string> args) {
    try {
        const CommandLine line = parseCommandLine(kRunOptions, args, false);
        if (const int answered = answerHelpOrVersion(runCommand(), line); answered >= 0) {
            return answered;
        }
        return execute(readRunOptions(line));
    } catch (const UsageError& error) {
        return reportUsageError("run", error.what());
    }
}

}  // namespace

}  // namespace kurvilo::cli

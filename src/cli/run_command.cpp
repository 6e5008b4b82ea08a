// SPDX-License-Identifier: MIT
// kurvilo-cli run: the window's run without the window. The start action, then N ticks of the
// same tick driver, with the value lists written to a trace, the picture to a file, and the
// picture as the window shows it to numbered frames or an animated GIF. The settings come from the
// options, or from a run file (or a PNG that carries one) that the options given beside it
// override; --save-run writes the run file of the settings in effect.
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
#include "cli/formula_warnings.h"
#include "cli/interruption.h"
#include "cli/options.h"
#include "cli/progress.h"
#include "cli/run_outputs.h"
#include "numbers/integer_text.h"
#include "numbers/separator.h"
#include "picture/output_file.h"
#include "runfile/run_file.h"
#include "sim/plot_surface.h"
#include "sim/run_settings.h"
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
    kSaveRun,
    kTitle,
    kNote,
    kStrict,
};

using enum ValueKind;

constexpr OptionDef kRunOptions[] = {
    {"", kHeading, None, "",
     "What runs: the settings of the run file FILE (a .kurvilo file, or a PNG picture that "
     "carries one; '-' reads standard input), each changed by the options given beside it."},
    {"mode", kMode, ModeName, "M", "the graph mode: {values}; required without FILE"},
    {"ticks", kTicks, Count, "N",
     "the number of ticks, 0 or more; required unless FILE says or --save-run is all "
     "that is asked for"},
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
    {"", kHeading, None, "", "Run files:"},
    {"save-run", kSaveRun, RunFileName, "FILE",
     "write the run file of the settings in effect (and of --ticks, when given) before the "
     "run; without --ticks nothing runs"},
    {"title", kTitle, Text, "T", "the run file's title"},
    {"note", kNote, Text, "T", "the run file's note"},
    {"", kHeading, None, "", "Messages:"},
    {"quiet", kQuiet, None, "", "show no progress and no warnings", 'q'},
    {"progress", kProgress, None, "",
     "show the progress on standard error even when it is no "
     "terminal"},
    {"strict", kStrict, None, "",
     "make a formula with a note a failure: nothing runs and nothing is written, and the exit "
     "status is 3"},
    {"help", kHelpOption, None, "", "show this help", 'h'},
    {"version", kVersionOption, None, "", "show the version"},
};

constexpr std::string_view kRunUsage =
    "usage: kurvilo-cli run --mode M --ticks N [options]\n"
    "       kurvilo-cli run FILE [options]\n"
    "\n"
    "Runs the window's start action and then N ticks of its tick driver, without a\n"
    "window, and writes the values of every tick, the final picture, frames or an\n"
    "animated GIF. Every PNG it writes carries the run file of its run.\n"
    "\n"
    "A formula that is read differently from how it looks ('x + 1' is x, 'pi' is 0)\n"
    "gets a warning on standard error for each of its notes, before the run, naming\n"
    "the option or the run file's key it came from and the column (in characters):\n"
    "    kurvilo-cli run: warning: --ay 'x + 1' column 2: a blank ends the ...\n";

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
    "output could not be written, 2 bad arguments or a run file that is refused,\n"
    "3 --strict was given and a formula has a note, 128 + N ended by signal N.\n";

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

// A run file that was refused: its one line goes to standard error as it is.
class RefusedFile : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct RunRequest {
    std::unique_ptr<RunModel> model;  // the surface is 643 kB
    RunFile runFile;                  // the settings in effect, the title and the note
    std::optional<std::uint64_t> ticks;
    std::string saveRunPath;  // --save-run; empty: none
    OutputSettings outputs;
    std::optional<bool> progress;  // -q: off, --progress: on; none: on a terminal
    bool quiet = false;            // -q: no warnings either
    bool strict = false;
    // Where each formula came from, for its warnings: the option ("--ay") or the run file's key
    // ("lesson.kurvilo: formulas.first"); empty: neither, the formula is empty.
    std::string firstSource;
    std::string secondSource;
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

// "CENTRE,HALF": the axis' zoom, on.
bool parseZoom(const std::string& text, ZoomSetting& zoom) {
    const auto comma = text.find(',');
    if (comma == std::string::npos) return false;
    std::int32_t c = 0;
    std::int32_t w = 0;
    if (!parseBounded(std::string_view(text).substr(0, comma), kZoomCentre, c)) return false;
    if (!parseBounded(std::string_view(text).substr(comma + 1), kZoomHalfWidth, w)) return false;
    zoom = {true, c, w};
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
        const GraphModeSetting& row = kGraphModes[static_cast<std::size_t>(mode)];
        const std::string_view field = option->name;  // "--ay"
        if (field.substr(2) == row.firstFormulaName || field.substr(2) == row.secondFormulaName) {
            continue;
        }
        const std::string fields = row.isMotion()
                                       ? "--" + std::string(row.firstFormulaName) + " and --" +
                                             std::string(row.secondFormulaName)
                                       : "--" + std::string(row.firstFormulaName);
        throw UsageError(option->name + " is no field of " + std::string(row.name) + " (its " +
                         (row.isMotion() ? "formulas are " : "formula is ") + fields +
                         ", or --f1 and --f2)");
    }
}

// The one output that may go to standard output.
void checkStandardOutput(const RunRequest& request) {
    const OutputSettings& o = request.outputs;
    std::vector<std::string> dashes;
    if (request.saveRunPath == "-") dashes.emplace_back("--save-run");
    if (o.tracePath == "-") dashes.emplace_back("--trace");
    if (o.picturePath == "-") dashes.emplace_back("--picture");
    if (o.bmpPath == "-") dashes.emplace_back("--bmp");
    if (o.gifPath == "-") dashes.emplace_back("--gif");
    if (dashes.size() > 1) {
        throw UsageError(dashes[0] + " and " + dashes[1] +
                         " both write to standard output ('-'); only one output can");
    }
}

// The run file the operand names, or the start-up settings when there is none.
RunFile baseRunFile(const CommandLine& line) {
    if (line.operands.empty()) return {};
    if (line.operands.size() > 1) {
        throw UsageError("one run file at most ('" + line.operands[0] + "', '" + line.operands[1] +
                         "')");
    }
    const RunFileRead read = loadRunFile(line.operands[0]);
    if (!read.file) throw RefusedFile(read.error.message());
    return *read.file;
}

// The options, over the run file's settings. The process-wide separator is set here: the
// option's, else the file's.
RunRequest readRunOptions(const CommandLine& line) {
    RunRequest request;
    request.runFile = baseRunFile(line);
    const bool haveFile = !line.operands.empty();
    if (haveFile) {
        request.firstSource = escaped(line.operands[0]) + ": formulas.first";
        request.secondSource = escaped(line.operands[0]) + ": formulas.second";
    }
    RunSettings& settings = request.runFile.settings;
    request.ticks = request.runFile.ticks;
    OutputSettings& outputs = request.outputs;
    bool haveMode = haveFile;
    bool haveEvery = false;
    bool overwrite = false;
    bool separatorGiven = false;
    std::vector<const GivenOption*> fields;
    for (const GivenOption& option : line.options) {
        const std::string& value = option.value;
        switch (option.id) {
            case kMode:
                settings.graphMode = value.size() == 1 && value[0] >= '0' && value[0] <= '3'
                                         ? value[0] - '0'
                                         : rowOf(option, graphModeNamed(value), ModeName);
                haveMode = true;
                break;
            case kTicks: {
                std::uint64_t ticks = 0;
                if (!parseCount(value, ticks)) {
                    throw UsageError("--ticks must be a whole number, 0 or more");
                }
                request.ticks = ticks;
                break;
            }
            case kAy:
            case kAr:
            case kCurve:
                fields.push_back(&option);
                [[fallthrough]];
            case kF1:
                settings.firstFormula = value;
                request.firstSource = option.name;
                break;
            case kAx:
            case kATheta:
                fields.push_back(&option);
                [[fallthrough]];
            case kF2:
                settings.secondFormula = value;
                request.secondSource = option.name;
                break;
            case kVx0:
            case kX0:
            case kVy0:
            case kY0:
                settings.initialValues[static_cast<std::size_t>(option.id - kVx0)] = value;
                break;
            case kStep:
                settings.timeStep = rowOf(option, timeStepNamed(value), StepName);
                break;
            case kRangeX:
            case kRangeY:
                (option.id == kRangeX ? settings.viewRangeX : settings.viewRangeY) =
                    rowOf(option, viewRangeNamed(value), RangeName);
                break;
            case kZoomX:
            case kZoomY:
                if (!parseZoom(value, option.id == kZoomX ? settings.zoomX : settings.zoomY)) {
                    throw UsageError(option.name +
                                     " needs CENTRE,HALF with CENTRE in -200..200 and HALF in "
                                     "1..100");
                }
                break;
            case kSpeed:
                settings.drawingSpeed = rowOf(option, drawingSpeedNamed(value), SpeedName);
                break;
            case kSeparator:
                if (const std::string problem = setSeparatorOption(value); !problem.empty()) {
                    throw UsageError(problem);
                }
                separatorGiven = true;
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
                request.progress = false;
                request.quiet = true;
                break;
            case kStrict:
                request.strict = true;
                break;
            case kProgress:
                request.progress = true;
                break;
            case kSaveRun:
                if (value.empty()) throw UsageError("--save-run needs a file name or -");
                request.saveRunPath = value;
                break;
            case kTitle:
                request.runFile.title = value;
                break;
            case kNote:
                request.runFile.note = value;
                break;
            default:
                if (option.id >= kConstantA && option.id <= kConstantD) {
                    settings.constants[static_cast<std::size_t>(option.id - kConstantA)] = value;
                }
                break;
        }
    }
    if (!haveMode) throw UsageError("--mode is required");
    if (!request.ticks && request.saveRunPath.empty()) {
        throw UsageError(haveFile ? "--ticks is required: the run file says no number of ticks"
                                  : "--ticks is required");
    }
    checkFieldOptions(fields, settings.graphMode);
    if (haveEvery && outputs.framesPath.empty() && outputs.gifPath.empty()) {
        throw UsageError("--every needs --frames or --gif");
    }
    if (overwrite && outputs.framesPath.empty()) throw UsageError("--overwrite needs --frames");
    outputs.overwriteFrames = overwrite;
    checkStandardOutput(request);

    if (separatorGiven) {
        settings.separator = decimalSeparator();
    } else {
        setDecimalSeparator(settings.separator);
    }
    outputs.intervalMs = kDrawingSpeeds[static_cast<std::size_t>(settings.drawingSpeed)].intervalMs;
    request.runFile.ticks = request.ticks;
    // Every PNG carries the run file, and --save-run writes it: its texts must be UTF-8.
    const bool pngs =
        (!outputs.picturePath.empty() && outputs.pictureFormat == PictureFormat::Png) ||
        !outputs.framesPath.empty() || !request.saveRunPath.empty();
    if (const std::string problem = runFileProblem(request.runFile); pngs && !problem.empty()) {
        throw UsageError(
            "no run file can hold these settings, and every PNG and --save-run "
            "writes one: " +
            problem);
    }
    request.model = headlessModel();
    applySettings(settings, *request.model);
    return request;
}

bool anyOutputToStandardOutput(const OutputSettings& o) {
    return o.tracePath == "-" || o.picturePath == "-" || o.bmpPath == "-" || o.gifPath == "-";
}

// --save-run: the run file, whole or not at all.
bool saveRunFile(const RunRequest& request) {
    OutputFile out;
    if (request.saveRunPath == "-") {
        out.openStandardOutput();
    } else if (!out.openFile(request.saveRunPath)) {
        std::fprintf(stderr, "kurvilo-cli run: cannot write '%s': %s\n",
                     escaped(request.saveRunPath).c_str(), escaped(out.error()).c_str());
        return false;
    }
    out.write(formatRunFile(request.runFile));
    if (out.close() || out.readerGone()) return true;
    if (out.isStandardOutput()) {
        std::fprintf(stderr, "kurvilo-cli run: cannot write the run file to standard output: %s\n",
                     escaped(out.error()).c_str());
    } else {
        std::fprintf(stderr, "kurvilo-cli run: cannot write '%s': %s\n",
                     escaped(request.saveRunPath).c_str(), escaped(out.error()).c_str());
    }
    return false;
}

// The notes of the two formulas, once, before anything is written: the constants are known, the
// values change as the run goes. False when --strict makes a note a failure.
bool checkFormulas(const RunRequest& request) {
    const RunSettings& settings = request.runFile.settings;
    FormulaTexts texts;
    for (std::size_t i = 0; i < settings.initialValues.size(); ++i)
        texts.values[i] = settings.initialValues[i];
    for (std::size_t i = 0; i < settings.constants.size(); ++i)
        texts.constants[i] = settings.constants[i];
    NoteOptions options;
    options.texts = &texts;
    FormulaWarnings warnings("run", request.quiet, request.strict);
    const struct {
        const std::string& formula;
        const std::string& source;
        std::string_view unnamed;
    } formulas[] = {{settings.firstFormula, request.firstSource, "the first formula"},
                    {settings.secondFormula, request.secondSource, "the second formula"}};
    std::vector<std::string> noted;
    for (const auto& f : formulas) {
        const std::string name = f.source.empty() ? std::string(f.unnamed) : f.source;
        if (warnings.check(
                f.formula, [&] { return name + " " + quotedFormula(f.formula); }, options)) {
            noted.push_back(name);
        }
    }
    if (!request.strict || noted.empty()) return true;
    const bool one = noted.size() == 1;
    const std::string_view verb = readDifferently(noted.size());
    std::fprintf(stderr, "kurvilo-cli run: --strict: %s%s%s %.*s; nothing was run or written\n",
                 noted[0].c_str(), one ? "" : " and ", one ? "" : noted[1].c_str(),
                 int(verb.size()), verb.data());
    return false;
}

int execute(const RunRequest& request) {
    if (!request.saveRunPath.empty() && !saveRunFile(request)) return 1;
    if (!request.ticks) return 0;
    const std::uint64_t ticks = *request.ticks;
    RunModel& model = *request.model;
    // Caught from before the first temporary file is made until the last is in place.
    Interruption interruption;
    RunOutputs outputs(request.outputs);
    if (!outputs.open(model.graphMode)) return 1;

    Progress progress(ticks, request.progress.value_or(
                                 progressWanted(anyOutputToStandardOutput(request.outputs))));
    InterruptibleEvaluator evaluator(interruption);
    startAction(model);
    // The run as it runs: the start action has zeroed the centre of an axis without zoom.
    RunFile ran = request.runFile;
    ran.settings = settingsOf(model, decimalSeparator());
    outputs.setRunFile(std::move(ran));
    int status = 0;
    bool failedTick = false;
    std::uint64_t completed = 0;
    while (completed < ticks && !outputs.stopped() && interruption.signal() == 0) {
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
        const CommandLine line = parseCommandLine(kRunOptions, args, true);
        if (const int answered = answerHelpOrVersion(runCommand(), line); answered >= 0) {
            return answered;
        }
        const RunRequest request = readRunOptions(line);
        if (!checkFormulas(request)) return kExitNotes;
        return execute(request);
    } catch (const UsageError& error) {
        return reportUsageError("run", error.what());
    } catch (const RefusedFile& refused) {
        std::fprintf(stderr, "kurvilo-cli run: %s\n", escaped(refused.what()).c_str());
        return kExitUsage;
    }
}

}  // namespace

}  // namespace kurvilo::cli

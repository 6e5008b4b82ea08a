// kurvilo-cli run: the window's run without the window. The start action, then N ticks of the
// same tick driver, with the value lists written to a trace and the picture to a BMP file.
#include <unistd.h>

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "numbers/integer_text.h"
#include "sim/plot_surface.h"
#include "sim/tick.h"

#ifdef KURVILO_BUILD_GUI
#include <QImage>
#include <QImageWriter>
#include <QString>
#endif

namespace kurvilo::cli {

namespace {

constexpr const char* kRunUsage =
    "usage: kurvilo-cli run --mode M --ticks N [--f1 F] [--f2 F]\n"
    "                       [--vx0 T] [--x0 T] [--vy0 T] [--y0 T]\n"
    "                       [--step 1/10|1/100|1/1000] [--range-x 2|20|200] [--range-y 2|20|200]\n"
    "                       [--zoom-x CENTRE,HALF] [--zoom-y CENTRE,HALF]\n"
    "                       [--a T] [--b T] [--c T] [--d T]\n"
    "                       [--separator C] [--trace FILE|-] [--bmp FILE]\n"
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
    "  --separator C   the decimal separator (default: the locale's decimal point)\n"
    "  --trace FILE    TSV, one row per completed tick: tick, the five values, px, py;\n"
    "                  \"-\" for standard output\n"
    "  --bmp FILE      the picture at the end, 401 x 401, as a Windows bitmap\n"
    "Options may also be written --name=VALUE.\n"
    "\n"
    "A failed tick ends the run as in the window: \"\xE3\x82\xA8\xE3\x83\xA9\xE3\x83\xBC\", the "
    "tick, "
    "the failure's\n"
    "kind and message go to standard error and the picture is still written.\n"
    "Exit status: 0 all N ticks ran, 1 a tick failed or the picture could not be written,\n"
    "2 bad arguments.\n";

int usageError(const std::string& message) {
    std::fprintf(stderr, "kurvilo-cli run: %s\n\n%s", message.c_str(), kRunUsage);
    return 2;
}

bool parseMode(const std::string& text, int& mode) {
    static constexpr const char* kNames[] = {"cartesian-motion", "polar-motion", "cartesian-curve",
                                             "polar-curve"};
    for (int i = 0; i < 4; ++i) {
        if (text == kNames[i] || text == std::to_string(i)) {
            mode = i;
            return true;
        }
    }
    return false;
}

bool parseCount(const std::string& text, std::uint64_t& count) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    return error == std::errc() && end == text.data() + text.size();
}

// "1/10", "1/100", "1/1000" to ComboBox2's items.
bool parseStep(const std::string& text, int& item) {
    if (text == "1/10")
        item = 0;
    else if (text == "1/100")
        item = 1;
    else if (text == "1/1000")
        item = 2;
    else
        return false;
    return true;
}

// "2", "20", "200" to the items of ComboBox3 and ComboBox4.
bool parseRange(const std::string& text, int& item) {
    if (text == "2")
        item = 0;
    else if (text == "20")
        item = 1;
    else if (text == "200")
        item = 2;
    else
        return false;
    return true;
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

bool writeBmp(const PlotSurface& surface, const std::string& path, std::string& error) {
#ifdef KURVILO_BUILD_GUI
    // The surface's buffer is already 0xAARRGGBB rows without padding: Qt reads it in place.
    const QImage image(reinterpret_cast<const uchar*>(surface.data()), PlotSurface::kSize,
                       PlotSurface::kSize, PlotSurface::bytesPerLine(), QImage::Format_RGB32);
    QImageWriter writer(QString::fromStdString(path), "bmp");
    if (writer.write(image)) return true;
    error = writer.errorString().toStdString();
    return false;
#else
    (void)surface;
    (void)path;
    error = "this build has no image writer";
    return false;
#endif
}

struct RunOptions {
    bool haveMode = false;
    bool haveTicks = false;
    std::uint64_t ticks = 0;
    std::string tracePath;
    std::string bmpPath;
};

}  // namespace

int runRun(const std::vector<std::string>& args) {
    separatorFromLocale();
    auto model = std::make_unique<RunModel>();  // the surface alone is 643 kB
    model->constants = {"0", "0", "0", "0"};
    RunOptions options;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        LongOption option;
        if (!splitLongOption(arg, option)) return usageError("unexpected argument '" + arg + "'");
        const std::string& name = option.name;
        std::string& value = option.value;
        const bool hasValue = option.hasValue;
        if (name == "help") {
            std::fputs(kRunUsage, stdout);
            return 0;
        }
        if (!hasValue) {
            if (i + 1 >= args.size()) return usageError("--" + name + " needs a value");
            value = args[++i];
        }

        if (name == "mode") {
            if (!parseMode(value, model->graphMode)) {
                return usageError(
                    "--mode must be 0..3, cartesian-motion, polar-motion, "
                    "cartesian-curve or polar-curve");
            }
            options.haveMode = true;
        } else if (name == "ticks") {
            if (!parseCount(value, options.ticks)) {
                return usageError("--ticks must be a whole number, 0 or more");
            }
            options.haveTicks = true;
        } else if (name == "f1") {
            model->edit1 = value;
        } else if (name == "f2") {
            model->edit2 = value;
        } else if (name == "vx0" || name == "vtheta0") {
            model->labeledEdit15 = value;
        } else if (name == "x0" || name == "theta0") {
            model->labeledEdit16 = value;
        } else if (name == "vy0" || name == "vr0") {
            model->labeledEdit12 = value;
        } else if (name == "y0" || name == "r0") {
            model->labeledEdit13 = value;
        } else if (name == "step") {
            if (!parseStep(value, model->comboBox2)) {
                return usageError("--step must be 1/10, 1/100 or 1/1000");
            }
        } else if (name == "range-x" || name == "range-y") {
            int& item = name == "range-x" ? model->comboBox4 : model->comboBox3;
            if (!parseRange(value, item)) return usageError("--" + name + " must be 2, 20 or 200");
        } else if (name == "zoom-x") {
            if (!parseZoom(value, model->checkBox1, model->spinEdit1, model->spinEdit2)) {
                return usageError(
                    "--zoom-x needs CENTRE,HALF with CENTRE in -200..200 and "
                    "HALF in 1..100");
            }
        } else if (name == "zoom-y") {
            if (!parseZoom(value, model->checkBox2, model->spinEdit3, model->spinEdit4)) {
                return usageError(
                    "--zoom-y needs CENTRE,HALF with CENTRE in -200..200 and "
                    "HALF in 1..100");
            }
        } else if (name.size() == 1 && name[0] >= 'a' && name[0] <= 'd') {
            model->constants[static_cast<std::size_t>(name[0] - 'a')] = value;
        } else if (name == "separator") {
            if (!setSeparatorOption(value)) {
                return usageError(
                    "--separator needs exactly one character that is not a digit, "
                    "blank, sign or exponent letter");
            }
        } else if (name == "trace") {
            if (value.empty()) return usageError("--trace needs a file name or -");
            options.tracePath = value;
        } else if (name == "bmp") {
            if (value.empty()) return usageError("--bmp needs a file name");
#ifndef KURVILO_BUILD_GUI
            return usageError("--bmp is not available: this build has no image writer");
#endif
            options.bmpPath = value;
        } else {
            return usageError("unknown option '" + arg + "'");
        }
    }
    if (!options.haveMode) return usageError("--mode is required");
    if (!options.haveTicks) return usageError("--ticks is required");

    std::FILE* trace = nullptr;
    if (options.tracePath == "-") {
        trace = stdout;
    } else if (!options.tracePath.empty()) {
        trace = std::fopen(options.tracePath.c_str(), "wb");
        if (trace == nullptr) {
            return usageError("cannot write the trace file '" + options.tracePath + "'");
        }
    }
    std::string traceText;
    if (trace != nullptr) traceText = "tick\tvx\tx\tvy\ty\tt\tpx\tpy\n";

    const bool showProgress = isatty(STDERR_FILENO) != 0 && options.ticks >= 10000;
    constexpr std::uint64_t kProgressEvery = 1 << 14;

    paintStartupFrame(model->surface);
    startAction(*model);
    int status = 0;
    for (std::uint64_t tick = 1; tick <= options.ticks; ++tick) {
        if (!Timer1Timer(*model)) {
            if (showProgress) std::fputs("\n", stderr);
            std::fprintf(stderr, "%s: tick %llu: %s: %s\n", model->label3.c_str(),
                         static_cast<unsigned long long>(tick), model->lastFailure->kind.c_str(),
                         model->lastFailure->message.c_str());
            status = 1;
            break;
        }
        if (trace != nullptr) {
            appendTraceRow(traceText, tick, *model);
            if (traceText.size() >= (1 << 16)) {
                std::fwrite(traceText.data(), 1, traceText.size(), trace);
                traceText.clear();
            }
        }
        if (showProgress && (tick % kProgressEvery == 0 || tick == options.ticks)) {
            std::fprintf(stderr, "\rkurvilo-cli run: tick %llu of %llu",
                         static_cast<unsigned long long>(tick),
                         static_cast<unsigned long long>(options.ticks));
            if (tick == options.ticks) std::fputs("\n", stderr);
        }
    }
    if (status == 0) stopAction(*model);

    if (trace != nullptr) {
        std::fwrite(traceText.data(), 1, traceText.size(), trace);
        const bool ok = std::fflush(trace) == 0 && (trace == stdout || std::fclose(trace) == 0);
        if (!ok) {
            std::fprintf(stderr, "kurvilo-cli run: could not write the trace '%s'\n",
                         options.tracePath.c_str());
            status = 1;
        }
    }
    if (!options.bmpPath.empty()) {
        std::string error;
        if (!writeBmp(model->surface, options.bmpPath, error)) {
            std::fprintf(stderr, "kurvilo-cli run: could not write '%s': %s\n",
                         options.bmpPath.c_str(), error.c_str());
            status = 1;
        }
    }
    return status;
}

}  // namespace kurvilo::cli

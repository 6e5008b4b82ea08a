// SPDX-License-Identifier: MIT
// The main of the benchmark programs: Google Benchmark's own run and console output, followed by
// two summaries worked out from the same run:
//   - for every job with an anchor (a benchmark named like it plus "_muparser", the same job done
//     with muparser, the expression library a C++ developer would reach for), the ratio of the
//     two times, as a user comparing them would see it;
//   - for every job run over sizes ("BM_Name/1000", "BM_Name/10000", ...), the exponent k of the
//     least-squares fit time ~ size^k: 1 for work that grows linearly with the input.
// With repetitions the medians are compared; otherwise the single runs.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

class SummaryReporter : public benchmark::ConsoleReporter {
  public:
    // Colours only on a terminal, as Google Benchmark's own main decides.
    SummaryReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Aggregate && !median) continue;
            std::string name = run.run_name.function_name;
            if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
            const double seconds = run.GetAdjustedRealTime() * unitSeconds(run.time_unit);
            // A median replaces the single runs it summarises.
            if (median) {
                times_[name] = seconds;
                medians_.insert(name);
            } else if (medians_.count(name) == 0) {
                times_[name] = seconds;
            }
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        printRatios();
        printExponents();
    }

  private:
    static double unitSeconds(benchmark::TimeUnit unit) {
        switch (unit) {
            case benchmark::kNanosecond:
                return 1e-9;
            case benchmark::kMicrosecond:
                return 1e-6;
            case benchmark::kMillisecond:
                return 1e-3;
            case benchmark::kSecond:
                return 1.0;
        }
        return 1e-9;
    }

    void printRatios() const {
        bool header = false;
        for (const auto& [name, seconds] : times_) {
            const auto anchor = times_.find(name + "_muparser");
            if (anchor == times_.end() || anchor->second <= 0) continue;
            if (!header)
                std::printf("\n%-44s %12s %12s %8s\n", "job", "kurvilo", "muparser", "ratio");
            header = true;
            std::printf("%-44s %12s %12s %7.1fx\n", name.c_str(), format(seconds).c_str(),
                        format(anchor->second).c_str(), seconds / anchor->second);
        }
    }

    void printExponents() const {
        // Families: the names with a numeric last part.
        std::map<std::string, std::vector<std::pair<double, double>>> families;
        for (const auto& [name, seconds] : times_) {
            const auto slash = name.rfind('/');
            if (slash == std::string::npos || seconds <= 0) continue;
            char* end = nullptr;
            const double size = std::strtod(name.c_str() + slash + 1, &end);
            if (end == name.c_str() + slash + 1 || *end != '\0' || size <= 0) continue;
            families[name.substr(0, slash)].push_back({std::log(size), std::log(seconds)});
        }
        bool header = false;
        for (const auto& [family, points] : families) {
            if (points.size() < 3) continue;
            double mx = 0, my = 0;
            for (const auto& [x, y] : points) {
                mx += x;
                my += y;
            }
            mx /= double(points.size());
            my /= double(points.size());
            double sxy = 0, sxx = 0;
            for (const auto& [x, y] : points) {
                sxy += (x - mx) * (y - my);
                sxx += (x - mx) * (x - mx);
            }
            if (!header) std::printf("\n%-44s %s\n", "grows with the size as", "exponent");
            header = true;
            std::printf("%-44s %8.2f\n", family.c_str(), sxx > 0 ? sxy / sxx : 0.0);
        }
    }

    static std::string format(double seconds) {
        char text[32];
        if (seconds >= 1) {
            std::snprintf(text, sizeof text, "%.3f s", seconds);
        } else if (seconds >= 1e-3) {
            std::snprintf(text, sizeof text, "%.3f ms", seconds * 1e3);
        } else if (seconds >= 1e-6) {
            std::snprintf(text, sizeof text, "%.3f us", seconds * 1e6);
        } else {
            std::snprintf(text, sizeof text, "%.1f ns", seconds * 1e9);
        }
        return text;
    }

    std::map<std::string, double> times_;
    std::set<std::string> medians_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

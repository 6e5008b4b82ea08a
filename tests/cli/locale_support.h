// SPDX-License-Identifier: MIT
// A German locale (de_DE.UTF-8, whose decimal point is ","), for running the tool the way a user
// there does. The system's when it has one; otherwise made once with localedef into the build
// folder and found through LOCPATH, which needs no root. When neither can be had the test says
// so and is skipped, never passed.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "cli_runner.h"

namespace kurvilo::testing {

// What to put before a command so that it runs in the German locale; empty when there is none
// (why in reason).
inline std::string germanLocale(std::string& reason) {
    static const std::string prefix = [] {
        if (runShell("locale -a | grep -qix 'de_DE.utf8'").status == 0) {
            return std::string("LC_ALL=de_DE.UTF-8 ");
        }
        const std::string folder = KURVILO_TEST_LOCALES;
        const std::string made = folder + "/de_DE.UTF-8";
        if (!std::filesystem::exists(made + "/LC_NUMERIC")) {
            // Made beside and renamed into place: test processes running at once never see half.
            std::filesystem::create_directories(folder);
            const std::string scratch = made + ".making." + std::to_string(getpid());
            const CliResult r =
                runShell("localedef -i de_DE -f UTF-8 " + shellQuote(scratch) + " >/dev/null 2>&1");
            std::error_code ignored;
            if (r.status == 0) std::filesystem::rename(scratch, made, ignored);
            std::filesystem::remove_all(scratch, ignored);
        }
        if (!std::filesystem::exists(made + "/LC_NUMERIC")) return std::string();
        return "LOCPATH=" + shellQuote(folder) + " LC_ALL=de_DE.UTF-8 ";
    }();
    reason = prefix.empty() ? "no de_DE.UTF-8 locale, and localedef cannot make one (install "
                              "the locales package)"
                            : "";
    return prefix;
}

// The German locale's prefix, or a skip of the test that says why.
#define KURVILO_GERMAN_LOCALE_OR_SKIP(prefix)              \
    std::string prefix;                                    \
    {                                                      \
        std::string reason;                                \
        prefix = ::kurvilo::testing::germanLocale(reason); \
        if (prefix.empty()) GTEST_SKIP() << reason;        \
    }

}  // namespace kurvilo::testing

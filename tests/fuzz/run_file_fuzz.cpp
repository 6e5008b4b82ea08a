// SPDX-License-Identifier: MIT
// libFuzzer harness for the run-file reader. The input is the text of a run file. It is either
// read or refused with one line that names the file; a file that is read is written again, and the
// written text must read back as the same run file (and be written the same way again). Anything
// else, a crash, a sanitizer report or an exception is a finding.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>

#include "runfile/run_file.h"

namespace {

[[noreturn]] void finding(const char* what, std::string_view detail) {
    std::fprintf(stderr, "finding: %s: %.*s\n", what, static_cast<int>(detail.size()),
                 detail.data());
    std::abort();
}

constexpr std::string_view kName = "fuzz.kurvilo";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const kurvilo::RunFileRead read = kurvilo::parseRunFile(text, kName);
        if (!read.file) {
            const std::string message = read.error.message();
            if (!message.starts_with(kName))
                finding("a refusal that does not name the file", message);
            if (message.find('\n') != std::string::npos || message.find('\r') != std::string::npos)
                finding("a refusal of more than one line", message);
            if (read.error.what.empty()) finding("a refusal that says nothing", message);
            return 0;
        }
        const std::string problem = kurvilo::runFileProblem(*read.file);
        // What was read from a UTF-8 file is UTF-8, so it can always be written.
        if (!problem.empty()) finding("a file read that cannot be written", problem);
        const std::string written = kurvilo::formatRunFile(*read.file);
        const kurvilo::RunFileRead again = kurvilo::parseRunFile(written, kName);
        if (!again.file) finding("a written file that is refused", again.error.message());
        if (!(*again.file == *read.file)) finding("a written file that reads differently", written);
        if (kurvilo::formatRunFile(*again.file) != written)
            finding("a file written differently the second time", written);
    } catch (const std::exception& e) {
        finding("an exception", e.what());
    }
    return 0;
}

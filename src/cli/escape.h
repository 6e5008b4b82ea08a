// SPDX-License-Identifier: MIT
// Keeping output one line per case: the characters that would break a line or a TSV field, or
// end a C string, are written as "\n", "\r", "\t" and "\0".
#pragma once

#include <string>
#include <string_view>

namespace kurvilo::cli {

// Appends text (UTF-8) with "\n", "\r", "\t" and "\0" escaped.
void appendEscaped(std::string& out, std::string_view text);
std::string escaped(std::string_view text);

}  // namespace kurvilo::cli

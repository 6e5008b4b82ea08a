// UTF-8 <-> UTF-32 conversion. Texts enter and leave the program as UTF-8; code that needs one
// unit per character ("π", "θ", "Σ", a decimal separator outside ASCII) works on UTF-32.
#pragma once

#include <string>
#include <string_view>

namespace kurvilo {

// Malformed bytes decode to U+FFFD, one per byte, so no input is rejected here.
void appendUtf32(std::u32string& out, std::string_view utf8);
std::u32string toUtf32(std::string_view utf8);

void appendUtf8(std::string& out, char32_t c);
void appendUtf8(std::string& out, std::u32string_view text);
std::string toUtf8(std::u32string_view text);

}  // namespace kurvilo

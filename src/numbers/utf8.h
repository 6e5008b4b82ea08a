// UTF-8 <-> UTF-32 conversion. Texts enter and leave the program as UTF-8; code that needs one
// unit per character ("π", "θ", "Σ", a decimal separator outside ASCII) works on UTF-32.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kurvilo {

// A byte that is not part of valid UTF-8 decodes to U+DC80 + byte (a lone surrogate, which
// valid input never holds) and encodes back to the same byte: no text is rejected or altered.
void appendUtf32(std::u32string& out, std::string_view utf8);
// The same, but gives up (false, out then holds a part) once out would grow beyond limit units.
bool appendUtf32(std::u32string& out, std::string_view utf8, std::size_t limit);
std::u32string toUtf32(std::string_view utf8);

void appendUtf8(std::string& out, char32_t c);
void appendUtf8(std::string& out, std::u32string_view text);
std::string toUtf8(std::u32string_view text);

}  // namespace kurvilo

// SPDX-License-Identifier: MIT
// Signed 32-bit integers as text: the integer text, the integer parse (decimal, and hexadecimal
// after "$", "x", "X", "0x" or "0X") and the reading of an integer spin control.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kurvilo {

std::string integerText(std::int32_t n);
void appendIntegerText(std::u32string& out, std::int32_t n);

// EConvertError ("'%s' is not a valid integer value") for anything that is not a 32-bit integer.
std::int32_t parseInteger(std::string_view text);
std::int32_t parseInteger(std::u32string_view text);
bool tryParseInteger(std::u32string_view text, std::int32_t& value) noexcept;
bool tryParseInteger(std::string_view text, std::int32_t& value) noexcept;

// A spin control's text by the integer parse; when that fails, the control's minimum.
std::int32_t readSpinControl(std::string_view text, std::int32_t minimum) noexcept;

}  // namespace kurvilo

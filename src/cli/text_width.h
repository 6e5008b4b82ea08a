// SPDX-License-Identifier: MIT
// How many terminal columns a UTF-8 text takes: one a character, two for the wide characters of
// East Asian scripts. For laying out help texts.
#pragma once

#include <cstddef>
#include <string_view>

namespace kurvilo::cli {

std::size_t displayWidth(std::string_view utf8);

}  // namespace kurvilo::cli

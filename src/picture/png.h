// SPDX-License-Identifier: MIT
// The PNG of a picture through libpng: 8-bit RGB, not interlaced, with its resolution and any
// number of text chunks (key and value; a value that is plain ASCII goes in a tEXt chunk, any
// other UTF-8 text in an iTXt chunk). Nothing in the file depends on the time or the machine, so
// the same picture always gives the same bytes.
#pragma once

#include <span>
#include <string>

#include "picture/bmp.h"
#include "picture/image.h"
#include "picture/output_file.h"

namespace kurvilo {

struct PngText {
    std::string key;    // 1 to 79 printable Latin-1 characters, no leading, trailing or double
                        // blanks (what PNG allows)
    std::string value;  // UTF-8, without NUL
};

// Writes the whole file to sink. False when the text chunks cannot be written as given or the
// encoder fails (error says why) or the sink failed.
bool writePng(const ImageView& picture, ByteSink& sink, std::string& error,
              std::span<const PngText> texts = {}, const PixelDensity& density = {});

// Why a key or value cannot be written; empty when it can.
std::string pngTextProblem(const PngText& text);

}  // namespace kurvilo

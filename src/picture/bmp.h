// SPDX-License-Identifier: MIT
// The Windows bitmap of a picture: 24 bits per pixel, uncompressed, rows bottom to top, each
// padded to four bytes, with a BITMAPINFOHEADER. The format is fixed and small, so it is written
// here rather than through a library.
#pragma once

#include <string>

#include "picture/image.h"

namespace kurvilo {

// The resolution a picture file states, in dots per metre. Nothing depends on it; by default the
// files say 100 dots per inch, as they always have.
struct PixelDensity {
    int dotsPerMeterX = 3937;
    int dotsPerMeterY = 3937;
};

// The whole file.
std::string encodeBmp(const ImageView& picture, const PixelDensity& density = {});

}  // namespace kurvilo

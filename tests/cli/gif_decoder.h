// SPDX-License-Identifier: MIT
// A GIF read back two ways: with giflib's decoder, composing each frame's rectangle onto the
// canvas as the file says (transparency, "do not dispose"), and with Qt's image reader.
#pragma once

#include <gif_lib.h>

#include <QImage>
#include <QImageReader>
#include <QRect>
#include <string>
#include <vector>

namespace kurvilo::testing {

struct DecodedGif {
    bool ok = false;
    std::string version;  // "GIF89a"
    int width = 0;
    int height = 0;
    int loopCount = -1;          // from the NETSCAPE2.0 block; -1 when there is none
    bool globalTable = false;    // whether the file has a global colour table
    std::vector<QImage> frames;  // the whole canvas after each frame, Format_RGB32
    std::vector<QRect> rects;    // each frame's own rectangle
    std::vector<int> delays;     // 1/100 s
    std::vector<int> disposals;
    std::vector<int> tableSizes;  // each frame's colour table
};

inline DecodedGif decodeWithGiflib(const std::string& path) {
    DecodedGif decoded;
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (gif == nullptr) return decoded;
    if (DGifSlurp(gif) != GIF_OK) {
        DGifCloseFile(gif, &error);
        return decoded;
    }
    decoded.version = EGifGetGifVersion(gif);
    decoded.width = gif->SWidth;
    decoded.height = gif->SHeight;
    decoded.globalTable = gif->SColorMap != nullptr;
    QImage canvas(gif->SWidth, gif->SHeight, QImage::Format_RGB32);
    canvas.fill(0xFF000000);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        for (int b = 0; b + 1 < image.ExtensionBlockCount; ++b) {
            const ExtensionBlock& block = image.ExtensionBlocks[b];
            if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11 &&
                std::string(reinterpret_cast<const char*>(block.Bytes), 11) == "NETSCAPE2.0") {
                const ExtensionBlock& data = image.ExtensionBlocks[b + 1];
                if (data.ByteCount == 3 && data.Bytes[0] == 1)
                    decoded.loopCount = data.Bytes[1] | data.Bytes[2] << 8;
            }
        }
        GraphicsControlBlock control{};
        control.TransparentColor = NO_TRANSPARENT_COLOR;
        DGifSavedExtensionToGCB(gif, i, &control);
        const GifImageDesc& desc = image.ImageDesc;
        const ColorMapObject* map = desc.ColorMap != nullptr ? desc.ColorMap : gif->SColorMap;
        if (map == nullptr) {
            DGifCloseFile(gif, &error);
            return decoded;
        }
        for (int y = 0; y < desc.Height; ++y) {
            for (int x = 0; x < desc.Width; ++x) {
                const int index = image.RasterBits[y * desc.Width + x];
                if (index == control.TransparentColor) continue;
                if (index >= map->ColorCount) continue;
                const GifColorType c = map->Colors[index];
                canvas.setPixel(desc.Left + x, desc.Top + y, qRgb(c.Red, c.Green, c.Blue));
            }
        }
        decoded.frames.push_back(canvas.copy());
        decoded.rects.emplace_back(desc.Left, desc.Top, desc.Width, desc.Height);
        decoded.delays.push_back(control.DelayTime);
        decoded.disposals.push_back(control.DisposalMode);
        decoded.tableSizes.push_back(map->ColorCount);
    }
    decoded.ok = true;
    DGifCloseFile(gif, &error);
    return decoded;
}

// Every frame as Qt's reader composes it, Format_RGB32.
inline std::vector<QImage> decodeWithQt(const std::string& path) {
    std::vector<QImage> frames;
    QImageReader reader(QString::fromStdString(path), "gif");
    for (;;) {
        const QImage frame = reader.read();
        if (frame.isNull()) break;
        frames.push_back(frame.convertToFormat(QImage::Format_RGB32));
    }
    return frames;
}

}  // namespace kurvilo::testing

// SPDX-License-Identifier: MIT
// Pictures out of kurvilo-cli run, through Qt: the picture as the window shows it (surface and
// marker), files that are written whole or not at all (QSaveFile), single pictures in any format
// Qt's image writer has, and a folder of numbered PNG frames. Every failure keeps its cause.
#pragma once

#include <QImage>
#include <memory>
#include <string>

#include "sim/plot_surface.h"
#include "sim/tick.h"

class QFile;
class QFileDevice;
class QIODevice;
class QSaveFile;

namespace kurvilo::cli {

// The surface's own pixels, not copied: valid while the surface lives and is not drawn on.
QImage surfaceImage(const PlotSurface& surface);
// The 8 × 8 marker as the window paints Shape1: an antialiased red circle on transparency.
const QImage& markerImage();
// The surface with the marker composited where Shape1 stands (left/top are window coordinates,
// the surface starts at (4, 4)); the surface alone when the marker is hidden. Format_RGB32.
QImage windowPicture(const PlotSurface& surface, const MarkerState& marker);

// The file name's suffix in lower case, without the dot ("png" for "a/b.PNG"); empty when it
// has none.
std::string fileSuffix(const std::string& path);
// Whether Qt's image writer has the format ("png", "bmp", "jpg", ...).
bool imageWriterHas(const std::string& format);
// Whether the suffix names an image format Qt reads or writes.
bool namesImageFormat(const std::string& suffix);
// The formats Qt's image writer has, "bmp, jpeg, png, ...", for messages.
std::string imageWriterFormats();

// Writes all of data. A short write is no failure yet: only the next one tells why ("No space
// left on device"), and a file committed after it would silently be cut short.
bool writeAll(QIODevice& device, const char* data, qint64 size, std::string& cause);

// A file that gets either its whole new content or keeps its old one: a temporary file beside
// it, renamed over it by commit(). A path that exists and is not a regular file (a device, a
// pipe) is written directly, since nothing can be renamed over it.
class SafeFile {
  public:
    SafeFile();
    ~SafeFile();  // without commit() the temporary file goes and the old file stays

    bool open(const std::string& path);
    QFileDevice& device();
    bool commit();
    const std::string& path() const noexcept { return path_; }
    // The cause of the last failure.
    const std::string& error() const noexcept { return error_; }
    // Records a failure found while writing the device's content.
    void fail(const std::string& cause);

  private:
    std::string path_;
    std::string error_;
    std::unique_ptr<QSaveFile> save_;
    std::unique_ptr<QFile> direct_;
};

// One picture, opened before the run and written at its end.
class PictureFile {
  public:
    bool open(const std::string& path, const std::string& format);
    bool write(const QImage& image);
    const std::string& path() const noexcept { return file_.path(); }
    const std::string& error() const noexcept { return file_.error(); }

  private:
    SafeFile file_;
    std::string format_;
};

// DIR/frame-000001.png, DIR/frame-000002.png, ...
class FrameFolder {
  public:
    // The folder exists and a file can be made in it.
    bool open(const std::string& folder);
    bool write(const QImage& frame);
    // The folder, or the frame that failed.
    const std::string& path() const noexcept { return path_; }
    const std::string& error() const noexcept { return error_; }
    std::uint64_t written() const noexcept { return written_; }

  private:
    std::string folder_;
    std::string path_;
    std::string error_;
    std::uint64_t written_ = 0;
};

}  // namespace kurvilo::cli

// SPDX-License-Identifier: MIT
#include "cli/image_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace kurvilo::cli {

namespace {

QString qtPath(const std::string& path) {
    return QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size()));
}

bool hasFormat(const QList<QByteArray>& formats, const std::string& format) {
    for (const QByteArray& f : formats) {
        if (f.toStdString() == format) return true;
    }
    return false;
}

}  // namespace

QImage surfaceImage(const PlotSurface& surface) {
    // The buffer is 0xAARRGGBB rows without padding: Qt reads it in place.
    return QImage(reinterpret_cast<const uchar*>(surface.data()), PlotSurface::kSize,
                  PlotSurface::kSize, PlotSurface::bytesPerLine(), QImage::Format_RGB32);
}

const QImage& markerImage() {
    static const QImage marker = [] {
        QImage image(8, 8, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::red);
        painter.setBrush(Qt::red);
        painter.drawEllipse(QRectF(0, 0, 8, 8).adjusted(0.5, 0.5, -0.5, -0.5));
        return image;
    }();
    return marker;
}

QImage windowPicture(const PlotSurface& surface, const MarkerState& marker) {
    QImage picture = surfaceImage(surface).copy();
    if (marker.visible) {
        QPainter painter(&picture);
        painter.drawImage(marker.left - 4, marker.top - 4, markerImage());
    }
    return picture;
}

std::string fileSuffix(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    if (dot == (slash == std::string::npos ? 0 : slash + 1)) return {};  // ".hidden"
    std::string suffix = path.substr(dot + 1);
    for (char& c : suffix) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return suffix;
}

bool imageWriterHas(const std::string& format) {
    return !format.empty() && hasFormat(QImageWriter::supportedImageFormats(), format);
}

bool namesImageFormat(const std::string& suffix) {
    return imageWriterHas(suffix) ||
           (!suffix.empty() && hasFormat(QImageReader::supportedImageFormats(), suffix));
}

std::string imageWriterFormats() {
    std::string list;
    for (const QByteArray& f : QImageWriter::supportedImageFormats()) {
        if (!list.empty()) list += ", ";
        list += f.toStdString();
    }
    return list;
}

bool writeAll(QIODevice& device, const char* data, qint64 size, std::string& cause) {
    while (size > 0) {
        const qint64 n = device.write(data, size);
        if (n <= 0) {
            cause = device.errorString().toStdString();
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

SafeFile::SafeFile() = default;
SafeFile::~SafeFile() = default;

bool SafeFile::open(const std::string& path) {
    path_ = path;
    error_.clear();
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)) {
        direct_ = std::make_unique<QFile>(qtPath(path));
        if (direct_->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return true;
        error_ = direct_->errorString().toStdString();
        return false;
    }
    // Qt words this case in its own way; the system's cause is the clearer one.
    if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0) {
        error_ = std::strerror(errno);
        return false;
    }
    save_ = std::make_unique<QSaveFile>(qtPath(path));
    // Unbuffered: a write that runs out of room then fails at once with the system's cause.
    if (save_->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return true;
    error_ = save_->errorString().toStdString();
    return false;
}

QFileDevice& SafeFile::device() {
    if (direct_) return *direct_;
    return *save_;
}

void SafeFile::fail(const std::string& cause) {
    if (error_.empty()) error_ = cause;
    if (save_) save_->cancelWriting();
}

bool SafeFile::commit() {
    if (!error_.empty()) return false;
    if (direct_) {
        const bool flushed = direct_->flush();
        const bool ok = flushed && direct_->error() == QFileDevice::NoError;
        if (!ok) error_ = direct_->errorString().toStdString();
        direct_->close();
        return ok;
    }
    // commit() closes the file, which forgets the cause of a failed last write: flush first.
    if (!save_->flush()) {
        fail(save_->errorString().toStdString());
        return false;
    }
    if (save_->commit()) return true;
    error_ = save_->errorString().toStdString();
    return false;
}

bool PictureFile::open(const std::string& path, const std::string& format) {
    format_ = format;
    return file_.open(path);
}

bool PictureFile::write(const QImage& image) {
    // Encoded in memory first, so that a failure of the file is told apart from one of the
    // encoder, each with its own cause.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, QByteArray::fromStdString(format_));
    if (!writer.write(image)) {
        file_.fail(writer.errorString().toStdString());
        return false;
    }
    std::string cause;
    if (!writeAll(file_.device(), bytes.constData(), bytes.size(), cause)) {
        file_.fail(cause);
        return false;
    }
    return file_.commit();
}

bool FrameFolder::open(const std::string& folder) {
    folder_ = folder;
    path_ = folder;
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        error_ = std::strerror(errno);
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        error_ = std::strerror(ENOTDIR);
        return false;
    }
    // Only making a file shows that one can be made (root passes every permission check).
    std::string probe = folder + "/.kurvilo-cli-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0) {
        error_ = std::strerror(errno);
        return false;
    }
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

bool FrameFolder::write(const QImage& frame) {
    char name[32];
    std::snprintf(name, sizeof name, "/frame-%06llu.png",
                  static_cast<unsigned long long>(written_ + 1));
    path_ = folder_ + name;
    PictureFile file;
    if (!file.open(path_, "png") || !file.write(frame)) {
        error_ = file.error();
        return false;
    }
    ++written_;
    return true;
}

}  // namespace kurvilo::cli

// SPDX-License-Identifier: MIT
#include "ui/picture_file.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <cerrno>
#include <cstring>

#include "picture/bmp.h"
#include "picture/output_file.h"

namespace kurvilo {

namespace {

// The cause in Japanese for the common failures; the system's own text for the others.
QString causeOf(const QFileInfo& target, const OutputFile& file) {
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir()) return QStringLiteral("保存先のフォルダーがありません");
    const int code = file.errorCode();
    if (code == ENOSPC || code == EDQUOT) return QStringLiteral("ディスクの空き容量が足りません");
    if (code == EACCES || code == EPERM || code == EROFS)
        return QStringLiteral("書き込む権限がありません");
    return QString::fromLocal8Bit(file.error());
}

QString failureMessage(const QString& fileName, const QString& cause) {
    return QStringLiteral("%1 に保存できませんでした（%2）。")
        .arg(QDir::toNativeSeparators(fileName), cause);
}

}  // namespace

QString saveFile(const QString& fileName, const std::function<std::string(ByteSink&)>& fill) {
    OutputFile file;
    if (file.openFile(QFile::encodeName(fileName).toStdString())) {
        if (std::string cause = fill(file); !cause.empty() && !file.failed())
            file.fail(std::move(cause));
        if (file.close()) return {};
    }
    return failureMessage(fileName, causeOf(QFileInfo(fileName), file));
}

QString savePicture(const QImage& picture, const QString& fileName) {
    const QImage pixels = picture.convertToFormat(QImage::Format_RGB32);
    const ImageView view{reinterpret_cast<const std::uint32_t*>(pixels.constBits()), pixels.width(),
                         pixels.height(), static_cast<std::size_t>(pixels.bytesPerLine()) / 4};
    // The resolution the picture carries, as the window's bitmaps have always stated it.
    const PixelDensity density{pixels.dotsPerMeterX(), pixels.dotsPerMeterY()};
    return saveFile(fileName, [&](ByteSink& sink) {
        sink.write(encodeBmp(view, density));
        return std::string();
    });
}

}  // namespace kurvilo

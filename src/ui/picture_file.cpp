// SPDX-License-Identifier: MIT
#include "ui/picture_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>
#include <cerrno>

namespace kurvilo {

namespace {

// The cause in Japanese for the common failures; Qt's own text (translated where Qt has it)
// for the others. `code` is errno right after the failing call.
QString causeOf(const QFileInfo& target, const QFileDevice& file, int code,
                const QString& otherwise) {
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir()) return QStringLiteral("保存先のフォルダーがありません");
    if (file.error() == QFileDevice::ResourceError || code == ENOSPC || code == EDQUOT)
        return QStringLiteral("ディスクの空き容量が足りません");
    if (code == EACCES || code == EPERM || code == EROFS)
        return QStringLiteral("書き込む権限がありません");
    return otherwise;
}

QString failureMessage(const QString& fileName, const QString& cause) {
    return QStringLiteral("%1 に保存できませんでした（%2）。")
        .arg(QDir::toNativeSeparators(fileName), cause);
}

// Writes through `file`, already open; the cause of a failure, or nothing.
QString writeBitmap(const QImage& picture, const QFileInfo& target, QFileDevice& file) {
    QImageWriter writer(&file, "bmp");
    errno = 0;
    if (!writer.write(picture) || !file.flush()) {
        const int code = errno;
        const QString qtText =
            file.error() != QFileDevice::NoError ? file.errorString() : writer.errorString();
        return causeOf(target, file, code, qtText);
    }
    return {};
}

// A device cannot be replaced by a new file: it is written in place.
QString saveToDevice(const QImage& picture, const QFileInfo& target) {
    QFile device(target.filePath());
    errno = 0;
    if (!device.open(QIODevice::WriteOnly)) {
        const int code = errno;
        return causeOf(target, device, code, device.errorString());
    }
    QString cause = writeBitmap(picture, target, device);
    device.close();
    if (cause.isEmpty() && device.error() != QFileDevice::NoError)
        cause = causeOf(target, device, errno, device.errorString());
    return cause;
}

QString saveToFile(const QImage& picture, const QFileInfo& target) {
    QSaveFile file(target.filePath());
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        const int code = errno;
        return causeOf(target, file, code, file.errorString());
    }
    if (QString cause = writeBitmap(picture, target, file); !cause.isEmpty()) {
        file.cancelWriting();
        return cause;
    }
    errno = 0;
    if (!file.commit()) {
        const int code = errno;
        return causeOf(target, file, code, file.errorString());
    }
    return {};
}

}  // namespace

QString savePicture(const QImage& picture, const QString& fileName) {
    const QFileInfo target(fileName);
    const bool device = target.exists() && !target.isFile() && !target.isDir();
    const QString cause = device ? saveToDevice(picture, target) : saveToFile(picture, target);
    return cause.isEmpty() ? QString() : failureMessage(fileName, cause);
}

}  // namespace kurvilo

// SPDX-License-Identifier: MIT
// Writing the picture to the file the user chose, as a Windows bitmap, and every other file the
// window writes. A file is replaced only once the new one is complete (picture/output_file.h), so
// a failed write leaves the old file, or none; a device such as a pipe or /dev/full is written as
// it is. A failure comes back as the one-line Japanese message the window shows, naming the file
// and the cause.
#pragma once

#include <QString>
#include <functional>
#include <string>

class QImage;

namespace kurvilo {

class ByteSink;

// Writes what `fill` writes to the file the user chose, whole or not at all. `fill` returns the
// cause of a failure of its own (an encoder's), or the empty string. The empty string when the
// file was written; otherwise the message.
QString saveFile(const QString& fileName, const std::function<std::string(ByteSink&)>& fill);

// The empty string when the picture was written; otherwise the message.
QString savePicture(const QImage& picture, const QString& fileName);

}  // namespace kurvilo

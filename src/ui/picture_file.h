// SPDX-License-Identifier: MIT
// Writing the picture to the file the user chose, as a Windows bitmap. A file is replaced only
// once the new one is complete (picture/output_file.h), so a failed write leaves the old file,
// or none; a device such as a pipe or /dev/full is written as it is. A failure comes back as the
// one-line Japanese message the window shows, naming the file and the cause.
#pragma once

#include <QString>

class QImage;

namespace kurvilo {

// The empty string when the picture was written; otherwise the message.
QString savePicture(const QImage& picture, const QString& fileName);

}  // namespace kurvilo

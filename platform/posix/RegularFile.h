#pragma once

#include "platform/posix/FileDescriptor.h"

#include <QByteArray>
#include <QString>

#include <sys/stat.h>

namespace orv::platform {

// Opens the regular file `name` of the folder `folderFd` for reading (AT_FDCWD: `name`
// is a whole path). Only a regular file is opened: opening a FIFO would wait for a
// writer, and opening a device may act on it. Returns an invalid descriptor when there is
// no regular file under that name (missing, a folder, a FIFO, a device, a dangling link).
// Any other failure raises the error of its errno, described as
// "ファイル「<shownPath>」を開けません。（<reason>）": tag reading and the scan's counting
// pass report a file they can't open alike.
//
// `opened`, when given, receives the open file's own status, so that its reader need not
// ask for it again.
//
//   FileDescriptor fd = openRegularFile(folderFd, "01_Intro.mp3", "/music/a/01_Intro.mp3");
//   if (!fd.valid()) return nullptr;  // no such file
FileDescriptor openRegularFile(int folderFd, const QByteArray& name, const QString& shownPath,
                               struct stat* opened = nullptr);

}  // namespace orv::platform

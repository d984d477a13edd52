#pragma once

#include "core/RuntimeError.h"

#include <QByteArray>
#include <QString>

#include <sys/types.h>

#include <functional>

namespace orv::platform {

// How a new file is put in place once complete: over what is at its path, or only where
// nothing is.
enum class Placement { kReplace, kNew };

// Writes the content of a new file to the descriptor `fd` (at its start): 0 or errno.
using Fill = std::function<int(int fd)>;

// The error of a temporary file that can't be made, from its errno.
using CreationError = std::function<RuntimeError(int err)>;

// Writes a new file by `fill` (with `mode`, exactly when `exactMode`, else less the
// umask), syncs it and puts it at `path`: over what is there (kReplace) or only where
// nothing is (kNew, EEXIST otherwise). While it is written the file has no name
// (O_TMPFILE), when `unnamed` and the file system allows it; else a hidden name of its
// own, which isTemporaryFileOf knows. Raises the error of making the temporary file
// (`failed`) or of writing it (errnoError of `what`); returns 0, or the errno of putting
// it in place. Whatever fails, no temporary file is left.
//
//   int err = writeAndPlace(path, 0644, false, Placement::kNew, true, failed, what,
//                           [&](int fd) { return writeAll(fd, page.data(), page.size()); });
int writeAndPlace(const QString& path, mode_t mode, bool exactMode, Placement placement,
                  bool unnamed, const CreationError& failed, const QString& what, const Fill& fill);

// Writes all of `size` bytes at `data` to `fd`: 0 or errno.
int writeAll(int fd, const char* data, qsizetype size);

// Makes the folder's new entry durable: 0 or errno. A file system that can't sync
// folders is no failure: the entry is made all the same.
int syncFolder(const QString& folder);

// Whether `entry` is the hidden temporary file of a write of `name` that was cut off:
// ".disk.html.orv-" and 8 to 13 lower-case letters or digits, for "disk.html".
//
//   isTemporaryFileOf(".disk.html.orv-0k3j5x9b2m1qz", "disk.html");   // true
bool isTemporaryFileOf(const QString& entry, const QString& name);

}  // namespace orv::platform

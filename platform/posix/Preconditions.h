#pragma once

#include "core/RuntimeError.h"
#include "platform/posix/FileDescriptor.h"

#include <QByteArray>
#include <QString>

#include <sys/stat.h>

#include <optional>

namespace orv::platform {

// What each change of PosixFileSystem meets before it changes anything, one function per
// change. The change calls its precondition first; the dry run (PosixDryRun.cpp) calls
// only the precondition. So a dry run refuses exactly what the real change refuses, with
// the same error, and a rule changed here changes both. Each raises a RuntimeError naming
// the file, or (renameRefusal) returns an errno for the rename to raise as its own.
//
//   replaceableFile("/music/album/disk.html");   // throws after chmod a-w disk.html
//   if (int err = renameRefusal(from, to)) throw renameError(err, from, to);

// rename(from, to), `from` and `to` file-system bytes: 0, or the errno of what stops it
// before anything moves: EEXIST for anything under `to` but a second name of the file
// `from` names (which the rename completes), EACCES or EROFS for a folder of either that
// takes no change. The rename itself meets it only once it failed: it is tried first.
int renameRefusal(const QByteArray& from, const QByteArray& to);

// The error of a rename of `from` to `to` that failed or was refused with `err`.
RuntimeError renameError(int err, const QString& from, const QString& to);

// replaceFileAtomically(path, …): a file its owner protected is refused (read-only, a
// symbolic link; a folder with the error its replacement would meet), and the folder of
// `path` must take a new file. Returns what is under `path`, nothing for a new file.
std::optional<struct stat> replaceableFile(const QString& path);

// createFileAtomically(path, …): nothing under `path` (a link not followed; else
// alreadyThere(path)), and a folder that takes the new file.
void creatableFile(const QString& path);

// copyFileNoReplaceIf(from, to, size, …): `from` open for reading, nothing under `to` (a
// link not followed), a folder that takes the new file; then the first `size` bytes of
// `from` (all of a shorter file), which the copy's `accept` judges.
struct CopyStart {
  FileDescriptor source;
  QByteArray start;
};
CopyStart copyStart(const QString& from, const QString& to, qsizetype size);

// `path` opened for reading, a folder under that name refused (EISDIR); failures raise
// the errnoError of `what`. `size` receives the size of a regular file, 0 for anything
// else. The precondition of reading a file, and of copying one.
FileDescriptor openForReading(const QString& path, const QString& what, qsizetype& size);

// createFolder(path): nothing under `path` but a folder (links followed), and a parent
// that takes a new folder unless the folder is there. True when it is there already.
bool createableFolder(const QString& path);

// removeFile(path): no folder under `path`, and a folder of `path` that takes the change
// unless nothing is there. True when there is a file to remove.
bool removableFile(const QString& path);

// The errors the changes raise, by the same words wherever they are met.
QString cannotWrite(const QString& path);
QString cannotCopy(const QString& from, const QString& to);
RuntimeError alreadyThere(const QString& path);
// The error of a file `name` (or its temporary file) that can't be made in `folder`.
RuntimeError creationError(int err, const QString& folder, const QString& name);

}  // namespace orv::platform

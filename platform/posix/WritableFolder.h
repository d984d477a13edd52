#pragma once

#include <QByteArray>
#include <QString>

namespace orv::platform {

// Whether this user may add, rename and remove entries in `folder` (file-system bytes; a
// path ending in "/" or not): 0, or the errno that a change there would meet (EACCES for
// a folder without write permission, EROFS on a read-only mount, ENOENT for a missing
// one). Every change to an album's or the library page's folder meets this before it
// changes anything (see Preconditions.h), and so does its dry run, so that a dry run
// refuses what the real run would.
//
//   if (const int err = folderRefusal("/music/album/")) throw errnoError(err, …);
int folderRefusal(const QByteArray& folder);

// `path` as the file system's bytes: file names are those bytes, decoded as UTF-8.
//
//   nativePath(u"/music/アルバム/")   // "/music/\xE3\x82\xA2…/"
QByteArray nativePath(const QString& path);

// The folder of `path`, ending in "/"; "." for a name without one.
//
//   folderOf("/music/album/disk.html");   // "/music/album/"
QString folderOf(const QString& path);

}  // namespace orv::platform

#pragma once

// Real files in temporary folders. Failures throw std::runtime_error, which fails the
// test that met them.

#include <QByteArray>
#include <QString>

#include <map>

namespace orv::test {

// Writes `bytes` to `path`, replacing what was there.
//
//   writeFile(folder + "a b.mp3", "audio");
void writeFile(const QString& path, const QByteArray& bytes = {});

// The same for a path given as the file system's own bytes, such as a name that is not
// UTF-8; creates the file, which must not exist yet.
//
//   writeFileAt(QFile::encodeName(folder) + "bad\xff name.mp3", "keep");
void writeFileAt(const QByteArray& nativePath, const QByteArray& bytes = {});

// The bytes of `path`.
QByteArray readFile(const QString& path);

// Everything below `folder`, hidden entries too, by path relative to it as the file
// system's bytes: a file's content, "link -> TARGET" for a symbolic link (not followed),
// "folder" for a folder. Two equal snapshots mean nothing was changed, renamed, added or
// removed.
//
//   const auto before = snapshotTree(root);  …  EXPECT_EQ(snapshotTree(root), before);
using TreeSnapshot = std::map<QByteArray, QByteArray>;
TreeSnapshot snapshotTree(const QString& folder);

// Removes `folder` and everything below it by the file system's own bytes, so that names
// that are not UTF-8 go too; links are removed, not followed. True when nothing is left.
bool removeTree(const QString& folder);

}  // namespace orv::test

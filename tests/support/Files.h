#pragma once

// Real files in temporary folders. Failures throw std::runtime_error, which fails the
// test that met them.

#include <QByteArray>
#include <QString>

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

}  // namespace orv::test

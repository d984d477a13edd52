#pragma once

// `orv --batch` run as users run it, for the batch's tests: the real program, without a
// display or a platform plugin of Qt's.

#include "tests/support/Program.h"

#include <QByteArray>
#include <QDir>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace orv::test {

// The folder beside the built executable, with the real head.txt, tail.txt and jacket.jpg.
inline const QString kProgramFolder = QStringLiteral(ORV_PROGRAM_DIR "/");

// A second of mono audio with a LAME header.
const QByteArray& secondOfAudio();

// That second, tagged with `title` and `album` (in UTF-16).
QByteArray track(const QString& title, const QString& album);

// Starts `orv --batch arguments…` in `workingFolder`, with XDG_RUNTIME_DIR set to
// `runtimeFolder` when one is given; `finished` (tests/support/Program.h) waits for it.
// Its record of builds lies in `cacheFolder` (XDG_CACHE_HOME), by default in one of this
// test program's own that every run shares (never the user's): an album a test built
// before is current.
void startOrv(QProcess& process, const QStringList& arguments,
              const QString& workingFolder = QDir::tempPath(), const QString& runtimeFolder = {},
              const QString& cacheFolder = {});

// A whole run.
Ran orv(const QStringList& arguments, const QString& workingFolder = QDir::tempPath(),
        const QString& runtimeFolder = {}, const QString& cacheFolder = {});

// Copies a whole folder as it is: links as links, names as bytes.
void copyTree(const QString& from, const QString& to);

}  // namespace orv::test

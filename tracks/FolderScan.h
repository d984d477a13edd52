#pragma once

#include "core/CheckedInt.h"
#include "core/ProgramFiles.h"
#include "platform/FileSystem.h"
#include "platform/TrackDetails.h"
#include "text/AlbumTexts.h"
#include "tracks/TrackTable.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace orv {

// Whether `name` is a track's, as FileSystem::list matches kTrackPattern: it ends in
// ".mp3", in any letter case.
//
//   isMp3FileName("/music/album/01 Intro.MP3") == true
bool isMp3FileName(const QString& name);

// A rename the scan made (or, on a dry run's file system, would make): whole paths.
struct Rename {
  QString from;
  QString to;
  bool operator==(const Rename&) const = default;
};

// What the scan works with. Each pass lists the folder anew; nothing is kept between
// passes or builds.
struct ScanContext {
  platform::FileSystem& fileSystem;
  platform::TrackDetailsReader& trackDetails;  // for tag reading (AlbumTagReading)
  // The user's encoding of every 8-bit tag text; none: each album decides its own.
  std::optional<text::TextEncoding> textEncoding = std::nullopt;
  // Each rename that changed a name, as soon as it is done: those before a failure too.
  std::vector<Rename> renames{};
  // Told by the fill pass after each track's tags are read: how many of how many. What it
  // raises ends the pass there.
  std::function<void(Int16 read, Int16 count)> trackRead{};
};

// The scan's two passes over the *.mp3 files of `albumFolder` (ending in "/"), in listing
// order. Every failure of a pass, tag reading included, is raised as it came, for the
// album's build to tell the user; the renames done before it stay.
//
//   const Int16 count = CountMp3Files(folder, context);
//   if (count > 0) table = FillTrackTable(folder, count, context).table;

// The counting pass: the number of MP3 files in the folder, each proven reachable under
// its listed name (kFileNotFound otherwise) and opened for reading once (so that a file
// tag reading could not open stops the build before any rename). The 32,768th file
// overflows.
Int16 CountMp3Files(const QString& albumFolder, ScanContext& context);

// The fill pass: a table of `count` records with each file's folder and names, the
// listed name and the name with every space and ideographic space made "_". Then, record
// by record, renames the file to that name (never over another file) and reads its tags;
// once the last is read, the album's 8-bit texts are decided together and stored (see
// AlbumTagReading), with the verdict. A folder that no longer holds `count` MP3 files ends
// before any rename.
struct FilledTable {
  TrackTable table;
  text::AlbumVerdict textVerdict;  // how the album's 8-bit tag texts were read
};
FilledTable FillTrackTable(const QString& albumFolder, Int16 count, ScanContext& context);

}  // namespace orv

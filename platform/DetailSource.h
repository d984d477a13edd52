#pragma once

#include "platform/ReadAhead.h"

#include <QString>

#include <memory>
#include <vector>

namespace orv::platform {

// Detail columns of a file, numbered as the album tools of the original platform
// numbered them.
enum DetailColumn : int {
  kColumnTitle = 10,
  kColumnArtist = 16,
  kColumnAlbumTitle = 17,
  kColumnPlayTime = 21,  // "H:MM:SS", e.g. "0:03:25"; empty when the file holds no audio
};

// One file of a DetailFolder, as ParseName found it.
class DetailItem {
 public:
  virtual ~DetailItem() = default;
};

// A folder whose files' details can be asked for.
class DetailFolder {
 public:
  virtual ~DetailFolder() = default;
  // The item for `name` in this folder; nullptr when the folder holds no such file.
  // A file that exists but cannot be opened (no permission) raises a RuntimeError.
  virtual std::unique_ptr<DetailItem> ParseName(const QString& name) = 0;
  // The text of `column` for `item`; an empty text when the file has no such detail or
  // `item` is nullptr. Never fails for a missing tag or a file without audio.
  virtual QString GetDetailsOf(const DetailItem* item, int column) = 0;
};

// The source of file details (artist, title, album title, play time).
//
//   auto source = factory.create();
//   auto folder = source->NameSpace("/music/album/");   // RuntimeError if missing
//   auto item = folder->ParseName("01_Intro.mp3");
//   QString artist = folder->GetDetailsOf(item.get(), kColumnArtist);
class DetailSource {
 public:
  virtual ~DetailSource() = default;
  // A folder object; raises ErrorCode::kPathNotFound when the folder does not exist.
  virtual std::unique_ptr<DetailFolder> NameSpace(const QString& folder) = 0;
};

// Creates a new DetailSource for each track, so nothing is cached from one to the next.
class DetailSourceFactory {
 public:
  virtual ~DetailSourceFactory() = default;
  virtual std::unique_ptr<DetailSource> create() = 0;

  // Starts reading the files `paths` (whole paths, as they are named now) ahead of their
  // tag reading, in that order; see TrackReadAhead. What is read ahead for a file serves
  // that file's own reading once, and only while the file is unchanged. The default reads
  // nothing ahead.
  virtual std::unique_ptr<TrackReadAhead> readAhead(std::vector<QString> paths) {
    (void)paths;
    return std::make_unique<NoReadAhead>();
  }
};

}  // namespace orv::platform

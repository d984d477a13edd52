#pragma once

#include "core/CheckedInt.h"
#include "core/RuntimeError.h"
#include "output/PageTemplates.h"
#include "platform/FileSystem.h"
#include "platform/FolderLocks.h"
#include "platform/TrackDetails.h"
#include "text/AlbumTexts.h"
#include "tracks/FolderScan.h"
#include "tracks/TrackTable.h"

#include <QString>

#include <optional>
#include <variant>
#include <vector>

namespace orv::album {

// What the user is told of a scan that failed with ErrorCode::kFileNotFound: a name that
// can't be reached as listed.
inline const QString kSpecialCharacterMessage = QStringLiteral(
    "ファイル名の中に特殊文字が含まれている可能性があります。\r\n"
    "ファイル名を変更した後、もう一度プログラムを実行してください。\r\n"
    "特殊文字の例：Aの上に'（アポストロフィ）が付いた文字や\r\n"
    "eの上に'（アポストロフィ）が付いた文字など");

// What the user is told of a folder without an MP3 file.
inline const QString kNoMp3FilesMessage =
    QStringLiteral("フォルダーにmp3ファイルが見つかりません。");

// The most tracks an album can have: the grid shows one row more than the tracks, and
// the page writer counts one past them, both in 16 bits.
inline constexpr int kLargestAlbum = 32766;

// What the user is told of a folder with more than kLargestAlbum MP3 files; for 32,767
// its three lines read "フォルダーにmp3ファイルが32,767個あります。",
// "1つのアルバムで扱えるのは32,766個までです。" and
// "フォルダーを分けてから、もう一度実行してください。"
QString tooManyMp3FilesMessage(Int16 count);

// Where an album's cover jacket.jpg came from.
struct CoverSource {
  enum class Kind {
    kKept,         // the album had its jacket.jpg already
    kFile,         // an image file of the album folder
    kTags,         // the picture in a track's tags
    kPlaceholder,  // the program's own jacket.jpg, copied as the window copies it
  };
  Kind kind = Kind::kPlaceholder;
  QString name;  // kFile: the image file; kTags: the track; a name in the album folder
  // kFile, kTags: the album's jacket.jpg was the program's placeholder, now replaced.
  bool replacedPlaceholder = false;

  // As the batch reports it: "kept", "placeholder", "file:cover.png", "tags:01_Intro.mp3",
  // and with "replaced:" before the last two where the placeholder gave way to them
  // ("replaced:file:cover.png").
  QString text() const;
  bool operator==(const CoverSource&) const = default;
};

// How a front end gives the album its cover jacket.jpg, in place of the copy of the
// program's own when the album has none (the window's way, and the build's default).
class CoverStep {
 public:
  virtual ~CoverStep() = default;
  // Right after the page is written, under the album's lock, on the build's own file
  // system: `table`'s first `count` records are the tracks in the page's order. What it
  // raises fails the build at Failed::Stage::kPage, as a failed copy would.
  virtual CoverSource coverAlbum(const QString& albumFolder, const TrackTable& table,
                                 Int16 count) = 0;
};

// What one album's build works with. A front end that builds several albums at once
// shares them between the builds, so each must be safe to use from several threads.
struct Services {
  platform::FileSystem& fileSystem;
  platform::TrackDetailsReader& trackDetails;
  platform::FolderLocks& folderLocks;
  QString programFolder;  // holds head.txt, tail.txt and jacket.jpg; ends in "/"
  // head.txt and tail.txt read beforehand, once for many albums; null: the build reads
  // them, so that a template changed between two builds shows.
  const PageTemplates* templates = nullptr;
  // The user's encoding of every 8-bit tag text; none: the album decides (AlbumTexts).
  std::optional<text::TextEncoding> textEncoding = std::nullopt;
};

// What a front end does while its build runs, on the build's own thread. What a hook
// raises leaves the build as it came.
class Events {
 public:
  virtual ~Events() = default;
  // Another build holds the album. Asked at once (`first`) and then about every 50 ms
  // until the other build is done; false gives up the wait, before anything is done.
  virtual bool keepWaiting(bool /*first*/) { return true; }
  // The wait is over and the build starts, as if it had been started now.
  virtual void waitOver() {}
  // A track's tags are read: `read` of the album's `count`, in the scan's order. Told of
  // every track, so a front end that shows it keeps the cost down itself.
  virtual void trackRead(Int16 /*read*/, Int16 /*count*/) {}
  // The scan is done: the album's tracks, in the page's order, before the page is written.
  virtual void tracksRead(const TrackTable& /*table*/, Int16 /*count*/) {}
};

// What became of the album, as every front end tells it: the window's labels, the
// batch's lines and JSON, the library page. Filled as far as the build came.
struct Summary {
  QString folder{};  // ending in "/"
  // The album's title and artist, trimmed, as the page shows them.
  AlbumTexts texts{};
  Int16 tracks = 0;         // as the counting pass found them; 0 when it failed
  qint64 milliseconds = 0;  // the total play time the page shows
  // Done (or, in a dry run, to be done), even on a failure.
  std::vector<Rename> renames{};
  // The page written (or, in a dry run, to be written); empty if none.
  QString page{};
  // False when the page on disk was already this very page and was left as it is.
  bool pageChanged = true;
  // Where jacket.jpg came (or would come) from; none when the build stopped before it.
  std::optional<CoverSource> cover{};
  // How the album's 8-bit tag texts were read; none decided until its tracks are read.
  text::AlbumVerdict textVerdict{};
};

// The page is written: the tracks in its order, and the album.
struct Built {
  TrackTable table;
  Summary album;
};

// The folder holds no album (no MP3 file, or too many); nothing was changed.
struct NoAlbum {
  QString message;  // what the user is told
};

// The build met an error and stopped there; what was renamed before it stays.
struct Failed {
  enum class Stage {
    kScan,  // the scan or tag reading: the user is told `message`
    kPage,  // the page or the cover: an error that is reported as it is
  };
  Stage stage;
  RuntimeError error;
  QString message;  // what the user is told
  Summary album;
};

// The wait for another build was given up; nothing was done.
struct Abandoned {};

using Outcome = std::variant<Built, NoAlbum, Failed, Abandoned>;

// Builds the album in `albumFolder` (ending in "/"), as one click of the window's button
// does once the file is chosen, for the window and the batch alike:
//
// 1. takes the folder's lock, for the whole build (waiting while another build, of this
//    process or another, holds it: see Events::keepWaiting);
// 2. the counting pass; no MP3 file, or more than kLargestAlbum, is NoAlbum;
// 3. the fill pass with its renames and tag reads, the album's 8-bit texts decided once
//    the last track is read; then puts the records in the order of the files' new names,
//    by the listing's own order (OrderedName), so that a first build, a rebuild and a
//    build after one cut off midway give the same page;
// 4. removes the temporary files an earlier build left when it was killed;
// 5. writes the page, then copies the program's cover when the album has none (or
//    leaves the cover to `cover`).
//
// Every failure is an outcome, never an exception: what Events' hooks raise alone
// passes through.
//
//   const Outcome outcome = album::build("/music/album/", services, events);
//   if (const auto* built = std::get_if<Built>(&outcome)) show(built->table);
Outcome build(const QString& albumFolder, const Services& services, Events& events,
              CoverStep* cover = nullptr);

}  // namespace orv::album

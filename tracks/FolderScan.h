#pragma once

#include "core/CheckedInt.h"
#include "platform/DetailSource.h"
#include "platform/FileSystem.h"
#include "platform/WindowSystem.h"
#include "tracks/TrackTable.h"

#include <QString>

namespace orv {

// The message the scan shows for ErrorCode::kFileNotFound: a name that can't be reached
// as listed.
inline const QString kSpecialCharacterMessage = QStringLiteral(
    "ファイル名の中に特殊文字が含まれている可能性があります。\r\n"
    "ファイル名を変更した後、もう一度プログラムを実行してください。\r\n"
    "特殊文字の例：Aの上に'（アポストロフィ）が付いた文字や\r\n"
    "eの上に'（アポストロフィ）が付いた文字など");

// The message of a counting pass that finds no MP3 file.
inline const QString kNoMp3FilesMessage =
    QStringLiteral("フォルダーにmp3ファイルが見つかりません。");

// The most tracks an album can have: the grid shows one row more than the tracks, and
// the page writer counts one past them, both in 16 bits.
inline constexpr int kLargestAlbum = 32766;

// The message of a counting pass that finds more than kLargestAlbum MP3 files; for
// 32,767 its three lines read "フォルダーにmp3ファイルが32,767個あります。",
// "1つのアルバムで扱えるのは32,766個までです。" and
// "フォルダーを分けてから、もう一度実行してください。"
QString tooManyMp3FilesMessage(Int16 count);

// What the scan works with. Each pass lists the folder anew; nothing is kept between
// passes or builds.
struct ScanContext {
  platform::FileSystem& fileSystem;
  // Tag reading: a new detail source for every track (see ReadTrackTags).
  platform::DetailSourceFactory& detailSources;
  // Shows the scan's messages, and ends the program after a failure (endWithMessage).
  platform::WindowSystem& windowSystem;
};

// The scan's two passes over the *.mp3 files of `albumFolder` (ending in "/"), in listing
// order. Every failure of a pass, tag reading included, ends in
// windowSystem.endWithMessage, with kSpecialCharacterMessage for ErrorCode::kFileNotFound
// and the error's description otherwise (as asRuntimeError gives it); nothing is
// returned then.
//
//   const Int16 count = CountMp3Files(folder, context);  // 0: no album, a message was shown
//   if (count > 0) table = FillTrackTable(folder, count, context);

// The counting pass: the number of MP3 files to build the album from, each proven
// reachable under its listed name and opened for reading once (so that a file tag reading
// could not open stops the build before any rename). 0 when there is no album to build,
// after a message: kNoMp3FilesMessage for no MP3 file, tooManyMp3FilesMessage for more
// than kLargestAlbum. The 32,768th file overflows.
Int16 CountMp3Files(const QString& albumFolder, ScanContext& context);

// The fill pass: a table of `count` records with each file's folder and names, the
// listed name and the name with every space and ideographic space made "_". Then, record
// by record, renames the file to that name (never over another file) and reads its tags.
// A folder that no longer holds `count` MP3 files ends before any rename.
TrackTable FillTrackTable(const QString& albumFolder, Int16 count, ScanContext& context);

}  // namespace orv

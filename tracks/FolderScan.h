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

// What the scan works with. Each pass lists the folder anew; nothing is kept between
// passes or builds.
struct ScanContext {
  platform::FileSystem& fileSystem;
  // Tag reading: a new detail source for every track (see ReadTrackTags).
  platform::DetailSourceFactory& detailSources;
  // Shows the scan's messages, and ends the program after a failure.
  platform::WindowSystem& windowSystem;
};

// The scan's two passes over the *.mp3 files of `albumFolder` (ending in "/"), in listing
// order. Every failure of a pass, tag reading included, ends in a message box
// (kSpecialCharacterMessage for ErrorCode::kFileNotFound, the error's description
// otherwise, as asRuntimeError gives it) and then windowSystem.endProgram(); nothing is
// returned then.
//
//   const Int16 count = CountMp3Files(folder, context);  // 0: kNoMp3FilesMessage was shown
//   if (count > 0) table = FillTrackTable(folder, count, context);

// The counting pass: the number of MP3 files, each proven reachable under its listed
// name. A count of 0 shows kNoMp3FilesMessage. The 32,768th file overflows.
Int16 CountMp3Files(const QString& albumFolder, ScanContext& context);

// The fill pass: a table of `count` records with each file's folder and names, the
// listed name and the name with every space and ideographic space made "_". Then, record
// by record, renames the file to that name (never over another file) and reads its tags.
// A folder that no longer holds `count` MP3 files ends before any rename.
TrackTable FillTrackTable(const QString& albumFolder, Int16 count, ScanContext& context);

}  // namespace orv

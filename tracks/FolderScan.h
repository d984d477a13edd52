#pragma once

#include "platform/CheckedInt.h"
#include "platform/FileSystem.h"
#include "platform/WindowSystem.h"
#include "tracks/TrackTable.h"

#include <QString>

#include <functional>

namespace orv {

// The message the scan shows for error 53: a name that can't be reached as listed.
inline const QString kSpecialCharacterMessage = QStringLiteral(
    "ファイル名の中に特殊文字が含まれている可能性があります。\r\n"
    "ファイル名を変更した後、もう一度プログラムを実行してください。\r\n"
    "特殊文字の例：Aの上に'（アポストロフィ）が付いた文字や\r\n"
    "eの上に'（アポストロフィ）が付いた文字など");

// The message of a counting pass that finds no MP3 file.
inline const QString kNoMp3FilesMessage =
    QStringLiteral("フォルダーにmp3ファイルが見つかりません。");

inline constexpr int kCountingPass = 1;
inline constexpr int kFillPass = 2;

// What the scan works with.
struct ScanContext {
  platform::FileSystem& fileSystem;
  platform::WindowSystem& windowSystem;
  TrackTable& trackTable;
  // Reads the tags of one record (ReadTrackTags with the program's detail source).
  std::function<void(Int16 index)> readTrackTags;
};

// Scans `albumFolder` (ending in "/") for its *.mp3 files.
// mode kFillPass: re-creates the track table at `size` records, enters each file's
// folder and names in listing order, then renames each file whose name holds spaces
// (to "_") and reads its tags, record by record. Any other mode counts only; a count of
// 0 shows kNoMp3FilesMessage. `count` receives the number of files listed.
// Every error ends in a message box (kSpecialCharacterMessage for 53, the error's
// description otherwise) and then the end of the program; nothing is returned then.
//
//   Int16 count = 0;
//   ScanFolder(kCountingPass, 0, count, folder, context);
//   ScanFolder(kFillPass, count, count, folder, context);
void ScanFolder(Int16 mode, Int16 size, Int16& count, const QString& albumFolder,
                ScanContext& context);

}  // namespace orv

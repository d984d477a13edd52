#pragma once

#include <QString>

namespace orv {

// The album of an MP3 file, the one chosen in the window or named to the batch: its
// folder, the path up to and including the last "/"; empty when there is none. Paths longer than
// 32,767 characters raise ErrorCode::kOverflow.
//
//   albumFolderOf("/music/album/01 Intro.mp3") == "/music/album/"
//   albumFolderOf("01 Intro.mp3") == ""
QString albumFolderOf(const QString& chosenFile);

}  // namespace orv

#pragma once

#include "platform/OpenFileDialog.h"

#include <QString>

namespace orv {

// The dialog's filter: one entry, "mp3ファイル" with the pattern "*.mp3".
inline const QString kMp3Filter = QStringLiteral("mp3ファイル|*.mp3");

// Lets the user pick one MP3 file of the album. Returns its full path, or an empty text
// when the user cancelled. Other errors while the dialog is set up or shown are ignored;
// the path is then whatever the dialog holds.
//
//   QString selectedPath = SelectMp3File(dialog);  // "/music/album/01 Intro.mp3" or ""
QString SelectMp3File(platform::OpenFileDialog& dialog);

// Sets `albumFolder` to `selectedPath` up to and including its last "/"; leaves it
// unchanged when there is none. Paths longer than 32,767 characters raise
// ErrorCode::kOverflow.
//
//   DeriveAlbumFolder("/music/album/01 Intro.mp3", folder);  // folder == "/music/album/"
void DeriveAlbumFolder(const QString& selectedPath, QString& albumFolder);

}  // namespace orv

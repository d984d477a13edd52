#pragma once

#include <QString>

#include <optional>

namespace orv::platform {

// The modal dialog in which the user picks an MP3 file of the album. One instance lives
// as long as the main window, so each use opens where the last choice was made.
//
//   if (const auto path = dialog.chooseMp3File()) build(*path);  // "/music/a/01 Intro.mp3"
class OpenFileDialog {
 public:
  virtual ~OpenFileDialog() = default;

  // Shows the dialog, which offers the folders and the *.mp3 files (in any letter case)
  // and opens on the file chosen last, and waits until the user closes it. The full path
  // of the chosen file; nullopt when the user cancelled, which leaves the last choice as
  // it was.
  virtual std::optional<QString> chooseMp3File() = 0;
};

}  // namespace orv::platform

#pragma once

#include "platform/OpenFileDialog.h"
#include "platform/TrackList.h"
#include "platform/WindowSystem.h"

namespace orv::platform {

// The controls of the main window that the form's logic drives, as the window system
// provides them. The captions that never change and the quit button are not among them.
//
//   MainForm form(window.controls(dialog), services);
//   controls.statusLabel.setCaption("htmlを作成しました");
struct FormControls {
  FormWindow& window;
  Button& buildButton;      // "フォルダー選択＆ html 作成"
  Label& albumTitleLabel;   // beside "アルバム名"
  Label& albumArtistLabel;  // beside "アーティスト名"
  Label& statusLabel;       // the status line at the bottom
  TrackList& trackList;     // one numbered row per track: title and play time
  OpenFileDialog& openFileDialog;
};

}  // namespace orv::platform

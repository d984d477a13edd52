#pragma once

#include "album/Build.h"
#include "platform/FormControls.h"
#include "platform/WindowSystem.h"

#include <QString>

namespace orv {

// What the form's build works with besides its controls: the album's build reads the
// templates anew for every album, so that a template changed between builds shows.
struct FormServices {
  platform::WindowSystem& windowSystem;
  album::Services album;
};

// The main window's logic: its two buttons, its close box and the album build. The
// widgets themselves belong to the window system; this class only drives them.
//
//   MainForm form(window.controls(dialog), {.windowSystem = ws, .album = {.fileSystem = fs, …}});
//   window.setEvents(&form);
//   form.load();
class MainForm : public platform::FormEvents {
 public:
  inline static const QString kDoneMessage = QStringLiteral("htmlを作成しました");
  // The status line while another build of the same album (another Orv's, or the
  // batch's) runs; the build starts when it is done.
  inline static const QString kWaitingMessage =
      QStringLiteral("別の Orv がこのアルバムを作成中です。終わるのを待っています…");

  MainForm(platform::FormControls controls, FormServices services);

  // Shows the window with one empty row in the track list.
  void load();

  // One click builds the album: choose a file, scan its folder, show and write the page.
  void buildAlbum() override;
  // Closes the window and with it the program; during a build, once the build is done,
  // or, while the build still waits for another one, at once.
  void quit() override;
  bool queryClose() override;

 private:
  class BuildEvents;

  void buildAlbumIn(const QString& albumFolder);
  void processPendingMessages();
  void closeIfAskedDuringTheBuild();

  platform::FormControls c_;
  FormServices s_;
  bool building_ = false;
  bool closePending_ = false;
};

}  // namespace orv

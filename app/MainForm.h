#pragma once

#include "album/Build.h"
#include "platform/FormControls.h"
#include "platform/WindowSystem.h"

#include <QString>

#include <functional>

namespace orv {

// Milliseconds from a fixed moment, never going back: the form's clock.
using Clock = std::function<qint64()>;

// The steady clock of the machine (QElapsedTimer's).
qint64 steadyMilliseconds();

// What the form's build works with besides its controls: the album's build reads the
// templates anew for every album, so that a template changed between builds shows.
struct FormServices {
  platform::WindowSystem& windowSystem;
  album::Services album;
  Clock clock = steadyMilliseconds;  // how long a build has run, for its status line
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
  // The status line while a build that has run for kProgressAfter reads the tracks'
  // tags, redrawn at most every kProgressEvery: "読み込み中 120 / 2000 曲".
  static QString readingMessage(Int16 read, Int16 count);
  static constexpr qint64 kProgressAfter = 1000;
  static constexpr qint64 kProgressEvery = 100;
  // The status line while another build of the same album (another Orv's, or the
  // batch's) runs; the build starts when it is done.
  inline static const QString kWaitingMessage =
      QStringLiteral("別の Orv がこのアルバムを作成中です。終わるのを待っています…");

  MainForm(platform::FormControls controls, FormServices services);

  // Shows the window with one empty row in the track list.
  void load();

  // One click builds the album: choose a file, scan its folder, show and write the page.
  // The status line is emptied when the build starts, tells of the tracks read while it
  // runs long, and says kDoneMessage once the page is written; it stays empty when no
  // page was written. A cancelled choice leaves it as it was.
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

#pragma once

#include "platform/WindowSystem.h"

#include <QStringList>

#include <optional>

namespace orv::batch {

// How one album's build ended early: the number of the error where one is known, and
// the text the window would have shown in its message box.
struct AlbumEnded {
  std::optional<int> errorNumber;
  QString text;
};

// The window system as one album's build in the batch sees it. There is no window: a
// message box is written down instead of shown, and the end of the program after a
// failure ends only this album's build, by throwing AlbumEnded for the batch to catch.
// One per album, so albums built at once share nothing here.
//
//   AlbumMessages messages;
//   ScanContext scan{.fileSystem = fs, .detailSources = ds, .windowSystem = messages};
//   try { CountMp3Files(folder, scan); } catch (const AlbumEnded& end) { … end.text … }
class AlbumMessages : public platform::WindowSystem {
 public:
  // The texts of the message boxes the build would have shown, in order.
  const QStringList& messages() const { return messages_; }

  bool previousInstanceRunning() override { return false; }
  void messageBox(const QString& text, int flags, const QString& title = {}) override;
  void processPendingMessages() override {}
  [[noreturn]] void endProgram(int exitCode = 0) override;
  [[noreturn]] void reportUnhandledError(const RuntimeError& error) override;
  [[noreturn]] void endWithMessage(const QString& text, const RuntimeError& error) override;

 private:
  QStringList messages_;
};

}  // namespace orv::batch

#pragma once

// Fakes at the window-system edge, and a track reader that answers every file alike.
// Everything below the window system (files, tags, pages) is tested for real, in
// temporary folders.

#include "platform/FormControls.h"
#include "platform/OpenFileDialog.h"
#include "platform/TrackDetails.h"
#include "platform/TrackList.h"
#include "platform/WindowSystem.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace orv::test {

// Thrown by FakeWindowSystem::endProgram, so a test sees where the program would end.
struct ProgramEnded {
  int exitCode;
};

struct MessageBoxCall {
  QString text;
  platform::MessageIcon icon;
  QString title;  // as passed; empty means the application title
};

class FakeWindowSystem : public platform::WindowSystem {
 public:
  bool previousInstance = false;
  std::vector<MessageBoxCall> messageBoxes;
  int pendingMessageRuns = 0;
  std::function<void()> onProcessPendingMessages;  // e.g. a click or a close arriving
  std::vector<QString> log;  // "messageBox", "processPendingMessages", "endProgram", …
  int exitCode = -1;         // as the program ended, if it did

  bool previousInstanceRunning() override { return previousInstance; }
  void messageBox(const QString& text, platform::MessageIcon icon, const QString& title) override;
  void processPendingMessages() override;
  [[noreturn]] void endProgram(int exitCode) override;
  [[noreturn]] void reportUnhandledError(const RuntimeError& error) override;
};

class FakeButton : public platform::Button {
 public:
  bool enabled = true;
  void setEnabled(bool e) override { enabled = e; }
};

class FakeLabel : public platform::Label {
 public:
  explicit FakeLabel(QString caption = {}) : caption_(std::move(caption)) {}
  void setCaption(const QString& caption) override { caption_ = caption; }
  QString caption() const override { return caption_; }

 private:
  QString caption_;
};

class FakeFormWindow : public platform::FormWindow {
 public:
  bool shown = false;
  bool unloaded = false;
  platform::Pointer pointer = platform::Pointer::kDefault;

  void show() override { shown = true; }
  void unload() override { unloaded = true; }
  void setMousePointer(platform::Pointer p) override { pointer = p; }
};

// The track list: the rows last shown.
class FakeTrackList : public platform::TrackList {
 public:
  std::vector<platform::ListedTrack> rows;
  void show(std::vector<platform::ListedTrack> tracks) override { rows = std::move(tracks); }
};

// An open-file dialog that answers from a script: each use takes the next answer, a
// path, or std::nullopt for a cancel.
class FakeOpenFileDialog : public platform::OpenFileDialog {
 public:
  std::vector<std::optional<QString>> answers;
  int shown = 0;

  std::optional<QString> chooseMp3File() override;
};

// The controls the form drives, as fakes, and the form's view of them.
struct FakeFormControls {
  FakeFormWindow window;
  FakeButton buildButton;
  FakeLabel albumTitleLabel, albumArtistLabel, statusLabel;
  FakeTrackList trackList;
  FakeOpenFileDialog openFileDialog;

  platform::FormControls asFormControls() {
    return {.window = window,
            .buildButton = buildButton,
            .albumTitleLabel = albumTitleLabel,
            .albumArtistLabel = albumArtistLabel,
            .statusLabel = statusLabel,
            .trackList = trackList,
            .openFileDialog = openFileDialog};
  }
};

// A track reader that answers every file with `details` and writes down the paths it is
// asked for. The hooks run in read once the path is written down, e.g. to fail there,
// and in readAhead, which reads nothing.
class FakeTrackDetails : public platform::TrackDetailsReader {
 public:
  platform::TrackDetails details;
  std::vector<QString> paths;
  std::function<void(const QString& path)> onRead = [](const QString&) {};
  std::function<void(const std::vector<QString>& paths)> onReadAhead =
      [](const std::vector<QString>&) {};

  platform::TrackDetails read(const QString& path) override {
    paths.push_back(path);
    onRead(path);
    return details;
  }
  std::unique_ptr<platform::TrackReadAhead> readAhead(std::vector<QString> listed) override {
    onReadAhead(listed);
    return std::make_unique<platform::NoReadAhead>();
  }
};

}  // namespace orv::test

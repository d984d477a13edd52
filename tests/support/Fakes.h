#pragma once

// Fakes at the window-system edge, and a track reader that answers from a table.
// Everything below the window system (files, tags, pages) is tested for real, in
// temporary folders.

#include "platform/FormControls.h"
#include "platform/Grid.h"
#include "platform/OpenFileDialog.h"
#include "platform/TrackDetails.h"
#include "platform/WindowSystem.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace orv::test {

// Thrown by FakeWindowSystem::endProgram, so a test sees where the program would end.
struct ProgramEnded {
  int exitCode;
};

struct MessageBoxCall {
  QString text;
  int flags;
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
  void messageBox(const QString& text, int flags, const QString& title) override;
  void processPendingMessages() override;
  [[noreturn]] void endProgram(int exitCode) override;
  [[noreturn]] void reportUnhandledError(const RuntimeError& error) override;
};

class FakeButton : public platform::Button {
 public:
  void setEnabled(bool enabled) override { enabled_ = enabled; }
  bool isEnabled() const override { return enabled_; }

 private:
  bool enabled_ = true;
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
  int pointer = platform::kPointerDefault;
  std::vector<int> pointerHistory;

  void show() override { shown = true; }
  void unload() override { unloaded = true; }
  void setMousePointer(int p) override {
    pointer = p;
    pointerHistory.push_back(p);
  }
};

// A grid in memory, with the semantics the window's grid has.
class FakeGrid : public platform::Grid {
 public:
  void Clear() override;
  void setCols(int cols) override;
  void setRows(int rows) override;
  void setColWidth(int col, int twips) override { widths_[col] = twips; }
  void setTextMatrix(int row, int col, const QString& text) override;
  void setRow(int row) override { row_ = row; }
  void setCol(int col) override { col_ = col; }
  void setCellAlignment(int alignment) override { alignments_[{row_, col_}] = alignment; }
  void setText(const QString& text) override { setTextMatrix(row_, col_, text); }

  int cols() const override { return cols_; }
  int rows() const override { return rows_; }
  int row() const override { return row_; }
  int col() const override { return col_; }
  int colWidth(int col) const override;
  QString textMatrix(int row, int col) const override;
  int cellAlignment(int row, int col) const override;

 private:
  int rows_ = 2, cols_ = 2, row_ = 0, col_ = 0;
  std::map<int, int> widths_;
  std::map<std::pair<int, int>, QString> texts_;
  std::map<std::pair<int, int>, int> alignments_;
};

// An open-file dialog that answers from a script: each ShowOpen takes the next answer,
// a path (chosen) or std::nullopt-like empty QString with cancel = true.
class FakeOpenFileDialog : public platform::OpenFileDialog {
 public:
  struct Answer {
    QString path;
    bool cancel = false;
  };
  std::vector<Answer> answers;
  bool cancelError = false;
  QString filter;
  int shown = 0;

  void setCancelError(bool c) override { cancelError = c; }
  void setFilter(const QString& f) override { filter = f; }
  void ShowOpen() override;
  QString fileName() const override { return fileName_; }

 private:
  QString fileName_;
};

// The controls the form drives, as fakes, and the form's view of them.
struct FakeFormControls {
  FakeFormWindow window;
  FakeButton buildButton;
  FakeLabel albumTitleLabel, albumArtistLabel, statusLabel;
  FakeGrid trackGrid;
  FakeOpenFileDialog openFileDialog;

  platform::FormControls asFormControls() {
    return {.window = window,
            .buildButton = buildButton,
            .albumTitleLabel = albumTitleLabel,
            .albumArtistLabel = albumArtistLabel,
            .statusLabel = statusLabel,
            .trackGrid = trackGrid,
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

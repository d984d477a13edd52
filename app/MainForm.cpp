#include "app/MainForm.h"

#include "album/AlbumFolder.h"
#include "album/Build.h"
#include "app/ShownAlbum.h"

#include <QElapsedTimer>

#include <optional>
#include <type_traits>
#include <vector>

namespace orv {
namespace {

// The track list of an album of `count` tracks before their texts are shown.
std::vector<platform::ListedTrack> emptyRows(Int16 count) {
  return std::vector<platform::ListedTrack>(static_cast<std::size_t>(count.value()));
}

}  // namespace

// The window's part in a build: the status line while it waits for another build and
// while it reads a large album, and the album on show before the page is written.
class MainForm::BuildEvents : public album::Events {
 public:
  explicit BuildEvents(MainForm& form) : form_(form), started_(form.s_.clock()) {}

  bool keepWaiting(bool first) override {
    if (first) form_.c_.statusLabel.setCaption(kWaitingMessage);
    form_.processPendingMessages();
    // Nothing has been done yet, so a close need not wait for the other build.
    return !form_.closePending_;
  }

  void waitOver() override {
    form_.c_.statusLabel.setCaption({});
    started_ = form_.s_.clock();
  }

  void trackRead(Int16 read, Int16 count) override {
    const qint64 now = form_.s_.clock();
    if (now - started_ < kProgressAfter) return;
    if (shown_ && now - *shown_ < kProgressEvery) return;
    shown_ = now;
    form_.c_.statusLabel.setCaption(readingMessage(read, count));
    form_.processPendingMessages();
  }

  void tracksRead(const TrackTable& table, Int16 count) override {
    // The rows first, numbered and empty, then the album's texts: the window repaints in
    // between, so a long album shows its size at once.
    form_.c_.trackList.show(emptyRows(count));
    form_.processPendingMessages();
    showAlbum(form_.c_, table, count);
    form_.processPendingMessages();
  }

 private:
  MainForm& form_;
  qint64 started_;               // when the build started, or its wait ended
  std::optional<qint64> shown_;  // when the status line last told of the tracks
};

qint64 steadyMilliseconds() {
  static const QElapsedTimer clock = [] {
    QElapsedTimer started;
    started.start();
    return started;
  }();
  return clock.elapsed();
}

QString MainForm::readingMessage(Int16 read, Int16 count) {
  return QStringLiteral("読み込み中 %1 / %2 曲").arg(read.value()).arg(count.value());
}

MainForm::MainForm(platform::FormControls controls, FormServices services)
    : c_(controls), s_(std::move(services)) {}

void MainForm::load() {
  c_.trackList.show(emptyRows(1));
  c_.window.show();
}

void MainForm::buildAlbum() {
  // The button is disabled while a build runs; a click that still gets here (queued
  // before the button was disabled) must not start a build inside the build.
  if (building_) return;
  building_ = true;

  c_.buildButton.setEnabled(false);
  c_.window.setMousePointer(platform::Pointer::kBusy);
  processPendingMessages();
  const std::optional<QString> chosenFile = c_.openFileDialog.chooseMp3File();
  // No earlier success stands for this build.
  if (chosenFile) c_.statusLabel.setCaption({});
  processPendingMessages();
  if (chosenFile) buildAlbumIn(albumFolderOf(*chosenFile));
  c_.window.setMousePointer(platform::Pointer::kDefault);
  c_.buildButton.setEnabled(true);

  building_ = false;
  closeIfAskedDuringTheBuild();
}

void MainForm::buildAlbumIn(const QString& albumFolder) {
  BuildEvents events(*this);
  const album::Outcome outcome = album::build(albumFolder, s_.album, events);
  if (!std::holds_alternative<album::Built>(outcome)) c_.statusLabel.setCaption({});
  std::visit(
      [&](const auto& result) {
        using Result = std::decay_t<decltype(result)>;
        if constexpr (std::is_same_v<Result, album::Built>) {
          processPendingMessages();
          c_.statusLabel.setCaption(kDoneMessage);
        } else if constexpr (std::is_same_v<Result, album::NoAlbum>) {
          // Nothing was changed; the program goes on.
          s_.windowSystem.messageBox(result.message, platform::MessageIcon::kNone);
        } else if constexpr (std::is_same_v<Result, album::Failed>) {
          if (result.stage == album::Failed::Stage::kPage)
            throw result.error;  // the standard report
          // The scan's failure: its message, and then the end of the program, at once.
          s_.windowSystem.messageBox(result.message, platform::MessageIcon::kNone);
          s_.windowSystem.endProgram();
        }
      },
      outcome);
}

void MainForm::quit() {
  if (queryClose()) c_.window.unload();
}

bool MainForm::queryClose() {
  // A build is never cut off between its renames and its page: the close waits for it.
  if (building_) {
    closePending_ = true;
    return false;
  }
  return true;
}

void MainForm::processPendingMessages() { s_.windowSystem.processPendingMessages(); }

void MainForm::closeIfAskedDuringTheBuild() {
  if (closePending_) {
    closePending_ = false;
    c_.window.unload();
  }
}

}  // namespace orv

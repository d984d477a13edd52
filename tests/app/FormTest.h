#pragma once

// The set-up of the form's tests: the main form on fake controls and a fake window
// system, over the real file system and tag reading, with an album folder of its own.

#include "app/MainForm.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixFolderLocks.h"
#include "platform/taglib/TagLibTrackDetails.h"
#include "tests/support/Fakes.h"
#include "tests/support/Files.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace orv::test {

class FormTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(album.isValid()); }

  // The form, made on first use as start-up makes it.
  MainForm& form() {
    if (!form_) {
      ++formsMade;
      form_.emplace(controls.asFormControls(),
                    FormServices{.windowSystem = windowSystem,
                                 .album = {.fileSystem = fileSystem,
                                           .trackDetails = clockedTrackDetails_,
                                           .folderLocks = folderLocks,
                                           .programFolder = QStringLiteral(ORV_PROGRAM_DIR "/")},
                                 .clock = [this] { return now; }});
    }
    return *form_;
  }

  QString albumPath(const QString& name) const { return album.path() + u'/' + name; }
  void addFile(const QString& name, const QByteArray& content = "not audio") const {
    writeFile(albumPath(name), content);
  }
  QStringList filesOnDisk() const { return QDir(album.path()).entryList(QDir::Files, QDir::Name); }

  // The user's next answer in the file dialog.
  void choose(const QString& path) { controls.openFileDialog.answers.push_back(path); }
  void cancel() { controls.openFileDialog.answers.push_back(std::nullopt); }

  QTemporaryDir album;
  FakeWindowSystem windowSystem;
  FakeFormControls controls;
  platform::PosixFileSystem fileSystem;
  platform::TagLibTrackDetails trackDetails;
  platform::PosixFolderLocks folderLocks;
  int formsMade = 0;
  // The form's clock, in milliseconds: it moves on by millisecondsPerTrack with each
  // track's tags read, and stands still otherwise.
  qint64 now = 0;
  qint64 millisecondsPerTrack = 0;

 private:
  // The tag reading, each track moving the clock on.
  class ClockedTrackDetails : public platform::TrackDetailsReader {
   public:
    explicit ClockedTrackDetails(FormTest& test) : test_(test) {}
    platform::TrackDetails read(const QString& path) override {
      test_.now += test_.millisecondsPerTrack;
      return test_.trackDetails.read(path);
    }
    std::unique_ptr<platform::TrackReadAhead> readAhead(std::vector<QString> paths) override {
      return test_.trackDetails.readAhead(std::move(paths));
    }

   private:
    FormTest& test_;
  };

  ClockedTrackDetails clockedTrackDetails_{*this};
  std::optional<MainForm> form_;
};

}  // namespace orv::test

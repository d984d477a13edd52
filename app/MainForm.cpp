#include "app/MainForm.h"

#include "output/AlbumPage.h"
#include "output/TrackGrid.h"
#include "tracks/FileSelection.h"
#include "tracks/FolderScan.h"

namespace orv {

MainForm::MainForm(platform::FormControls controls, FormServices services)
    : c_(controls), s_(std::move(services)) {}

void MainForm::load() {
  SetUpTrackGrid(c_.trackGrid, 1);
  c_.window.show();
}

void MainForm::buildAlbum() {
  // The button is disabled while a build runs; a click that still gets here (queued
  // before the button was disabled) must not start a build inside the build.
  if (building_) return;
  building_ = true;

  c_.buildButton.setEnabled(false);
  c_.window.setMousePointer(platform::kPointerHourglass);
  processPendingMessages();
  const QString selectedPath = SelectMp3File(c_.openFileDialog);
  processPendingMessages();
  if (!selectedPath.isEmpty()) {
    QString albumFolder;
    DeriveAlbumFolder(selectedPath, albumFolder);
    ScanContext scan{.fileSystem = s_.fileSystem,
                     .detailSources = s_.detailSources,
                     .windowSystem = s_.windowSystem};
    const Int16 trackCount = CountMp3Files(albumFolder, scan);
    // An empty folder, or one with more files than an album can have, has been reported
    // by the scan; there is no album to build.
    if (trackCount > 0) {
      s_.trackTable = FillTrackTable(albumFolder, trackCount, scan);
      SetUpTrackGrid(c_.trackGrid, trackCount);
      processPendingMessages();
      FillTrackGrid(c_.trackGrid, c_.albumTitleLabel, c_.albumArtistLabel, s_.trackTable,
                    trackCount);
      processPendingMessages();
      WriteAlbumHtml(s_.trackTable, trackCount, s_.programFolder, s_.fileSystem);
      processPendingMessages();
      c_.statusLabel.setCaption(kDoneMessage);
    }
  }
  c_.window.setMousePointer(platform::kPointerDefault);
  c_.buildButton.setEnabled(true);

  building_ = false;
  closeIfAskedDuringTheBuild();
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

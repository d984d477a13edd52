#include "app/Frm010_Orv.h"

#include "output/AlbumPage.h"
#include "output/TrackGrid.h"
#include "tracks/FileSelection.h"
#include "tracks/FolderScan.h"
#include "tracks/TagReading.h"

namespace orv {

Frm010_Orv::Frm010_Orv(FormControls controls, FormServices services)
    : c_(controls), s_(std::move(services)) {}

void Frm010_Orv::LoadProc() {
  selectedPath.clear();
  SetUpTrackGrid(1);
  c_.window.show();
}

void Frm010_Orv::Command1_Click() {
  // The button is disabled while a build runs; a click that still gets here (queued
  // before the button was disabled) must not start a build inside the build.
  if (building_) return;
  building_ = true;

  c_.Command1.setEnabled(false);
  c_.window.setMousePointer(platform::kPointerHourglass);
  processPendingMessages();
  SelectMp3File();
  processPendingMessages();
  if (!selectedPath.isEmpty()) {
    DeriveAlbumFolder();
    Int16 count = 0;
    ScanFolder(kCountingPass, 0, count);
    trackCount = count;
    // An empty folder has been reported by the scan; there is no album to show.
    if (trackCount > 0) {
      ScanFolder(kFillPass, count, count);
      SetUpTrackGrid(trackCount);
      processPendingMessages();
      FillTrackGrid(trackCount);
      processPendingMessages();
      WriteAlbumHtml(trackCount);
      processPendingMessages();
      c_.Label6.setCaption(kDoneMessage);
    }
  }
  c_.window.setMousePointer(platform::kPointerDefault);
  c_.Command1.setEnabled(true);

  building_ = false;
  unloadWhenClosePending();
}

void Frm010_Orv::Command3_Click() {
  if (QueryUnload()) c_.window.unload();
}

bool Frm010_Orv::QueryUnload() {
  // A build is never cut off between its renames and its page: the close waits for it.
  if (building_) {
    closePending_ = true;
    return false;
  }
  return true;
}

void Frm010_Orv::processPendingMessages() { s_.windowSystem.processPendingMessages(); }

void Frm010_Orv::unloadWhenClosePending() {
  if (closePending_) {
    closePending_ = false;
    c_.window.unload();
  }
}

void Frm010_Orv::SelectMp3File() { selectedPath = orv::SelectMp3File(c_.CommonDialog1); }

void Frm010_Orv::DeriveAlbumFolder() { orv::DeriveAlbumFolder(selectedPath, albumFolder); }

void Frm010_Orv::ScanFolder(Int16 mode, Int16 size, Int16& count) {
  ScanContext context{s_.fileSystem, s_.windowSystem, s_.trackTable,
                      [this](Int16 index) { ReadTrackTags(index); }};
  orv::ScanFolder(mode, size, count, albumFolder, context);
}

void Frm010_Orv::ReadTrackTags(Int16 index) {
  orv::ReadTrackTags(s_.trackTable, index, s_.detailSources);
}

void Frm010_Orv::SetUpTrackGrid(Int16 n) { orv::SetUpTrackGrid(c_.MSHFlexGrid1, n); }

void Frm010_Orv::FillTrackGrid(Int16 n) {
  orv::FillTrackGrid(c_.MSHFlexGrid1, c_.Label3, c_.Label4, s_.trackTable, n);
}

void Frm010_Orv::WriteAlbumHtml(Int16 n) {
  orv::WriteAlbumHtml(s_.trackTable, n, s_.programFolder, s_.fileSystem);
}

}  // namespace orv

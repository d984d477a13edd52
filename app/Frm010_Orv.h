#pragma once

#include "platform/CheckedInt.h"
#include "platform/DetailSource.h"
#include "platform/FileSystem.h"
#include "platform/Grid.h"
#include "platform/OpenFileDialog.h"
#include "platform/WindowSystem.h"
#include "tracks/TrackTable.h"

#include <QString>

namespace orv {

// The controls of the main window, as the window system provides them.
struct FormControls {
  platform::FormWindow& window;
  platform::Button& Command1;  // "フォルダー選択＆ html 作成"
  platform::Button& Command3;  // "終了"
  platform::Label& Label1;     // "アルバム名"
  platform::Label& Label2;     // "アーティスト名"
  platform::Label& Label3;     // album title
  platform::Label& Label4;     // album artist
  platform::Label& Label5;     // the title line
  platform::Label& Label6;     // the status line
  platform::Grid& MSHFlexGrid1;
  platform::OpenFileDialog& CommonDialog1;
};

// What the window's stages work with besides its controls.
struct FormServices {
  platform::WindowSystem& windowSystem;
  platform::FileSystem& fileSystem;
  platform::DetailSourceFactory& detailSources;
  TrackTable& trackTable;  // owned by the program, not by the window
  QString programFolder;   // holds head.txt, tail.txt and jacket.jpg; ends in "/"
};

// The main window's logic: its fields, its two buttons and the stages of an album build.
// The widgets themselves belong to the window system; this class only drives them.
class Frm010_Orv : public platform::FormEvents {
 public:
  inline static const QString kDoneMessage = QStringLiteral("htmlを作成しました");

  Frm010_Orv(FormControls controls, FormServices services);

  // Empties selectedPath, prepares the grid for one row and shows the window.
  void LoadProc();

  // One click builds the album: choose a file, scan its folder, show and write the page.
  void Command1_Click() override;
  // Closes the window and with it the program; during a build, once the build is done.
  void Command3_Click() override;
  bool QueryUnload() override;

  // The stages of a build.
  void SelectMp3File();
  void DeriveAlbumFolder();
  void ScanFolder(Int16 mode, Int16 size, Int16& count);
  void ReadTrackTags(Int16 index);
  void SetUpTrackGrid(Int16 n);
  void FillTrackGrid(Int16 n);
  void WriteAlbumHtml(Int16 n);

  QString selectedPath;
  QString albumFolder;
  Int16 trackCount;

 private:
  void processPendingMessages();
  void unloadWhenClosePending();

  FormControls c_;
  FormServices s_;
  bool building_ = false;
  bool closePending_ = false;
};

}  // namespace orv

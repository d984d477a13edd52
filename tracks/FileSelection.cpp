#include "tracks/FileSelection.h"

#include "core/CheckedInt.h"
#include "core/RuntimeError.h"

namespace orv {

QString SelectMp3File(platform::OpenFileDialog& dialog) {
  // Setting up and showing the dialog may fail in any step; each failure is passed over
  // and only the number of the last one is kept, to tell a cancel from the rest.
  int lastError = 0;
  auto tolerate = [&lastError](auto step) {
    try {
      step();
    } catch (const RuntimeError& error) {
      lastError = error.number();
    }
  };
  tolerate([&] { dialog.setCancelError(true); });
  tolerate([&] { dialog.setFilter(kMp3Filter); });
  tolerate([&] { dialog.ShowOpen(); });
  if (lastError == static_cast<int>(ErrorCode::kCancel)) return {};
  return dialog.fileName();
}

void DeriveAlbumFolder(const QString& selectedPath, QString& albumFolder) {
  for (Int16 n = selectedPath.size(); n >= 1; --n) {
    if (selectedPath[n.value() - 1] == u'/') {
      albumFolder = selectedPath.left(n.value());
      return;
    }
  }
}

}  // namespace orv

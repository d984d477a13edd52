#pragma once

#include "platform/FileSystem.h"
#include "platform/PictureConverter.h"

#include <QJsonArray>
#include <QString>

#include <functional>

namespace orv::batch {

// The longest side of a cover's small copy on the library page, in pixels; its doubled
// copy, for screens of twice the density, has twice as many.
inline constexpr int kCoverCopySide = 320;

// The folder of the small copies of the library page at `indexPath` (absolute): beside
// it, named after it without its suffix.
//
//   coverCopiesFolder("/music/index.html")   // "/music/index-covers/"
QString coverCopiesFolder(const QString& indexPath);

// The small copies of the albums' covers that the library page shows in place of the
// covers themselves (a 1500 px cover of 1.5 MB becomes 320 and 640 px of 20 to 80 KB),
// kept in coverCopiesFolder. A copy is named after the version of the cover it was made
// from (platform::FileFacts: the file, its size and times), so that a cover left as it
// was is never read again, from run to run, and one that changed gets a copy of its own;
// the program's placeholder, wherever it lies, has one copy for every album that holds it.
class CoverCopies {
 public:
  // Copies made on `jobs` threads at once, each reading its cover and writing its copies
  // on `fileSystem`, while `keepGoing()` says so. `programFolder` holds the placeholder
  // jacket.jpg.
  CoverCopies(
      platform::FileSystem& fileSystem, platform::PictureConverter& pictures, QString programFolder,
      int jobs, std::function<bool()> keepGoing = [] { return true; });

  // Gives each of `cards` (the library page's cards, each with its album's "folder"
  // relative to `indexPath`) the small copy of its album's jacket.jpg: "cover", the name
  // of the copy without ".jpg" (the doubled one adds "@2x"), and "cover2x": true where
  // the doubled one exists. Copies are made for covers that have none yet; a card whose
  // album has no jacket.jpg, or one that can't be read or decoded, gets neither field,
  // and the page shows the cover itself. Then every copy that no card names is removed,
  // and only copies: nothing else in the folder is touched. Once `keepGoing()` says no,
  // no card starts: those left get no copy, and nothing is removed. For a caller that
  // holds the lock of the page's folder. Raises the RuntimeError of a copy that can't be
  // written.
  //
  //   copies.giveCards("/music/index.html", cards);
  //   // cards[0]["cover"] == "3f9c0a7d1e2b4c65", /music/index-covers/3f9c0a7d1e2b4c65.jpg
  void giveCards(const QString& indexPath, QJsonArray& cards) const;

 private:
  platform::FileSystem& fileSystem_;
  platform::PictureConverter& pictures_;
  QString programFolder_;
  int jobs_;
  std::function<bool()> keepGoing_;
};

}  // namespace orv::batch

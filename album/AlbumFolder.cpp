#include "album/AlbumFolder.h"

#include "core/RuntimeError.h"

#include <limits>

namespace orv {

QString albumFolderOf(const QString& chosenFile) {
  // Text positions in a build are 16-bit: a longer path can't be taken apart.
  if (chosenFile.size() > std::numeric_limits<qint16>::max()) {
    throw RuntimeError(ErrorCode::kOverflow);
  }
  return chosenFile.left(chosenFile.lastIndexOf(u'/') + 1);
}

}  // namespace orv

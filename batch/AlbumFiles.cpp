#include "batch/AlbumFiles.h"

namespace orv::batch {

void AlbumFiles::rename(const QString& from, const QString& to) {
  files_.rename(from, to);
  if (from != to) renames_.push_back({from, to});
}

void AlbumFiles::replaceFileAtomically(const QString& path, const QByteArray& content) {
  files_.replaceFileAtomically(path, content);
  page_ = path;
}

}  // namespace orv::batch

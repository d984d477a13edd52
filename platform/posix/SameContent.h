#pragma once

#include <QByteArray>
#include <QString>

namespace orv::platform {

// Whether `path` is a regular file (not a link) that holds exactly `content`: the test
// that replaceFileIfDifferent and its dry run share. A file of another size is told
// without reading it; one of the same size is read until the first difference. Anything
// that stops the look (nothing there, a link, a file that can't be read) is no match.
//
//   if (holdsExactly("/music/album/disk.html", page)) return false;   // left as it is
bool holdsExactly(const QString& path, const QByteArray& content);

}  // namespace orv::platform

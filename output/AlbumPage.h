#pragma once

#include "platform/CheckedInt.h"
#include "platform/FileSystem.h"
#include "tracks/TrackTable.h"

#include <QString>

namespace orv {

// Writes the album page disk.html into the album folder (the trimmed folderPath of
// record 0): head.txt, the script data block of records 0 to n - 1, tail.txt, all in
// CP932 with CR LF line ends. The page replaces the previous one only when complete.
// Then copies jacket.jpg from the program folder when the album folder has none.
// `programFolder` ends in "/". Every failure is raised as a RuntimeError naming the file.
//
//   WriteAlbumHtml(table, table.count(), "/usr/lib/orv/", fileSystem);
void WriteAlbumHtml(const TrackTable& table, Int16 n, const QString& programFolder,
                    platform::FileSystem& fileSystem);

}  // namespace orv

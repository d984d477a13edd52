#include "output/AlbumPage.h"

#include "tests/output/PageFolders.h"

#include <gtest/gtest.h>

namespace orv::test {
namespace {

// The bytes of a page: lines joined with CR LF, each line ending in one.
QByteArray lines(std::initializer_list<const char*> texts) {
  QByteArray out;
  for (const char* t : texts) out.append(t).append("\r\n");
  return out;
}

TEST(AlbumPage, OneTrackGivesIndexZeroInEveryArray) {
  PageFolders f;
  const TrackTable table = f.table({{"Album", "Artist", "01_a.mp3", "Song", "0:03:25"}});
  WriteAlbumHtml(table, 1, f.program, f.fileSystem);
  EXPECT_EQ(f.page(), lines({"<head>", "var cnt = Number(0);", "cdtitle = new Array(cnt+1);",
                             "cdartist = new Array(cnt+1);", "fil = new Array(cnt+1);",
                             "bg_name = new Array(cnt+1);", "tim = new Array(cnt+1);",
                             "num = new Array(cnt+1);", "cdtitle[0] = \"Album\";",
                             "cdartist[0] = \"Artist\";", "fil[0] = \"01_a.mp3\";",
                             "bg_name[0] = \"Song\";", "tim[0] = new Number(205000);", "</tail>"}));
}

}  // namespace
}  // namespace orv::test

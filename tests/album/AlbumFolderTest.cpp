#include "album/AlbumFolder.h"

#include "tests/support/Errors.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(AlbumFolderOf, CutsAfterTheLastSlash) {
  const struct {
    QString path;
    QString folder;
  } cases[] = {
      {"/music/Album/01 Intro.mp3", "/music/Album/"},
      {"/song.mp3", "/"},
      {"/my music/v1.2 the album./a b.c.mp3", "/my music/v1.2 the album./"},
      {"/Music/ Album /", "/Music/ Album /"},
      {"song.mp3", ""},  // no "/"
      {"", ""},
      {"C:\\Music\\Album\\01.mp3", ""},  // a backslash is no separator here
  };
  for (const auto& c : cases) EXPECT_EQ(albumFolderOf(c.path), c.folder) << c.path.toStdString();
}

TEST(AlbumFolderOf, APathLongerThan32767CharactersOverflows) {
  const QString longest = QStringLiteral("/") + QString(32766, u'a');
  EXPECT_EQ(albumFolderOf(longest), QStringLiteral("/"));
  EXPECT_EQ(test::errorOf([&] { albumFolderOf(longest + u'a'); }).number(), 6);
}

}  // namespace
}  // namespace orv

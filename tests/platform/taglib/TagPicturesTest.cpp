// The picture that stands for an album in a track's tags: the front cover, else the first.

#include "platform/taglib/TagLibPictures.h"
#include "tests/mp3/Mp3Files.h"
#include "tests/platform/taglib/DetailFiles.h"

#include <gtest/gtest.h>

namespace orv::test {
namespace {

TEST(TagPictures, TheFrontCoverElseTheFirstPictureOfTheId3v2Tag) {
  const QByteArray front = "front cover bytes";
  const QByteArray back = QByteArray("back\0cover", 10);
  const QByteArray other = randomBytes(300000);  // larger than any one read of the tag
  const QByteArray& audio = shortMp3();
  const auto titled = [](int version) {
    return textFrame(version == 2 ? "TT2" : "TIT2", "Song", Id3Encoding::kLatin1);
  };
  const struct {
    const char* what;
    QByteArray file;
    std::optional<QByteArray> cover;
  } cases[] = {
      {"a front cover", id3v2Tag(3, {titled(3), pictureFrame(3, front)}) + audio, front},
      {"the front cover after other pictures",
       id3v2Tag(3, {pictureFrame(3, other, 0), pictureFrame(3, back, 4), pictureFrame(3, front)}) +
           audio,
       front},
      {"no front cover: the first picture",
       id3v2Tag(3, {pictureFrame(3, back, 4), pictureFrame(3, other, 0)}) + audio, back},
      {"a large picture", id3v2Tag(3, {pictureFrame(3, other)}, 100) + audio, other},
      {"ID3v2.4", id3v2Tag(4, {titled(4), pictureFrame(4, front)}) + audio, front},
      {"ID3v2.2",
       id3v2Tag(2, {titled(2), pictureFrame(2, back, 0), pictureFrame(2, front)}) + audio, front},
      {"texts only", id3v2Tag(3, {titled(3)}) + audio, std::nullopt},
      {"no ID3v2 tag", audio + id3v1Tag("Song", "Band", "Album"), std::nullopt},
      {"no audio either", {}, std::nullopt},
  };
  DetailFiles files;
  platform::TagLibPictures pictures;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(pictures.coverOf(files.put(QStringLiteral("track.mp3"), c.file)), c.cover);
  }
  EXPECT_EQ(pictures.coverOf(files.folder() + QStringLiteral("missing.mp3")), std::nullopt);
  EXPECT_EQ(pictures.coverOf(files.folder()), std::nullopt);  // a folder is no track
}

}  // namespace
}  // namespace orv::test

// The pictures of a track's tags: what each shows, listed without reading their bodies,
// and then the one chosen, read whole.

#include "platform/taglib/TagLibPictures.h"
#include "tests/mp3/Mp3Files.h"
#include "tests/platform/taglib/DetailFiles.h"

#include <gtest/gtest.h>

namespace orv::test {
namespace {

using platform::PictureKind;
constexpr PictureKind kFront = PictureKind::kFrontCover;
constexpr PictureKind kOther = PictureKind::kOther;

TEST(TagPictures, ListsWhatEachPictureShowsAndReadsTheOneAsked) {
  const QByteArray front = "front cover bytes";
  const QByteArray back = QByteArray("back\0cover", 10);
  const QByteArray large = randomBytes(3000000);  // far larger than any read of the tag
  const QByteArray& audio = shortMp3();
  const auto titled = [](int version) {
    return textFrame(version == 2 ? "TT2" : "TIT2", "Song", Id3Encoding::kLatin1);
  };
  const struct {
    const char* what;
    QByteArray file;
    std::vector<PictureKind> kinds;
    std::vector<QByteArray> pictures;
  } cases[] = {
      {"a front cover",
       id3v2Tag(3, {titled(3), pictureFrame(3, front)}) + audio,
       {kFront},
       {front}},
      {"large pictures before and after the front cover",
       id3v2Tag(3, {pictureFrame(3, large, 0), pictureFrame(3, back, 4), pictureFrame(3, front),
                    pictureFrame(3, large, 3)}) +
           audio,
       {kOther, kOther, kFront, kFront},
       {large, back, front, large}},
      {"padding after a large picture",
       id3v2Tag(3, {pictureFrame(3, large)}, 100) + audio,
       {kFront},
       {large}},
      {"ID3v2.4",
       id3v2Tag(4, {titled(4), pictureFrame(4, back, 4), pictureFrame(4, front)}) + audio,
       {kOther, kFront},
       {back, front}},
      {"ID3v2.2",
       id3v2Tag(2, {titled(2), pictureFrame(2, back, 0), pictureFrame(2, front)}) + audio,
       {kOther, kFront},
       {back, front}},
      {"texts only", id3v2Tag(3, {titled(3)}) + audio, {}, {}},
      {"no ID3v2 tag", audio + id3v1Tag("Song", "Band", "Album"), {}, {}},
      {"no audio either", {}, {}, {}},
  };
  DetailFiles files;
  platform::TagLibPictures pictures;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const QString track = files.put(QStringLiteral("track.mp3"), c.file);
    const qint64 before = bytesReadByThisThread();
    EXPECT_EQ(pictures.picturesOf(track), c.kinds);
    EXPECT_LT(bytesReadByThisThread() - before, 64 * 1024);  // no picture's body
    for (std::size_t k = 0; k < c.pictures.size(); ++k) {
      const qint64 start = bytesReadByThisThread();
      EXPECT_EQ(pictures.pictureOf(track, k), c.pictures[k]) << k;
      // That picture alone: the large one before it stays unread.
      EXPECT_LT(bytesReadByThisThread() - start, c.pictures[k].size() + 64 * 1024) << k;
    }
    EXPECT_EQ(pictures.pictureOf(track, c.pictures.size()), std::nullopt);
  }
  EXPECT_EQ(pictures.picturesOf(files.folder() + QStringLiteral("missing.mp3")),
            std::vector<PictureKind>{});
  EXPECT_EQ(pictures.pictureOf(files.folder(), 0), std::nullopt);  // a folder is no track
}

}  // namespace
}  // namespace orv::test

// An album's own cover: which image file of its folder counts, and jacket.jpg made from
// the best picture the album has, on real folders and real MP3 files.

#include "batch/AlbumCover.h"
#include "batch/CoverFiles.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/qtgui/QtPictureConverter.h"
#include "platform/taglib/TagLibPictures.h"
#include "tests/mp3/Mp3Files.h"
#include "tests/support/Files.h"
#include "tests/support/Pictures.h"
#include "tests/support/TemporaryFolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <mutex>

namespace orv::test {
namespace {

TEST(CoverFiles, TheCoverNamesThenTheAlbumArtImagesInAnyLetterCase) {
  const struct {
    std::vector<QString> names;
    std::vector<QString> candidates;
  } cases[] = {
      {{}, {}},
      {{"01.mp3", "AlbumArtSmall.jpg", "Folder.JPG", "cover.png"},
       {"cover.png", "Folder.JPG", "AlbumArtSmall.jpg"}},
      // The names in their order, whatever the listing's.
      {{"album.jpeg", "FRONT.jpg", "folder.png", "Cover.Jpeg", "cover.jpg"},
       {"Cover.Jpeg", "cover.jpg", "folder.png", "FRONT.jpg", "album.jpeg"}},
      {{"AlbumArt_{1}_Small.jpg", "albumart_{1}_large.JPG", "AlbumArt.png", "AlbumArtLarge.jpg"},
       {"albumart_{1}_large.JPG", "AlbumArtLarge.jpg", "AlbumArt_{1}_Small.jpg", "AlbumArt.png"}},
      // Only the whole name counts, and only pictures of the three suffixes.
      {{"cover.gif", "cover.jpg.txt", "covers.jpg", "my cover.jpg", "cover", ".jpg", "Large.jpg",
        "The AlbumArt.jpg", "AlbumArt", "AlbumArt.bmp", "jacket.jpg"},
       {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(batch::coverFileCandidates(c.names), c.candidates);
  }
}

// The tag pictures the cover asks for, track by track.
class CountedTagPictures : public platform::TagPictures {
 public:
  std::optional<QByteArray> coverOf(const QString& path) override {
    {
      const std::lock_guard lock(mutex_);
      asked << path.sliced(path.lastIndexOf(u'/') + 1);
    }
    return disk_.coverOf(path);
  }
  QStringList asked;

 private:
  platform::TagLibPictures disk_;
  std::mutex mutex_;
};

QByteArray trackWith(const std::vector<Id3v2Frame>& pictures) {
  static const QByteArray audio = encodeMp3(pcm(22050, 1, 0.5), 22050, 1, {"-b", "32"});
  std::vector<Id3v2Frame> frames{textFrame("TIT2", QStringLiteral("曲"), Id3Encoding::kUtf16)};
  frames.insert(frames.end(), pictures.begin(), pictures.end());
  return id3v2Tag(3, frames) + audio;
}

TEST(AlbumCover, TheAlbumsOwnPictureElseThePlaceholder) {
  const QByteArray placeholder = readFile(QStringLiteral(ORV_PROGRAM_DIR "/jacket.jpg"));
  const QImage picture = quarters();
  const QByteArray png = imageFile(picture, "png");
  const QByteArray jpeg = imageFile(picture, "jpeg");
  const QByteArray otherJpeg = imageFile(picture.mirrored(true, false), "jpeg");
  const QByteArray notAPicture = "<html>not a picture</html>";
  using Files = std::map<QString, QByteArray>;
  using Pictures = std::vector<std::vector<Id3v2Frame>>;  // the tracks' picture frames
  const struct {
    const char* what;
    Files files;
    Pictures tracks;
    QString source;
    QByteArray jacket;  // the bytes of jacket.jpg afterwards; empty: converted from `png`
    QStringList asked;  // the tracks whose tags were asked for a picture
  } cases[] = {
      {"jacket.jpg present",
       {{"jacket.jpg", "the user's own"}, {"cover.png", png}},
       {{pictureFrame(3, jpeg)}},
       "kept",
       "the user's own",
       {}},
      {"cover.png only", {{"cover.png", png}}, {{}}, "file:cover.png", {}, {}},
      {"Folder.JPG and an embedded picture",
       {{"Folder.JPG", jpeg}},
       {{pictureFrame(3, otherJpeg)}},
       "file:Folder.JPG",
       jpeg,
       {}},
      {"a broken cover.jpg before AlbumArt images",
       {{"cover.jpg", notAPicture},
        {"AlbumArtSmall.jpg", otherJpeg},
        {"AlbumArt_{X}_Large.jpg", jpeg}},
       {{}},
       "file:AlbumArt_{X}_Large.jpg",
       jpeg,
       {}},
      {"the front cover of the second track",
       {{"notes.txt", "not an image file"}},
       {{}, {pictureFrame(3, otherJpeg, 0), pictureFrame(3, jpeg)}, {pictureFrame(3, png)}},
       "tags:02.mp3",
       jpeg,
       {"01.mp3", "02.mp3"}},
      {"a broken picture, then a good one",
       {},
       {{pictureFrame(3, notAPicture)}, {pictureFrame(3, png)}},
       "tags:02.mp3",
       {},
       {"01.mp3", "02.mp3"}},
      {"only a broken picture",
       {},
       {{pictureFrame(3, notAPicture)}, {}},
       "placeholder",
       placeholder,
       {"01.mp3", "02.mp3"}},
      {"nothing", {}, {{}, {}}, "placeholder", placeholder, {"01.mp3", "02.mp3"}},
  };

  TemporaryFolder dir;
  ASSERT_TRUE(dir.isValid());
  platform::PosixFileSystem fileSystem;
  platform::QtPictureConverter converter;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const QString album = dir.path() + QStringLiteral("/album/");
    ASSERT_TRUE(removeTree(album));
    ASSERT_TRUE(QDir().mkpath(album));
    std::vector<QString> tracks;
    for (std::size_t k = 0; k < c.tracks.size(); ++k) {
      tracks.push_back(QStringLiteral("%1.mp3").arg(k + 1, 2, 10, QChar(u'0')));
      writeFile(album + tracks.back(), trackWith(c.tracks[k]));
    }
    for (const auto& [name, bytes] : c.files) writeFile(album + name, bytes);
    const TreeSnapshot before = snapshotTree(album);
    CountedTagPictures tagPictures;

    const batch::CoverSource source = batch::coverAlbum(
        album, tracks, {fileSystem, tagPictures, converter, QStringLiteral(ORV_PROGRAM_DIR "/")});

    EXPECT_EQ(source.text(), c.source);
    EXPECT_EQ(tagPictures.asked, c.asked);
    TreeSnapshot after = snapshotTree(album);
    const QByteArray jacket = after["jacket.jpg"];
    if (c.jacket.isEmpty()) {
      EXPECT_TRUE(jacket.startsWith("\xFF\xD8\xFF"));
      EXPECT_TRUE(looksLike(jacket, picture));
    } else {
      EXPECT_EQ(jacket, c.jacket);
    }
    // Nothing else changed: the source picture stays where and as it was.
    after.erase("jacket.jpg");
    TreeSnapshot rest = before;
    rest.erase("jacket.jpg");
    EXPECT_EQ(after, rest);
  }
}

}  // namespace
}  // namespace orv::test

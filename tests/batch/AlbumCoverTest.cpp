// An album's own cover: which image file of its folder counts, and `orv --batch --covers`
// (the real program) giving each album the best picture it has, on real folders and
// real MP3 files.

#include "batch/CoverFiles.h"
#include "tests/batch/BatchRun.h"
#include "tests/mp3/Mp3Files.h"
#include "tests/support/Files.h"
#include "tests/support/Pictures.h"
#include "tests/support/TemporaryFolder.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

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

QByteArray trackWith(const std::vector<Id3v2Frame>& pictures) {
  static const QByteArray audio = encodeMp3(pcm(22050, 1, 0.5), 22050, 1, {"-b", "32"});
  std::vector<Id3v2Frame> frames{textFrame("TIT2", QStringLiteral("曲"), Id3Encoding::kUtf16)};
  frames.insert(frames.end(), pictures.begin(), pictures.end());
  return id3v2Tag(3, frames) + audio;
}

// Each album's JSON object by its folder's name.
std::map<QString, QJsonObject> byAlbum(const QString& out) {
  std::map<QString, QJsonObject> albums;
  for (const QString& line : out.split(u'\n', Qt::SkipEmptyParts)) {
    const QJsonObject album = QJsonDocument::fromJson(line.toUtf8()).object();
    albums[album["folder"].toString().section(u'/', -1)] = album;
  }
  return albums;
}

// One library of albums, each with its own pictures, through a dry run and a real run:
// the cover each album gets, where the run says it came from, and nothing else changed.
TEST(AlbumCover, EachAlbumGetsItsBestPictureElseThePlaceholder) {
  const QByteArray placeholder = readFile(kProgramFolder + QStringLiteral("jacket.jpg"));
  const QImage picture = quarters();
  const QByteArray png = imageFile(picture, "png");
  const QByteArray jpeg = imageFile(picture, "jpeg");
  const QByteArray otherJpeg = imageFile(picture.mirrored(true, false), "jpeg");
  const QByteArray notAPicture = "<html>not a picture</html>";
  // A JPEG whose header holds 20 KB of metadata, past the first look at a cover file.
  const QByteArray longHeaderJpeg =
      jpeg.left(2) + QByteArray("\xFF\xE1\x4E\x22", 4) + QByteArray(20000, 'x') + jpeg.mid(2);
  using Files = std::map<QString, QByteArray>;
  using Tracks = std::vector<std::vector<Id3v2Frame>>;  // the tracks' picture frames
  const struct {
    const char* album;
    Files files;
    Tracks tracks;
    QString source;
    QByteArray jacket;    // the bytes of jacket.jpg afterwards; empty: converted from `png`
    const char* dryLine;  // the dry run's line for the cover, %1 for jacket.jpg; empty: none
  } cases[] = {
      {"jacket.jpg present",
       {{"jacket.jpg", "the user's own"}, {"cover.png", png}},
       {{pictureFrame(3, jpeg)}},
       "kept",
       "the user's own",
       ""},
      {"cover.png only",
       {{"cover.png", png}},
       {{}},
       "file:cover.png",
       {},
       "    書き込み: %1（cover.png から）\n"},
      {"Folder.JPG and an embedded picture",
       {{"Folder.JPG", jpeg}},
       {{pictureFrame(3, otherJpeg)}},
       "file:Folder.JPG",
       jpeg,
       "    書き込み: %1（Folder.JPG から）\n"},
      {"a cover.jpg with a long header",
       {{"cover.jpg", longHeaderJpeg}},
       {{}},
       "file:cover.jpg",
       longHeaderJpeg,
       "    書き込み: %1（cover.jpg から）\n"},
      {"a broken cover.jpg before AlbumArt images",
       {{"cover.jpg", notAPicture},
        {"AlbumArtSmall.jpg", otherJpeg},
        {"AlbumArt_{X}_Large.jpg", jpeg}},
       {{}},
       "file:AlbumArt_{X}_Large.jpg",
       jpeg,
       "    書き込み: %1（AlbumArt_{X}_Large.jpg から）\n"},
      // Named with spaces: the dry run reads the tags under the names on disk, and both
      // runs name the track as the page does.
      {"an embedded front cover on track 2 only",
       {{"notes.txt", "not an image file"}},
       {{}, {pictureFrame(3, otherJpeg, 0), pictureFrame(3, jpeg)}, {pictureFrame(3, png, 0)}},
       "tags:02_b.mp3",
       jpeg,
       "    書き込み: %1（02_b.mp3 のタグの画像から）\n"},
      {"an embedded picture that is not a valid image",
       {},
       {{pictureFrame(3, notAPicture)}, {pictureFrame(3, png)}},
       "tags:02_b.mp3",
       {},
       "    書き込み: %1（02_b.mp3 のタグの画像から）\n"},
      // A front cover anywhere comes first, else the first picture of the first track.
      {"a back cover on track 1, the front cover on track 3",
       {},
       {{pictureFrame(3, otherJpeg, 4)}, {}, {pictureFrame(3, png, 0), pictureFrame(3, jpeg)}},
       "tags:03_c.mp3",
       jpeg,
       "    書き込み: %1（03_c.mp3 のタグの画像から）\n"},
      {"no front cover anywhere",
       {},
       {{}, {pictureFrame(3, jpeg, 4), pictureFrame(3, otherJpeg, 0)}, {pictureFrame(3, png, 0)}},
       "tags:02_b.mp3",
       jpeg,
       "    書き込み: %1（02_b.mp3 のタグの画像から）\n"},
      {"nothing", {}, {{}, {}}, "placeholder", placeholder, "    コピー: %1\n"},
      // The program's own placeholder gives way to the album's picture, and only it.
      {"the placeholder and a cover.png",
       {{"jacket.jpg", placeholder}, {"cover.png", png}},
       {{}},
       "replaced:file:cover.png",
       {},
       "    置き換え: %1（Orv の既定の表紙を cover.png で）\n"},
      {"the placeholder and a front cover in the tags",
       {{"jacket.jpg", placeholder}},
       {{pictureFrame(3, jpeg)}},
       "replaced:tags:01_a.mp3",
       jpeg,
       "    置き換え: %1（Orv の既定の表紙を 01_a.mp3 のタグの画像で）\n"},
      {"the placeholder and no picture",
       {{"jacket.jpg", placeholder}},
       {{}},
       "kept",
       placeholder,
       ""},
      {"the placeholder with a byte more",
       {{"jacket.jpg", placeholder + 'x'}, {"cover.png", png}},
       {{}},
       "kept",
       placeholder + 'x',
       ""},
  };

  TemporaryFolder dir;
  ASSERT_TRUE(dir.isValid());
  const QString lib = dir.path() + QStringLiteral("/lib/");
  for (const auto& c : cases) {
    const QString album = lib + QString::fromUtf8(c.album) + u'/';
    ASSERT_TRUE(QDir().mkpath(album));
    for (std::size_t k = 0; k < c.tracks.size(); ++k) {
      writeFile(album + QStringLiteral("0%1 %2.mp3").arg(k + 1).arg(QChar(u'a' + int(k))),
                trackWith(c.tracks[k]));
    }
    for (const auto& [name, bytes] : c.files) writeFile(album + name, bytes);
  }
  const TreeSnapshot before = snapshotTree(lib);

  const Ran dry = orv({QStringLiteral("-rnc"), lib});
  const Ran dryJson = orv({QStringLiteral("-rnc"), QStringLiteral("--json"), lib});
  EXPECT_EQ(snapshotTree(lib), before);
  const Ran real =
      orv({QStringLiteral("-r"), QStringLiteral("--covers"), QStringLiteral("--json"), lib});

  ASSERT_EQ(real.exitCode, 0) << real.err.toStdString();
  EXPECT_EQ(
      QString(dryJson.out).replace(QStringLiteral("\"planned\""), QStringLiteral("\"built\"")),
      real.out);
  const std::map<QString, QJsonObject> albums = byAlbum(real.out);
  TreeSnapshot after = snapshotTree(lib);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.album);
    const QString album = QString::fromUtf8(c.album);
    const QJsonObject& json = albums.at(album);
    EXPECT_EQ(json["cover_source"].toString(), c.source);
    EXPECT_EQ(json["cover_copied"].toBool(), c.source != u"kept");
    const QString jacket = lib + album + QStringLiteral("/jacket.jpg");
    const QString line = *c.dryLine ? QString::fromUtf8(c.dryLine).arg(jacket) : QString();
    EXPECT_TRUE(line.isEmpty() || dry.out.contains(line)) << dry.out.toStdString();
    EXPECT_EQ(dry.out.count(jacket), line.isEmpty() ? 0 : 1);

    const QByteArray key = album.toUtf8() + "/jacket.jpg";
    if (c.jacket.isEmpty()) {
      EXPECT_TRUE(after[key].startsWith("\xFF\xD8\xFF"));
      EXPECT_TRUE(looksLike(after[key], picture));
    } else {
      EXPECT_EQ(after[key], c.jacket);
    }
  }
  // Nothing else changed, but the renamed tracks and the new pages: the pictures stay
  // where and as they were.
  TreeSnapshot expected;
  for (const auto& [path, content] : before) {
    const qsizetype name = path.lastIndexOf('/') + 1;
    expected[path.endsWith(".mp3") ? path.left(name) + path.sliced(name).replace(' ', '_') : path] =
        content;
  }
  for (auto it = after.begin(); it != after.end();) {
    // Each jacket.jpg is checked above.
    const bool built = it->first.endsWith("/disk.html") || it->first.endsWith("/jacket.jpg");
    it = built ? after.erase(it) : std::next(it);
  }
  std::erase_if(expected, [](const auto& file) { return file.first.endsWith("/jacket.jpg"); });
  EXPECT_EQ(after, expected);
}

}  // namespace
}  // namespace orv::test

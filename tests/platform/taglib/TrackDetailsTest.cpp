// What the track reader answers for files without audio, missing files and folders.

#include "core/RuntimeError.h"
#include "platform/taglib/MpegStream.h"
#include "platform/taglib/TagLibTrackDetails.h"
#include "tests/mp3/Mp3Files.h"
#include "tests/platform/taglib/DetailFiles.h"
#include "tests/support/Errors.h"
#include "tests/support/Unprivileged.h"

#include <QDir>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

using namespace Qt::StringLiterals;

using platform::TagLibTrackDetails;

TEST(TrackDetails, FilesWithoutAudioGiveTheirTagsAndNoPlayTime) {
  struct Case {
    const char* name;
    QByteArray bytes;
    QString title;
  };
  const QByteArray v2 = id3v2Tag(3, {textFrame("TIT2", u"タグだけ"_s, Id3Encoding::kUtf16)}, 500);
  const QByteArray& mp3 = shortMp3();
  const int firstFrame =
      platform::parseLayer3Header(reinterpret_cast<const unsigned char*>(mp3.constData()))
          ->frameBytes;
  const Case cases[] = {
      {"zero bytes", {}, {}},
      {"info header frame only", v2 + mp3.left(firstFrame), u"タグだけ"_s},
      {"random bytes", randomBytes(150000), {}},
      {"wav renamed", wavFile(pcm(44100, 2, 3.0), 44100, 2), {}},
      {"id3v2 only", v2, u"タグだけ"_s},
      {"id3v1 only", id3v1Tag("v1 only", {}, {}), "v1 only"},
      {"id3v2 and id3v1", v2 + id3v1Tag("v1", {}, {}), u"タグだけ"_s},
      {"id3v2 then random bytes", v2 + randomBytes(100000), u"タグだけ"_s},
      {"apetag only", apeTag({}, "ape only", {}), "ape only"},
  };
  DetailFiles files;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString name = QString::fromLatin1(c.name) + ".mp3";
    files.put(name, c.bytes);
    const auto d = files.details(name);
    EXPECT_EQ(d.title, c.title);
    EXPECT_EQ(d.playTime, "");  // never "0:00:00"
  }
}

TEST(TrackDetails, NoRegularFileUnderTheNameHasNoDetails) {
  DetailFiles files;
  files.put("there.mp3", shortMp3());
  ASSERT_TRUE(QDir(files.folder()).mkdir("folder.mp3"));
  // Opening a FIFO for reading would wait for a writer.
  ASSERT_EQ(::mkfifo(QFile::encodeName(files.folder() + "pipe.mp3").constData(), 0600), 0);
  // A link to nothing is a missing file.
  ASSERT_EQ(::symlink("none.mp3", QFile::encodeName(files.folder() + "dangling.mp3").constData()),
            0);
  for (const QString& name :
       {u"folder.mp3"_s, u"pipe.mp3"_s, u"dangling.mp3"_s, u"missing.mp3"_s, QString()}) {
    EXPECT_EQ(files.details(name), platform::TrackDetails{}) << name.toStdString();
  }
  EXPECT_EQ(files.details("there.mp3").playTime, "0:00:01");
}

TEST(TrackDetails, MissingFolderRaisesPathNotFound) {
  DetailFiles files;
  const QString notAFolder = files.put("file.mp3", shortMp3());
  for (const QString& folder : {files.folder() + u"無い/"_s, notAFolder + "/", QString()}) {
    const RuntimeError e = errorOf([&] { TagLibTrackDetails().read(folder + "x.mp3"); });
    EXPECT_EQ(e.number(), 76) << folder.toStdString();
    EXPECT_EQ(e.description(), u"フォルダ「%1」が見つかりません。"_s.arg(folder));
  }
}

void expectOpenError(const DetailFiles& files, const QString& name, int number) {
  const RuntimeError e = errorOf([&] { files.details(name); });
  EXPECT_EQ(e.number(), number);
  EXPECT_TRUE(e.description().contains(files.folder() + name)) << e.what();
}

TEST(TrackDetails, FileThatCannotBeOpenedRaisesAnError) {
  DetailFiles files;
  // A link to itself exists but leads nowhere.
  ASSERT_EQ(::symlink("loop.mp3", QFile::encodeName(files.folder() + "loop.mp3").constData()), 0);
  expectOpenError(files, "loop.mp3", 75);
}

TEST(TrackDetails, UnreadableFileRaisesPermissionDenied) {
  DetailFiles files;
  const QString path = files.put("locked.mp3", shortMp3());
  asUnprivilegedUser(files.folder(), [&] {
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0), 0);
    expectOpenError(files, "locked.mp3", 70);
  });
}

}  // namespace
}  // namespace orv::test

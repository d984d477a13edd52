// Tag reading ahead of its turn: what was read ahead serves its own file once, under any
// name, and only while the file is unchanged.

#include "platform/taglib/TagLibTrackDetails.h"
#include "platform/taglib/TagReadAhead.h"
#include "tests/mp3/Mp3Files.h"
#include "tests/platform/taglib/DetailFiles.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

QByteArray trackTitled(const QString& title) {
  return id3v2Tag(3, {textFrame("TIT2", title, Id3Encoding::kUtf16)}) + shortMp3();
}

// Waits until `count` files' details wait to be taken (or half a minute has passed).
void waitUntilReady(platform::ReadAheadResults& results, int count) {
  QElapsedTimer clock;
  clock.start();
  while (results.ready() < count && clock.elapsed() < 30000) QThread::msleep(5);
}

TEST(ReadAhead, DetailsServeTheirOwnFileOnceAndOnlyWhileItIsUnchanged) {
  DetailFiles files;
  std::vector<QString> paths;
  for (int i = 0; i < 5; ++i) {
    paths.push_back(files.put(QStringLiteral("%1 x.mp3").arg(i), trackTitled(QString::number(i))));
  }
  const auto results = std::make_shared<platform::ReadAheadResults>();
  platform::TagReadAhead ahead(paths, results, /*threads=*/2, /*window=*/8);
  ahead.reached(0);
  waitUntilReady(*results, 4);
  ASSERT_EQ(results->ready(), 4);  // all but the first, which tag reading reads at once

  // File 1 renamed, as the scan renames; 2 changed; 3 replaced by another file.
  ASSERT_TRUE(QFile::rename(paths[1], files.folder() + "1_x.mp3"));
  files.put("2 x.mp3", trackTitled("two"));
  files.put("new.mp3", trackTitled("three"));
  ASSERT_TRUE(QFile::remove(paths[3]));
  ASSERT_TRUE(QFile::rename(files.folder() + "new.mp3", paths[3]));

  platform::TagLibTrackDetails reader(results);
  const auto title = [&](const QString& name, qint64* bytesRead = nullptr) {
    const qint64 before = bytesReadByThisThread();
    const platform::TrackDetails details = reader.read(files.folder() + name);
    EXPECT_EQ(details.playTime, "0:00:01");
    if (bytesRead) *bytesRead = bytesReadByThisThread() - before;
    return details.title.alone();
  };
  // A track read costs kilobytes; reading the counter, a hundred bytes or so.
  qint64 read = -1;
  EXPECT_EQ(title("1_x.mp3", &read), "1");
  EXPECT_LT(read, 1024);  // read ahead, under its old name
  EXPECT_EQ(title("1_x.mp3", &read), "1");
  EXPECT_GT(read, 4096);  // taken once: read again
  EXPECT_EQ(title("2 x.mp3"), "two");
  EXPECT_EQ(title("3 x.mp3"), "three");
  EXPECT_EQ(title("4 x.mp3", &read), "4");
  EXPECT_LT(read, 1024);
}

// Every detail, blank ones included (tag reading tells a tagged artist or album title from
// an untagged one by them), is what the file's own reading in turn gives.
TEST(ReadAhead, DetailsReadAheadAreThoseReadInTurn) {
  DetailFiles files;
  const QByteArray tracks[] = {
      id3v2Tag(3, textFrames(3, "Artist", "Title", "Album", Id3Encoding::kUtf16)) + shortMp3(),
      // Blank artist and title; then no tag at all.
      id3v2Tag(4, textFrames(4, "   ", "", "Album", Id3Encoding::kUtf8)) + shortMp3(),
      shortMp3(),
      id3v1Tag("Title", "", "") + shortMp3(),
      QByteArray("not audio"),
  };
  std::vector<QString> paths{files.put("first.mp3", shortMp3())};
  for (const QByteArray& track : tracks)
    paths.push_back(files.put(QStringLiteral("%1.mp3").arg(paths.size()), track));
  const auto results = std::make_shared<platform::ReadAheadResults>();
  platform::TagReadAhead ahead(paths, results, /*threads=*/2, /*window=*/8);
  ahead.reached(0);
  waitUntilReady(*results, std::size(tracks));
  ASSERT_EQ(results->ready(), static_cast<int>(std::size(tracks)));

  platform::TagLibTrackDetails reader(results);
  for (std::size_t i = 1; i < paths.size(); ++i) {
    const QString name = QFileInfo(paths[i]).fileName();
    EXPECT_EQ(reader.read(paths[i]),
              platform::TagLibTrackDetails(/*readAhead=*/false).read(paths[i]))
        << name.toStdString();
  }
  EXPECT_EQ(results->ready(), 0);  // every one was taken
}

TEST(ReadAhead, WhatNoReadingTookIsDroppedAtTheEnd) {
  DetailFiles files;
  std::vector<QString> paths;
  for (int i = 0; i < 3; ++i)
    paths.push_back(files.put(QStringLiteral("%1.mp3").arg(i), trackTitled("t")));
  const auto results = std::make_shared<platform::ReadAheadResults>();
  {
    platform::TagReadAhead ahead(paths, results, /*threads=*/4, /*window=*/8);
    ahead.reached(0);
    waitUntilReady(*results, 2);
    EXPECT_EQ(results->ready(), 2);
  }
  EXPECT_EQ(results->ready(), 0);
}

}  // namespace
}  // namespace orv::test

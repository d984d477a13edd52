// Tag reading ahead of its turn: what was read ahead serves its own file once, under any
// name, and only while the file is unchanged.

#include "platform/taglib/TagLibDetailFolder.h"
#include "platform/taglib/TagReadAhead.h"
#include "tests/mp3/Mp3Files.h"
#include "tests/platform/taglib/DetailFiles.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <fcntl.h>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

QByteArray trackTitled(const QString& title) {
  return id3v2Tag(3, {textFrame("TIT2", title, Id3Encoding::kUtf16)}) + shortMp3();
}

// Bytes read by this thread's read and pread calls so far.
qint64 bytesReadByThisThread() {
  QFile io(QStringLiteral("/proc/thread-self/io"));
  if (!io.open(QIODevice::ReadOnly)) throw std::runtime_error("no /proc/thread-self/io");
  const QByteArray all = io.readAll();
  const qsizetype at = all.indexOf("rchar:");
  return all.mid(at + 6, all.indexOf('\n', at) - at - 6).trimmed().toLongLong();
}

TEST(ReadAhead, DetailsServeTheirOwnFileOnceAndOnlyWhileItIsUnchanged) {
  DetailFolderFiles files;
  std::vector<QString> paths;
  for (int i = 0; i < 5; ++i) {
    paths.push_back(files.put(QStringLiteral("%1 x.mp3").arg(i), trackTitled(QString::number(i))));
  }
  const auto results = std::make_shared<platform::ReadAheadResults>();
  platform::TagReadAhead ahead(paths, results, /*threads=*/2, /*window=*/8);
  ahead.reached(0);
  QElapsedTimer clock;
  clock.start();
  while (results->ready() < 4 && clock.elapsed() < 30000) QThread::msleep(5);
  ASSERT_EQ(results->ready(), 4);  // all but the first, which tag reading reads at once

  // File 1 renamed, as the scan renames; 2 changed; 3 replaced by another file.
  ASSERT_TRUE(QFile::rename(paths[1], files.folder() + "1_x.mp3"));
  files.put("2 x.mp3", trackTitled("two"));
  files.put("new.mp3", trackTitled("three"));
  ASSERT_TRUE(QFile::remove(paths[3]));
  ASSERT_TRUE(QFile::rename(files.folder() + "new.mp3", paths[3]));

  platform::TagLibDetailFolder folder(
      platform::FileDescriptor(
          ::open(QFile::encodeName(files.folder()).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC)),
      files.folder(), results);
  const auto title = [&](const QString& name, qint64* bytesRead = nullptr) {
    const qint64 before = bytesReadByThisThread();
    const auto item = folder.ParseName(name);
    const QString text = folder.GetDetailsOf(item.get(), platform::kColumnTitle);
    EXPECT_EQ(folder.GetDetailsOf(item.get(), platform::kColumnPlayTime), "0:00:01");
    if (bytesRead) *bytesRead = bytesReadByThisThread() - before;
    return text;
  };
  // Reading the counter itself counts a hundred bytes or so; a track, kilobytes.
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

TEST(ReadAhead, WhatNoReadingTookIsDroppedAtTheEnd) {
  DetailFolderFiles files;
  std::vector<QString> paths;
  for (int i = 0; i < 3; ++i)
    paths.push_back(files.put(QStringLiteral("%1.mp3").arg(i), trackTitled("t")));
  const auto results = std::make_shared<platform::ReadAheadResults>();
  {
    platform::TagReadAhead ahead(paths, results, /*threads=*/4, /*window=*/8);
    ahead.reached(0);
    QElapsedTimer clock;
    clock.start();
    while (results->ready() < 2 && clock.elapsed() < 30000) QThread::msleep(5);
    EXPECT_EQ(results->ready(), 2);
  }
  EXPECT_EQ(results->ready(), 0);
}

}  // namespace
}  // namespace orv::test

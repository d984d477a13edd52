#pragma once

// The generated library that the batch's run tests share: real MP3 files nested two levels
// deep, with the troubles users' libraries hold; and the window's build of a copy of it.

#include "tests/support/TemporaryFolder.h"

#include <QJsonObject>
#include <QList>
#include <QString>

#include <gtest/gtest.h>

#include <optional>

namespace orv::test {

// Makes the library in `root` and gives its folder ("root/lib"): good albums, a rename
// clash, a file and a folder whose names are not UTF-8, an empty folder, a hidden folder
// and a link to an album.
QString makeLibrary(const QString& root);

// One click of the window's build button on a copy, the dialog answering with `file`.
// The message it showed before it ended the program, if it did.
std::optional<QString> windowBuild(const QString& file);

// The JSON lines of a run's standard output, each checked to be one valid object.
QList<QJsonObject> jsonLines(const QString& out);

class BatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    lib = makeLibrary(dir.path());
  }

  TemporaryFolder dir;
  QString lib;
};

}  // namespace orv::test

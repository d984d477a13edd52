#pragma once

#include <QTemporaryDir>

namespace orv::test {

// A temporary folder removed with everything in it, whatever bytes its names hold:
// QTemporaryDir can't reach a name that is not UTF-8, and leaves it and its folder behind.
// A folder that can't be removed fails the test.
//
//   TemporaryFolder dir;
//   writeFileAt(QFile::encodeName(dir.path()) + "/bad\xff.mp3");   // gone with `dir`
class TemporaryFolder : public QTemporaryDir {
 public:
  TemporaryFolder() { setAutoRemove(false); }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  ~TemporaryFolder();
};

}  // namespace orv::test

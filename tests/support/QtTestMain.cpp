// The Qt tests' main: one QApplication for the whole binary, offscreen unless told
// otherwise (test discovery runs without the tests' environment).

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
  testing::InitGoogleTest(&argc, argv);
  // A death test re-runs this binary rather than forking a process with Qt's threads.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}

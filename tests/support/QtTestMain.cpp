// The Qt tests' main: one QApplication for the whole binary, offscreen unless told
// otherwise (test discovery runs without the tests' environment), with Qt's own dialogs.

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
  testing::InitGoogleTest(&argc, argv);
  // A death test re-runs this binary rather than forking a process with Qt's threads.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt's own dialogs, whatever desktop the tests are started from: no platform theme, by
  // name or by the desktop's, brings in a chooser of its own.
  qputenv("QT_QPA_PLATFORMTHEME", "");
  for (const char* desktop :
       {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID"}) {
    qunsetenv(desktop);
  }
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}

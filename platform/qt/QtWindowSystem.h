#pragma once

#include "platform/WindowSystem.h"

#include <QLockFile>
#include <QTranslator>

#include <memory>

class QApplication;

namespace orv::platform {

// Window-system services on Qt Widgets. Constructing it prepares the application: Qt's
// own texts (message-box buttons, the file dialog) in Japanese, and the program's icon.
//
//   QApplication app(argc, argv);
//   QtWindowSystem windowSystem(app);
//   if (windowSystem.previousInstanceRunning()) ...
class QtWindowSystem : public WindowSystem {
 public:
  // `lockName` names the single-instance lock file in the user's runtime folder
  // (QStandardPaths::RuntimeLocation, e.g. /run/user/1000/orv.lock).
  explicit QtWindowSystem(QApplication& app, const QString& lockName = QStringLiteral("orv"));
  ~QtWindowSystem() override;

  // Takes the user's lock on first call and keeps it while this object lives: a later
  // copy sees it held. A lock left by a copy that crashed or was killed does not count.
  // Should the runtime folder be unusable, the program runs unguarded (with a warning on
  // stderr) rather than not at all.
  bool previousInstanceRunning() override;
  void messageBox(const QString& text, MessageIcon icon, const QString& title = {}) override;
  void processPendingMessages() override;
  [[noreturn]] void endProgram(int exitCode = 0) override;
  // "実行時エラー '53':" above the description, with the error icon; exit code 1.
  [[noreturn]] void reportUnhandledError(const RuntimeError& error) override;

 private:
  QString lockName_;
  QTranslator qtTranslator_;
  std::unique_ptr<QLockFile> lock_;
};

}  // namespace orv::platform

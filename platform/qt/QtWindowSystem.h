#pragma once

#include "platform/WindowSystem.h"

#include <QLockFile>

#include <memory>

class QApplication;

namespace orv::platform {

// Window-system services on Qt Widgets. Also prepares the application: Qt's Japanese
// translation of its own texts, and the program's icon.
class QtWindowSystem : public WindowSystem {
 public:
  // `lockName` names the single-instance lock in the user's runtime folder.
  explicit QtWindowSystem(QApplication& app, const QString& lockName = QStringLiteral("orv"));
  ~QtWindowSystem() override;

  bool previousInstanceRunning() override;
  void messageBox(const QString& text, int flags, const QString& title = {}) override;
  void processPendingMessages() override;
  [[noreturn]] void endProgram(int exitCode = 0) override;
  [[noreturn]] void reportUnhandledError(const RuntimeError& error) override;

 private:
  QApplication& app_;
  std::unique_ptr<QLockFile> lock_;
};

}  // namespace orv::platform

#include "tests/support/Fakes.h"

#include <stdexcept>

namespace orv::test {

void FakeWindowSystem::messageBox(const QString& text, platform::MessageIcon icon,
                                  const QString& title) {
  log.push_back(QStringLiteral("messageBox"));
  messageBoxes.push_back({text, icon, title});
}

void FakeWindowSystem::processPendingMessages() {
  log.push_back(QStringLiteral("processPendingMessages"));
  ++pendingMessageRuns;
  if (onProcessPendingMessages) onProcessPendingMessages();
}

void FakeWindowSystem::endProgram(int code) {
  log.push_back(QStringLiteral("endProgram"));
  exitCode = code;
  throw ProgramEnded{code};
}

void FakeWindowSystem::reportUnhandledError(const RuntimeError& error) {
  messageBox(QString::number(error.number()) + QStringLiteral(": ") + error.description(),
             platform::MessageIcon::kNone, {});
  FakeWindowSystem::endProgram(1);
}

std::optional<QString> FakeOpenFileDialog::chooseMp3File() {
  if (static_cast<std::size_t>(shown) >= answers.size()) {
    throw std::logic_error("FakeOpenFileDialog: no answer left");
  }
  return answers[static_cast<std::size_t>(shown++)];
}

}  // namespace orv::test

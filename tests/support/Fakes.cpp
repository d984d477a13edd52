#include "tests/support/Fakes.h"

#include <stdexcept>

namespace orv::test {

void FakeWindowSystem::messageBox(const QString& text, int flags, const QString& title) {
  log.push_back(QStringLiteral("messageBox"));
  messageBoxes.push_back({text, flags, title});
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
  messageBox(QString::number(error.number()) + QStringLiteral(": ") + error.description(), 0, {});
  FakeWindowSystem::endProgram(1);
}

void FakeGrid::Clear() {
  texts_.clear();
  alignments_.clear();
}

void FakeGrid::setCols(int cols) {
  cols_ = cols;
  std::erase_if(texts_, [&](const auto& e) { return e.first.second >= cols; });
}

void FakeGrid::setRows(int rows) {
  rows_ = rows;
  std::erase_if(texts_, [&](const auto& e) { return e.first.first >= rows; });
}

void FakeGrid::setTextMatrix(int row, int col, const QString& text) {
  if (row < 0 || row >= rows_ || col < 0 || col >= cols_) {
    throw std::out_of_range("FakeGrid: cell outside the grid");
  }
  texts_[{row, col}] = text;
}

int FakeGrid::colWidth(int col) const {
  auto it = widths_.find(col);
  return it == widths_.end() ? -1 : it->second;
}

QString FakeGrid::textMatrix(int row, int col) const {
  auto it = texts_.find({row, col});
  return it == texts_.end() ? QString() : it->second;
}

int FakeGrid::cellAlignment(int row, int col) const {
  auto it = alignments_.find({row, col});
  return it == alignments_.end() ? 0 : it->second;
}

void FakeOpenFileDialog::ShowOpen() {
  if (static_cast<std::size_t>(shown) >= answers.size()) {
    throw std::logic_error("FakeOpenFileDialog: no answer left");
  }
  const Answer& a = answers[static_cast<std::size_t>(shown++)];
  if (a.cancel) {
    if (cancelError) throw RuntimeError(ErrorCode::kCancel);
    return;
  }
  fileName_ = a.path;
}

}  // namespace orv::test

#include "tests/support/Fakes.h"

#include <stdexcept>

namespace orv::test {
namespace {

class FakeItem : public platform::DetailItem {
 public:
  explicit FakeItem(FakeDetailSources& sources) : sources_(sources) {}
  ~FakeItem() override { sources_.log.push_back(QStringLiteral("release item")); }

 private:
  FakeDetailSources& sources_;
};

class FakeFolder : public platform::DetailFolder {
 public:
  FakeFolder(FakeDetailSources& sources, QString path)
      : sources_(sources), path_(std::move(path)) {}
  ~FakeFolder() override { sources_.log.push_back(QStringLiteral("release folder")); }
  std::unique_ptr<platform::DetailItem> ParseName(const QString& name) override {
    sources_.log.push_back(QStringLiteral("ParseName ") + name);
    sources_.onParseName(path_, name);
    return std::make_unique<FakeItem>(sources_);
  }
  QString GetDetailsOf(const platform::DetailItem*, int column) override {
    const auto it = sources_.columns.find(column);
    return it == sources_.columns.end() ? QString() : it->second;
  }

 private:
  FakeDetailSources& sources_;
  QString path_;
};

class FakeSource : public platform::DetailSource {
 public:
  explicit FakeSource(FakeDetailSources& sources) : sources_(sources) {}
  ~FakeSource() override { sources_.log.push_back(QStringLiteral("release source")); }
  std::unique_ptr<platform::DetailFolder> NameSpace(const QString& folder) override {
    sources_.log.push_back(QStringLiteral("NameSpace ") + folder);
    sources_.onNameSpace(folder);
    return std::make_unique<FakeFolder>(sources_, folder);
  }

 private:
  FakeDetailSources& sources_;
};

}  // namespace

std::unique_ptr<platform::DetailSource> FakeDetailSources::create() {
  log.push_back(QStringLiteral("create"));
  return std::make_unique<FakeSource>(*this);
}

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

#include "output/PageTemplates.h"

#include "core/ProgramFiles.h"
#include "output/TemplateLines.h"
#include "text/Cp932.h"

#include <QCryptographicHash>

namespace orv {
namespace {

QByteArray encodedLines(const QString& programFolder, const QString& name,
                        platform::FileSystem& fileSystem) {
  const QString path = programFolder + name;
  QByteArray bytes;
  try {
    bytes = fileSystem.readFile(path);
  } catch (const RuntimeError& error) {
    const QString what =
        error.is(ErrorCode::kFileNotFound)
            ? QStringLiteral("ページのひな形 %1 がプログラムのフォルダーにありません。")
            : QStringLiteral("ページのひな形 %1 を読み込めません。");
    throw RuntimeError(error.number(), what.arg(name) + error.description());
  }

  // CP932 can't hold U+FFFD, so every one of them stands for bytes that aren't CP932.
  const QString text = text::cp932::decode(bytes);
  const std::vector<QStringView> lines = TemplateLines(text);
  QByteArray out;
  out.reserve(bytes.size() + 2 * static_cast<qsizetype>(lines.size()));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    for (const QChar c : lines[i]) {  // CP932 decodes to the BMP only
      if (!text::cp932::appendEncoded(c.unicode(), out)) {
        throw RuntimeError(ErrorCode::kPathFileAccessError,
                           QStringLiteral("ページのひな形 %1 の %2 行目は CP932（Shift_JIS）の"
                                          "テキストとして読めません: %3")
                               .arg(name, QString::number(i + 1), path));
      }
    }
    out.append("\r\n");
  }
  return out;
}

}  // namespace

PageTemplate PageTemplate::load(const QString& programFolder, const QString& name,
                                platform::FileSystem& fileSystem) {
  PageTemplate t;
  try {
    t.lines_ = encodedLines(programFolder, name, fileSystem);
  } catch (const RuntimeError& error) {
    t.error_ = error;
  }
  return t;
}

void PageTemplate::appendTo(QByteArray& page) const {
  if (error_) throw *error_;
  page.append(lines_);
}

QByteArray PageTemplate::identity() const {
  return error_ ? "error " + QByteArray::number(error_->number()) + ' ' +
                      error_->description().toUtf8()
                : "lines " + lines_;
}

QByteArray PageTemplates::fingerprint() const {
  QCryptographicHash hash(QCryptographicHash::Sha256);
  for (const PageTemplate* t : {&head, &tail}) {
    const QByteArray identity = t->identity();
    hash.addData(QByteArray::number(identity.size()) + ':');  // so no split point is ambiguous
    hash.addData(identity);
  }
  return hash.result();
}

PageTemplates PageTemplates::load(const QString& programFolder, platform::FileSystem& fileSystem) {
  return {PageTemplate::load(programFolder, kHeadTemplate, fileSystem),
          PageTemplate::load(programFolder, kTailTemplate, fileSystem)};
}

}  // namespace orv

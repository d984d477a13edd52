#include "core/Console.h"

#include <cstdio>

namespace orv {
namespace {

void write(std::FILE* stream, const QString& text) {
  const QByteArray bytes = text.toUtf8();
  std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
  std::fflush(stream);
}

}  // namespace

void writeOut(const QString& text) { write(stdout, text); }
void writeError(const QString& text) { write(stderr, text); }

void reportError(const QString& text) { writeError(QStringLiteral("orv: %1\n").arg(text)); }

int usageError(const QString& mistake, const QString& helpCommand) {
  reportError(QStringLiteral("%1\n使い方は %2 で確かめてください。").arg(mistake, helpCommand));
  return kExitUsage;
}

}  // namespace orv

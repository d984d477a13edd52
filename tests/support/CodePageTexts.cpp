#include "tests/support/CodePageTexts.h"

#include "text/Cp932.h"

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>

#include <stdexcept>

namespace orv::test {
namespace {

[[noreturn]] void refuse(const QString& what) { throw std::runtime_error(what.toStdString()); }

}  // namespace

QByteArray sjis(const QString& text) {
  QByteArray out;
  for (char32_t c : text.toUcs4()) {
    if (!text::cp932::appendEncoded(c, out)) refuse("not CP932: " + text);
  }
  return out;
}

QByteArray windows1252(const QString& text) {
  QStringEncoder encoder("windows-1252");
  if (!encoder.isValid()) refuse("Qt has no Windows-1252 codec");
  QByteArray out = encoder.encode(text);
  if (encoder.hasError()) refuse("not Windows-1252: " + text);
  return out;
}

QString windows1252Text(const QByteArray& bytes) {
  QStringDecoder decoder("windows-1252");
  if (!decoder.isValid()) refuse("Qt has no Windows-1252 codec");
  return decoder.decode(bytes);
}

}  // namespace orv::test

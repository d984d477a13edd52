#pragma once

// Texts as 8-bit tags hold them. Failures throw std::runtime_error.

#include <QByteArray>
#include <QString>

namespace orv::test {

// The CP932 (Shift-JIS) bytes of `text`, which must be representable.
//
//   sjis(u"テスト") == "\x83\x65\x83\x58\x83\x67"
QByteArray sjis(const QString& text);

// The Windows-1252 bytes of `text`, which must be representable (Qt's own codec, so the
// tests do not share the program's table).
//
//   windows1252(u"Café") == "Caf\xE9"
QByteArray windows1252(const QString& text);
// And the text of Windows-1252 `bytes`, by the same codec.
QString windows1252Text(const QByteArray& bytes);

}  // namespace orv::test

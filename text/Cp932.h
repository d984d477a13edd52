#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// CP932 (Windows Shift-JIS), the code page of the users' templates, pages and old tags.
namespace orv::text::cp932 {

// Decodes `bytes`; each byte that starts no valid sequence becomes U+FFFD.
//
//   decode("\x83\x65\x83\x58\x83\x67") == u"テスト"
QString decode(QByteArrayView bytes);

// Decodes `bytes` when all of them form valid CP932 sequences; nullopt otherwise.
std::optional<QString> decodeStrict(QByteArrayView bytes);

// Appends the CP932 bytes of `ch` to `out` and returns true when `ch` survives the trip
// to CP932 and back unchanged. Best-fit mappings don't count: U+00A5 (yen) would become
// the byte 0x5C, so it is not representable and nothing is appended.
//
//   QByteArray out;
//   appendEncoded(U'あ', out);   // true, out == "\x82\xA0"
//   appendEncoded(U'\u00A5', out); // false, out unchanged
bool appendEncoded(char32_t ch, QByteArray& out);

// The same for writers with their own buffer: puts the one or two CP932 bytes of `ch` at
// `out` and returns their count, or returns 0 and writes nothing.
//
//   char bytes[2];
//   encodeTo(U'あ', bytes) == 2;   // bytes == "\x82\xA0"
int encodeTo(char32_t ch, char* out);

}  // namespace orv::text::cp932

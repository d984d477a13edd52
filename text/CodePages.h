#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace orv::text {

// The 8-bit code pages whose text turns up in tags that record no encoding, besides
// Windows-1252. glibc's iconv decodes them; this program asks it once for each code.
enum class CodePage {
  kJapanese,            // CP932, Shift-JIS as Windows writes it
  kKorean,              // CP949 (Unified Hangul Code), EUC-KR and its extension
  kSimplifiedChinese,   // GB18030, GBK and its four-byte extension
  kTraditionalChinese,  // CP950, Big5 as Windows writes it
  kCyrillic,            // Windows-1251
  kCentralEuropean,     // Windows-1250
};

// `bytes` decoded, when every one of them is part of a character of `page`; nullopt when
// one is not, or when the system has no converter for `page`.
//
//   decodeStrict(CodePage::kKorean, "\xC7\xD1") == u"한"
//   decodeStrict(CodePage::kCyrillic, "\x98") == std::nullopt   // unassigned
std::optional<QString> decodeStrict(CodePage page, QByteArrayView bytes);

// The character of the byte `b` (0x80 or above) in the single-byte code page `page`
// (kCyrillic or kCentralEuropean), or 0 where the page assigns none.
//
//   highCharacter(CodePage::kCyrillic, 0xC0) == u'А'
char16_t highCharacter(CodePage page, unsigned char b);

}  // namespace orv::text

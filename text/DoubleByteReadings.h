#pragma once

#include <QByteArrayView>
#include <QStringView>

#include <optional>

namespace orv::text {

// The languages of double-byte code pages, each with its character frequencies.
enum class DoubleByteLanguage {
  kJapanese,            // CP932: kana and kanji, and half-width katakana by katakana pairs
  kKorean,              // CP949: Hangul syllables; hanja are rare in Korean tags
  kSimplifiedChinese,   // GB18030
  kTraditionalChinese,  // CP950
};

// How plausible `text`, the reading of `bytes` in the language's code page, is as text of
// that language: in half-bits, the log-likelihood of its characters outside ASCII in the
// language over that of random bytes (7.5 bits a byte; 7 for Japanese). A common
// character counts for it, a rare one or one that belongs to another script against it,
// and so does a character that runs into a Latin word: one whose trail byte is an ASCII
// letter and followed by another, one between two ASCII letters, one right before a small
// ASCII letter or (but in Japanese: "iPhone用") right after one. A user-defined character
// counts as no text has it. nullopt when `text` is not that reading of `bytes`.
//
//   doubleBytePlausibility(kKorean, "\xBB\xE7\xB6\xFB", u"사랑") == 28  // "love"
//   doubleBytePlausibility(kSimplifiedChinese, "\xBB\xE7\xB6\xFB", u"荤尔") == 2
std::optional<int> doubleBytePlausibility(DoubleByteLanguage language, QByteArrayView bytes,
                                          QStringView text);

}  // namespace orv::text

#pragma once

#include "text/CodePages.h"

#include <QByteArrayView>
#include <QStringView>

#include <optional>

namespace orv::text {

// How plausible `text`, the reading of `bytes` in the double-byte page `page`, is as text
// of the page's languages: in half-bits, the log-likelihood of its characters outside ASCII
// there over that of random bytes, by the page's CharacterModel. A common character counts
// for it, a rare one or one that belongs to another script against it, and so does a
// character that runs into a Latin word: one whose trail byte is an ASCII letter and
// followed by another, one between two ASCII letters, one right before a small ASCII
// letter or (but in Japanese: "iPhone用") right after one. A user-defined character counts
// as no text has it. nullopt when `text` is not that reading of `bytes`.
//
//   const CodePage& korean = kCodePages[pageNamed("euc-kr")];
//   const CodePage& chinese = kCodePages[pageNamed("gbk")];
//   doubleBytePlausibility(korean, "\xBB\xE7\xB6\xFB", u"사랑") == 28  // "love"
//   doubleBytePlausibility(chinese, "\xBB\xE7\xB6\xFB", u"荤尔") == 2
std::optional<int> doubleBytePlausibility(const CodePage& page, QByteArrayView bytes,
                                          QStringView text);

}  // namespace orv::text

#pragma once

#include "text/CodePages.h"

#include <QByteArrayView>

#include <optional>

namespace orv::text {

// How plausible the letter that the byte s[i] (0x80 or above) is in the single-byte page
// `page` is, between its neighbours, by the page's LetterModel: in half-bits, the
// log-likelihood of it after the letter before it and of the letter after it, over that of
// random bytes. A word's edge counts as a letter of its own. Against it count a capital
// after a small letter; outside the Western page, a small letter after two capitals
// ("ЖУКч"); outside Latin script, an ASCII letter beside it. Outside the Western page, a
// letter that stands alone as a word counts at most 0: it is as likely a Western one
// ("à"). nullopt when the byte is no letter there.
//
//   const CodePage& cyrillic = kCodePages[pageNamed("windows-1251")];
//   const CodePage& western = kCodePages[kWesternPage];
//   letterPlausibility(cyrillic, "\xCA\xE8\xED\xEE", 1) > 0          // "Кино": и
//   letterPlausibility(cyrillic, "Andr\xE9s", 4) < 0                 // "Andrйs"
//   letterPlausibility(western, "Andr\xE9s", 4) > 0                  // "Andrés"
std::optional<int> letterPlausibility(const CodePage& page, QByteArrayView s, qsizetype i);

}  // namespace orv::text

#pragma once

#include <QByteArrayView>

#include <optional>

namespace orv::text {

// The languages of the single-byte code pages, each with the frequencies of its letter
// pairs.
enum class LetterLanguage {
  kWestern,          // Windows-1252: French, German, Spanish, Portuguese, Italian, Nordic
  kCyrillic,         // Windows-1251: Russian, Ukrainian, Bulgarian, Serbian
  kCentralEuropean,  // Windows-1250: Czech, Polish, Hungarian, Slovak, Croatian, Romanian
};

// How plausible the letter that the byte s[i] (0x80 or above) is in the language's code
// page is, between its neighbours: in half-bits, the log-likelihood of it after the
// letter before it and of the letter after it, over that of random bytes. A word's edge
// counts as a letter of its own. Against it count a capital after a small letter; outside
// Western text, a small letter after two capitals ("ЖУКч"); in Cyrillic, an ASCII letter
// beside it. Outside Western text, a letter that stands alone as a word counts at most 0:
// it is as likely a Western one ("à"). nullopt when the byte is no letter there.
//
//   letterPlausibility(kCyrillic, "\xCA\xE8\xED\xEE", 1) > 0          // "Кино": и
//   letterPlausibility(kCyrillic, "Andr\xE9s", 4) < 0                 // "Andrйs"
//   letterPlausibility(kWestern, "Andr\xE9s", 4) > 0                  // "Andrés"
std::optional<int> letterPlausibility(LetterLanguage language, QByteArrayView s, qsizetype i);

}  // namespace orv::text

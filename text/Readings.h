#pragma once

#include "text/CodePages.h"
#include "text/EightBitField.h"

#include <QByteArrayView>
#include <QString>
#include <QVarLengthArray>

#include <cstddef>

namespace orv::text {

// One code page's reading of an 8-bit text, and how plausible it is as text of the page's
// languages: in half-bits, the log-likelihood of its characters outside ASCII under the
// languages' character frequencies (double-byte pages; see DoubleByteReadings.h) or
// letter-pair frequencies (single-byte pages; see SingleByteReadings.h and LetterPairs.h),
// over that of random bytes. An ID3v1 field cut inside its last character costs a
// double-byte reading 1 bit more. Readings of different texts in one page add up: the sum
// is the plausibility of all of them in that page.
struct Reading {
  std::size_t page = 0;  // its row in kCodePages
  // The bytes it reads, within the field's: all of them, or all but the lead byte whose
  // trail byte the end of an ID3v1 field cut off.
  QByteArrayView bytes;
  int plausibility = 0;
};

// Every code page's reading of one field's 8-bit text, in the order of kCodePages: one for
// each page that decodes its bytes, the Western one always. The Japanese reading is there
// only where the bytes have CP932's shape (JapaneseWeights.h). The readings point into the
// field's bytes.
//
//   const EightBitReadings r = readEightBitText({"\xBE\xC6\xC0\xCC\xC0\xAF"});  // 아이유
//   r.readings[0].page == kJapanesePage, r.readings[1].page == kWesternPage
//   r.readings[2].page == pageNamed("euc-kr"), r.readings[2].plausibility == 46
//   textOf(r.readings[2]) == u"아이유"
struct EightBitReadings {
  QVarLengthArray<Reading, kCodePages.size()> readings;
  int japaneseWeight = 0;  // the Japanese reading's weight by its shape, where it has one
};
EightBitReadings readEightBitText(const FieldBytes& field);

// The text that `reading` reads.
//
//   textOf({kWesternPage, "Caf\xE9"}) == u"Café"
QString textOf(const Reading& reading);

}  // namespace orv::text

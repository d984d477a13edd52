#pragma once

#include <QString>

namespace orv::fuzz {

// What converting a play time gives: milliseconds, or the number of the error raised.
struct PlayTimeOutcome {
  bool failed = false;
  int value = 0;  // milliseconds, or the error number when `failed`

  friend bool operator==(const PlayTimeOutcome&, const PlayTimeOutcome&) = default;
};

// A second, deliberately plain conversion of a play time "H:MM:SS" to milliseconds, made
// from the rules alone and sharing no code with the program's, to hold it against:
// a text of 32,767 characters or more fails with kOverflow; a third colon with
// kSubscriptOutOfRange; fewer than two colons give 1000; each piece, blanks (space, tab,
// line feed) taken out, is read as [sign] digits [. digits] up to the first other
// character, rounded half to even, and must fit 16 bits (else kOverflow);
// (h × 3600 + m × 60 + s) × 1000, each step in 32 bits (else kOverflow).
//
//   referencePlayTime(u"0:03:25") == PlayTimeOutcome{false, 205000}
//   referencePlayTime(u"1:2:3:4") == PlayTimeOutcome{true, 9}  // kSubscriptOutOfRange
PlayTimeOutcome referencePlayTime(const QString& text);

// The outcome as text for messages: "205000" or "error 9".
QString describe(const PlayTimeOutcome& outcome);

}  // namespace orv::fuzz

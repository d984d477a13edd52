#pragma once

#include <QString>

namespace orv {

// Removes leading and trailing spaces (U+0020 only; tabs and ideographic spaces stay).
//
//   Trim("  a b  ") == "a b"
QString Trim(const QString& text);

// The text with every double quote (U+0022) turned into an apostrophe; nothing else
// changes. Texts longer than 32,766 characters raise the overflow error.
//
//   ReplaceQuotes(R"(say "hi")") == "say 'hi'"
QString ReplaceQuotes(const QString& text);

}  // namespace orv

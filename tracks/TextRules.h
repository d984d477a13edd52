#pragma once

#include <QString>
#include <QStringView>

namespace orv {

// The part of `text` without its leading and trailing spaces (U+0020 only; tabs and
// ideographic spaces stay). A view into `text`: nothing is copied.
//
//   TrimSpaces(u"  a b  ") == u"a b"
QStringView TrimSpaces(QStringView text);

// TrimSpaces as a text of its own.
//
//   Trim("  a b  ") == "a b"
QString Trim(const QString& text);

// The text with every double quote (U+0022) turned into an apostrophe; nothing else
// changes. Texts longer than 32,766 characters raise ErrorCode::kOverflow.
//
//   ReplaceQuotes(R"(say "hi")") == "say 'hi'"
QString ReplaceQuotes(const QString& text);

}  // namespace orv

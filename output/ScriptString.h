#pragma once

#include <QByteArray>
#include <QStringView>

namespace orv {

// Appends `text` to `page` in CP932 as the inside of a double-quoted script string, so
// that the script reads back exactly `text` and nothing in it can end the string or the
// script element: \ and " get a backslash; <, the control characters U+0000-U+001F and
// U+007F, the line separators U+2028 and U+2029, and every character CP932 can't hold
// become \uXXXX (upper-case hex, one escape per UTF-16 code unit). Everything else is
// written as its CP932 bytes.
//
//   AppendScriptString(u"AC\\DC</b>", page);   // appends  AC\\DC\u003C/b>
//   AppendScriptString(u"¥😀", page);          // appends  \u00A5\uD83D\uDE00
void AppendScriptString(QStringView text, QByteArray& page);

}  // namespace orv

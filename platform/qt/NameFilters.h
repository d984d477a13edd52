#pragma once

#include <QString>

namespace orv::platform {

// Which file chooser the filter goes to. Qt's own dialog matches name patterns in any
// letter case by itself; the desktop's choosers (GTK's, the portal's) match them as
// written, so there every letter becomes a bracket of both its cases.
enum class Chooser { kQt, kDesktop };

// A name filter of the open-file dialog, "description (pattern)", for `chooser`.
// Letters already inside a bracket, and characters without case, stay as written.
//
//   nameFilter(u"mp3ファイル", u"*.mp3", Chooser::kQt)      == "mp3ファイル (*.mp3)"
//   nameFilter(u"mp3ファイル", u"*.mp3", Chooser::kDesktop) == "mp3ファイル (*.[mM][pP]3)"
QString nameFilter(const QString& description, const QString& pattern, Chooser chooser);

}  // namespace orv::platform

#pragma once

#include <QString>
#include <QStringList>

namespace orv::platform {

// Which file chooser the filter goes to. Qt's own dialog matches name patterns in any
// letter case by itself; the desktop's choosers (GTK's, the portal's) match them as
// written, so there every letter becomes a bracket of both its cases.
enum class Chooser { kQt, kDesktop };

// The open-file dialog's filter text, "description|pattern[;pattern…][|description|…]",
// as Qt's name filters, "description (pattern pattern…)".
//
//   nameFilters(u"mp3ファイル|*.mp3", Chooser::kQt)      == {"mp3ファイル (*.mp3)"}
//   nameFilters(u"mp3ファイル|*.mp3", Chooser::kDesktop) == {"mp3ファイル (*.[mM][pP]3)"}
//   nameFilters(u"音|*.mp3;*.wav|全部|*", Chooser::kQt)  == {"音 (*.mp3 *.wav)", "全部 (*)"}
QStringList nameFilters(const QString& filter, Chooser chooser);

}  // namespace orv::platform

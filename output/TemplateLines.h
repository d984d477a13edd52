#pragma once

#include <QStringView>

#include <vector>

namespace orv {

// The lines of a page template. A line ends at CR or at CR LF, and the ending is not
// part of it; a lone LF stays inside the line. The last line counts even without an
// ending; an empty template has no lines.
//
//   TemplateLines(u"a\r\nb\rc\nd")  == {u"a", u"b", u"c\nd"}
//   TemplateLines(u"a\r\n")         == {u"a"}
//   TemplateLines(u"")              == {}
std::vector<QStringView> TemplateLines(QStringView text);

}  // namespace orv

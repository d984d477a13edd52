#include "output/TemplateLines.h"

namespace orv {

std::vector<QStringView> TemplateLines(QStringView text) {
  std::vector<QStringView> lines;
  qsizetype begin = 0;
  while (begin < text.size()) {
    const qsizetype cr = text.indexOf(u'\r', begin);
    if (cr < 0) {
      lines.push_back(text.sliced(begin));
      break;
    }
    lines.push_back(text.sliced(begin, cr - begin));
    begin = cr + 1;
    if (begin < text.size() && text.at(begin) == u'\n') ++begin;
  }
  return lines;
}

}  // namespace orv

#include "platform/qt/NameFilters.h"

#include <gtest/gtest.h>

namespace orv::platform {
namespace {

TEST(NameFiltersTest, QtsDialogGetsThePatternsAsWrittenTheDesktopsInAnyLetterCase) {
  struct Case {
    const char* filter;
    QStringList forQt, forDesktop;
  };
  const Case cases[] = {
      {"mp3ファイル|*.mp3", {"mp3ファイル (*.mp3)"}, {"mp3ファイル (*.[mM][pP]3)"}},
      {"音|*.MP3; *.wav ;|全部|*",
       {"音 (*.MP3 *.wav)", "全部 (*)"},
       {"音 (*.[mM][pP]3 *.[wW][aA][vV])", "全部 (*)"}},
      // Brackets already written stay as they are; so do characters without case.
      {"曲|[ab]c?.ö", {"曲 ([ab]c?.ö)"}, {"曲 ([ab][cC]?.[öÖ])"}},
      {"", {}, {}},
  };
  for (const Case& c : cases) {
    const QString filter = QString::fromUtf8(c.filter);
    EXPECT_EQ(nameFilters(filter, Chooser::kQt), c.forQt) << c.filter;
    EXPECT_EQ(nameFilters(filter, Chooser::kDesktop), c.forDesktop) << c.filter;
  }
}

}  // namespace
}  // namespace orv::platform

#include "platform/qt/NameFilters.h"

#include <gtest/gtest.h>

namespace orv::platform {
namespace {

TEST(NameFilterTest, QtsDialogGetsThePatternAsWrittenTheDesktopsInAnyLetterCase) {
  EXPECT_EQ(nameFilter("mp3ファイル", "*.mp3", Chooser::kQt), "mp3ファイル (*.mp3)");
  EXPECT_EQ(nameFilter("mp3ファイル", "*.mp3", Chooser::kDesktop), "mp3ファイル (*.[mM][pP]3)");
  // Brackets already written stay as they are; so do characters without case.
  EXPECT_EQ(nameFilter("曲", "[ab]c?.ö", Chooser::kDesktop), "曲 ([ab][cC]?.[öÖ])");
}

}  // namespace
}  // namespace orv::platform

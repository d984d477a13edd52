#include "app/ShownAlbum.h"

#include "tests/support/Errors.h"
#include "tests/support/Fakes.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using platform::ListedTrack;

TrackRecord track(QString title, QString duration, QString artist = {}, QString album = {}) {
  TrackRecord r;
  r.title = std::move(title);
  r.duration = std::move(duration);
  r.artist = std::move(artist);
  r.albumTitle = std::move(album);
  return r;
}

TrackTable tableOf(std::initializer_list<TrackRecord> records) {
  TrackTable table;
  table.resize(Int16(records.size()));
  Int16 i = 0;
  for (const TrackRecord& r : records) {
    table[i] = r;
    ++i;
  }
  return table;
}

TEST(ShowAlbum, ShowsEachRecordsTitleAndPlayTimeTrimmedAndInOrder) {
  const struct {
    const char* name;
    QString title, duration;
    ListedTrack shown;
  } cases[] = {
      {"plain", "Intro", "0:03:25", {"Intro", "0:03:25"}},
      {"spaces around", "  Outro  ", " 0:10:00 ", {"Outro", "0:10:00"}},
      {"inner spaces stay", "A  B", "1:00:00", {"A  B", "1:00:00"}},
      {"only U+0020 is trimmed", "\t曲\u3000", "0:00:01", {"\t曲\u3000", "0:00:01"}},
      {"blank play time", "Silence", "", {"Silence", ""}},
      {"play time not reformatted", "X", "3:25", {"X", "3:25"}},
  };
  for (const auto& c : cases) {
    test::FakeFormControls controls;
    const TrackTable table = tableOf({track("first", "0:00:01"), track(c.title, c.duration),
                                      track("third", ""), track("not shown", "")});
    showAlbum(controls.asFormControls(), table, 3);
    EXPECT_EQ(controls.trackList.rows,
              (std::vector<ListedTrack>{{"first", "0:00:01"}, c.shown, {"third", ""}}))
        << c.name;
    EXPECT_EQ(table[1].title, c.title) << c.name << ": the table keeps the stored text";
  }
}

TEST(ShowAlbum, LabelsComeFromTheFirstRecordOnlyTrimmed) {
  const struct {
    const char* name;
    TrackRecord first, second;
    QString albumTitle, albumArtist;
  } cases[] = {
      {"trimmed", track("t", "", "  Artist ", " Album  "), track("u", "", "X", "Y"), "Album",
       "Artist"},
      {"defaults of record 0 win over later tags",
       track("t", "", "アーティスト情報なし", "アルバムタイトルなし"),
       track("u", "", "Real Artist", "Real Album"), "アルバムタイトルなし", "アーティスト情報なし"},
  };
  for (const auto& c : cases) {
    test::FakeFormControls controls;
    showAlbum(controls.asFormControls(), tableOf({c.first, c.second}), 2);
    EXPECT_EQ(controls.albumTitleLabel.caption(), c.albumTitle) << c.name;
    EXPECT_EQ(controls.albumArtistLabel.caption(), c.albumArtist) << c.name;
  }
}

TEST(ShowAlbum, AnEmptyTableRaisesAnIndexErrorAndShowsNothing) {
  test::FakeFormControls controls;
  controls.albumTitleLabel.setCaption("before");
  EXPECT_EQ(test::errorOf([&] { showAlbum(controls.asFormControls(), TrackTable(), 1); }).number(),
            9);
  EXPECT_EQ(controls.albumTitleLabel.caption(), "before");
  EXPECT_TRUE(controls.trackList.rows.empty());
}

}  // namespace
}  // namespace orv

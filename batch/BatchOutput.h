#pragma once

#include "batch/AlbumBuild.h"

#include <QString>

#include <chrono>

namespace orv::batch {

// A play time as the album page shows one: whole seconds (rounded), "1:02:03" from an
// hour, "45:12" below; with `withHours` always "H:MM:SS", as the batch's lines align it.
//
//   playTimeText(3723000) == "1:02:03";  playTimeText(75400) == "1:15"
//   playTimeText(75400, /*withHours=*/true) == "0:01:15"
QString playTimeText(qint64 milliseconds, bool withHours = false);

// The folder as the batch shows it: its absolute path, without the trailing "/".
QString shownFolder(const QString& folder);

// One album's line for standard output, ending in a line feed: the outcome (作成, 失敗,
// 予定, 最新), the track count, the total play time and the folder, then for a failure its
// error on the same line. A dry run adds an indented line for each rename and each file
// it would write (a page that would stay as it is, 「そのまま」), the cover with the picture
// it would be made from.
//
//   作成    25曲  1:23:45  /music/Artist/Album
//   失敗     2曲         -  /music/Clash  エラー 58: 「…」を「…」に名前を変更できません。…
QString albumLines(const AlbumOutcome& outcome, bool dryRun);

// One album as a JSON object on one line, ending in a line feed, with the fields folder,
// status ("built", "failed", "planned", "current"), tracks, renamed ([{"from", "to"}] file names),
// page (a path or null), cover_copied (whether the build gave the album its jacket.jpg),
// cover_source (CoverSource::text(): "kept", "placeholder", "file:cover.png",
// "tags:01_Intro.mp3"; null when the build stopped before the cover), error_number (or
// null) and error (or null).
QString albumJson(const AlbumOutcome& outcome);

// What the whole run did, for the last line on standard error.
struct Tally {
  int built = 0;    // or, in a dry run, planned
  int current = 0;  // left alone, unchanged since built
  int failed = 0;
  int skipped = 0;     // folders without MP3 files
  int notStarted = 0;  // albums an interrupted run left alone
  qint64 tracks = 0;
};
QString summaryLine(const Tally& tally, bool dryRun, double seconds);

// The progress line on standard error, redrawn in place; only on a terminal.
class Progress {
 public:
  Progress(int albums, bool shown);
  // Redraws with the albums and tracks done so far, at most ten times a second unless
  // `now` is true.
  void update(int albumsDone, qint64 tracks, bool now = false);
  // Clears the line, so that other output can take its place.
  void clear();
  double secondsElapsed() const;

 private:
  using Clock = std::chrono::steady_clock;
  const int albums_;
  const bool shown_;
  const Clock::time_point start_ = Clock::now();
  Clock::time_point drawn_{};
  bool visible_ = false;
};

}  // namespace orv::batch

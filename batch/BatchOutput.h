#pragma once

#include "batch/AlbumBuild.h"

#include <QString>
#include <QStringList>

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

// `text` for a line of the batch's plain output: each control character written out
// ("\n", "\r", "\t", else "\x" and two hex digits), so that every line stays one line
// and no name sends the terminal a control sequence.
//
//   lineText("tab\tbell\a line\nend") == R"(tab\tbell\x07 line\nend)"
QString lineText(const QString& text);

// One album's line for standard output, ending in a line feed: the outcome (作成, 失敗,
// 予定, 最新), the track count, the total play time and the folder, then for a failure its
// error on the same line (its line breaks as spaces). A dry run adds an indented line
// for the encoding its 8-bit tag texts are read in (where it has any; with the bits the
// verdict won by, or "指定" for the user's), and one for each rename and each file it
// would write (a page that would stay as it is, 「そのまま」), the cover with the picture
// it would be made from; a current album has none. Names and messages are shown as
// lineText shows them.
//
//   作成    25曲  1:23:45  /music/Artist/Album
//   失敗     2曲         -  /music/Clash  エラー 58: 「…」を「…」に名前を変更できません。…
//   予定    12曲  0:48:10  /music/넬/Healing Process
//       文字コード: euc-kr（判定の差 30.5 ビット）
QString albumLines(const AlbumOutcome& outcome, bool dryRun);

// One album as a JSON object on one line, ending in a line feed, with the fields folder,
// status ("built", "failed", "planned", "current"), title and artist (as the tags name
// them; null where they name none, and the page shows its placeholder text, or where the
// build failed before the tags were read), tracks, time (the total play time as the page
// shows it, "1:05" or "1:02:03"; null for a failure), renamed ([{"from", "to"}] file names),
// page (a path or null), cover_copied (whether the build gave the album its jacket.jpg),
// cover_source (CoverSource::text(): "kept", "placeholder", "file:cover.png",
// "tags:01_Intro.mp3", "replaced:file:cover.png"; null when the build stopped before the
// cover), text_encoding (the encoding of the album's 8-bit tag texts by its WHATWG name,
// "shift_jis", "euc-kr", …, "utf-8" where all were UTF-8; null when it has none or was
// not built), text_encoding_margin (the bits the verdict won by; null where none was
// weighed: the user's encoding, or no other reading), error_number (or null) and error
// (or null).
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
// The summary line of the tally, with the seconds since the start:
//
//   作成 25、失敗 1、スキップ 3（mp3ファイルのないフォルダー）、412 曲、経過 4.2 秒
QString summaryLine(const Tally& tally, bool dryRun, double seconds);

// The progress line's text: the albums and tracks done so far and the time since the
// start; then the albums that wait for another build (another Orv's) to end, or, when
// none waits, the time left as the albums so far foretell it. A long folder is cut to
// its end.
//
//   progressLine(3, 10, 120, 5.0, {})   // "アルバム 3/10、120 曲、経過 0:05、残り 約 0:12"
//   progressLine(3, 10, 120, 5.0, {"/m/A/"})   // "…、経過 0:05、別の Orv の作成待ち: /m/A"
QString progressLine(int albumsDone, int albums, qint64 tracks, double seconds,
                     const QStringList& waitingFor);

// The progress line on standard error, redrawn in place; only on a terminal.
class Progress {
 public:
  Progress(int albums, bool shown);
  // Redraws with the albums and tracks done so far and the albums waiting (progressLine),
  // at most ten times a second unless `now` is true.
  void update(int albumsDone, qint64 tracks, const QStringList& waitingFor, bool now = false);
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

#pragma once

#include "batch/AlbumBuild.h"
#include "batch/AlbumState.h"
#include "platform/BuildRecords.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <optional>

namespace orv::batch {

// The record of builds as one run uses it. Opened for the run: to read alone in a dry
// run, which trusts what it reads as the real run would and changes nothing; not at all
// in a dry run with --force. A record that can't be used, at the start or later, is put
// aside with one line on standard error, and the run goes on as if there were none:
// every album from there on is built. A damaged record, or one of another version of Orv,
// is started afresh, also with one line. Used from the threads that build at once.
//
//   RunRecords records(services.records, options, pageSettings(options, templates));
//   if (auto summary = records.currentSummary(folder, files)) return current(*summary);
class RunRecords {
 public:
  RunRecords(platform::BuildRecords& records, const BatchOptions& options, QByteArray settings);

  // The album as its last build left it, when `files` are as they were then and the
  // settings the same; none otherwise.
  std::optional<album::Summary> currentSummary(const QString& folder, const AlbumFiles& files);

  // Notes that `album` was built and left its folder's files as `files` show them.
  void remember(const AlbumFiles& files, const album::Summary& album);

  // Writes what remember() noted, for other runs to see: after each batch of albums.
  void flush();

 private:
  void putAside(const RuntimeError& error);

  platform::BuildRecords& records_;
  const QByteArray settings_;
  const bool dryRun_;
  std::atomic<bool> usable_{false};
  std::atomic<bool> told_{false};
};

// Builds the album in `albumFolder` (ending in "/") as BuildAlbum does, unless it is
// current: then it is neither read, locked nor written, and its outcome is the summary
// of its last build with AlbumStatus::kCurrent, the page left as it is and the cover
// kept. With options.force it is built whatever the record says. What a build makes is
// remembered, unless its tracks changed meanwhile. While it waits for another build it is
// among the `waiting`, when given. Never throws.
//
//   AlbumOutcome outcome = BuildUnlessCurrent("/music/album/", services, options, records);
//   outcome.status == AlbumStatus::kCurrent   // on a second run over an unchanged album
AlbumOutcome BuildUnlessCurrent(const QString& albumFolder, const BuildServices& services,
                                const BatchOptions& options, RunRecords& records,
                                WaitingAlbums* waiting = nullptr);

}  // namespace orv::batch

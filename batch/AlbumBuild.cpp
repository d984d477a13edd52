#include "batch/AlbumBuild.h"

#include "batch/AlbumMessages.h"
#include "output/AlbumPage.h"
#include "output/PlayTime.h"
#include "tracks/FolderScan.h"
#include "tracks/TextRules.h"

namespace orv::batch {
namespace {

void fail(AlbumOutcome& outcome, std::optional<int> number, const QString& text) {
  outcome.status = AlbumStatus::kFailed;
  outcome.errorNumber = number;
  outcome.error = text;
}

// The album as its page shows it: record 0's title and artist, and the sum of the
// tracks' play times.
void describe(AlbumOutcome& outcome, const TrackTable& table, Int16 count) {
  outcome.title = Trim(table[0].albumTitle);
  outcome.artist = Trim(table[0].artist);
  for (Int16 k = 0; k < count; ++k) {
    outcome.milliseconds += PlayTimeToMilliseconds(table[k].duration).value();
  }
}

}  // namespace

AlbumOutcome BuildAlbum(const QString& albumFolder, const BuildServices& services, bool dryRun) {
  AlbumOutcome outcome;
  outcome.folder = albumFolder;
  AlbumFiles files(services.fileSystem, dryRun);
  DryRunDetailSources dryRunDetails(services.detailSources, files);
  AlbumMessages messages;
  ScanContext scan{.fileSystem = files,
                   .detailSources = dryRun ? dryRunDetails : services.detailSources,
                   .windowSystem = messages};
  try {
    const Int16 trackCount = CountMp3Files(albumFolder, scan);
    outcome.tracks = trackCount.value();
    if (trackCount > 0) {
      const TrackTable table = FillTrackTable(albumFolder, trackCount, scan);
      WriteAlbumHtml(table, trackCount, services.templates, services.programFolder, files);
      describe(outcome, table, trackCount);
      outcome.status = dryRun ? AlbumStatus::kPlanned : AlbumStatus::kBuilt;
    } else {
      // The scan has shown why there is no album (an empty folder, or one too large for
      // an album); the window stops there, and so does this album.
      fail(outcome, std::nullopt,
           messages.messages().isEmpty() ? kNoMp3FilesMessage
                                         : messages.messages().join(QStringLiteral("\r\n")));
    }
  } catch (const AlbumEnded& end) {
    fail(outcome, end.errorNumber, end.text);
  } catch (...) {
    // What the window leaves to its standard report: the page writer's failures.
    const RuntimeError error = asRuntimeError(std::current_exception());
    fail(outcome, error.number(), error.description());
  }
  outcome.renames = files.renames();
  outcome.page = files.page();
  outcome.coverCopied = files.coverCopied();
  return outcome;
}

AlbumOutcome FailedAlbum(const QString& albumFolder, const RuntimeError& error) {
  AlbumOutcome outcome;
  outcome.folder = albumFolder;
  fail(outcome, error.number(), error.description());
  return outcome;
}

}  // namespace orv::batch

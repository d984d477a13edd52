#include "batch/CurrentAlbums.h"

#include "core/Console.h"
#include "core/ProgramFiles.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace orv::batch {
namespace {

using Found = platform::BuildRecords::Found;

// What the record keeps of an album: what its line, its JSON and its card show.
QByteArray recordedSummary(const album::Summary& album) {
  const QJsonObject summary{{QStringLiteral("title"), album.texts.title},
                            {QStringLiteral("artist"), album.texts.artist},
                            {QStringLiteral("titleTagged"), album.texts.titleTagged},
                            {QStringLiteral("artistTagged"), album.texts.artistTagged},
                            {QStringLiteral("tracks"), album.tracks.value()},
                            {QStringLiteral("milliseconds"), album.milliseconds}};
  return QJsonDocument(summary).toJson(QJsonDocument::Compact);
}

// The album of `folder` as recorded, its page and cover left as they are; none for a
// record this version can't read.
std::optional<album::Summary> summaryOf(const QString& folder, const QByteArray& recorded) {
  const QJsonObject summary = QJsonDocument::fromJson(recorded).object();
  const int tracks = summary.value(QStringLiteral("tracks")).toInt();
  if (tracks < 1 || tracks > album::kLargestAlbum) return std::nullopt;
  return album::Summary{.folder = folder,
                        .texts = {summary.value(QStringLiteral("title")).toString(),
                                  summary.value(QStringLiteral("artist")).toString(),
                                  summary.value(QStringLiteral("titleTagged")).toBool(),
                                  summary.value(QStringLiteral("artistTagged")).toBool()},
                        .tracks = Int16(tracks),
                        .milliseconds = summary.value(QStringLiteral("milliseconds")).toInteger(),
                        .page = folder + kAlbumPageName,
                        .pageChanged = false,
                        .cover = album::CoverSource{album::CoverSource::Kind::kKept, {}}};
}

// The line that tells a record started afresh, or read as empty in a dry run.
QString afreshLine(Found found, bool dryRun, const QString& location) {
  const QString why = found == Found::kDamaged ? QStringLiteral("が壊れていた")
                                               : QStringLiteral("は別の版の Orv のものだった");
  return dryRun ? QStringLiteral("作成の記録 %1 %2ため、読みません。").arg(location, why)
                : QStringLiteral(
                      "作成の記録 %1 %2ため、新しく作り直しました。すべてのアルバムを"
                      "作ります。")
                      .arg(location, why);
}

}  // namespace

RunRecords::RunRecords(platform::BuildRecords& records, const BatchOptions& options,
                       QByteArray settings)
    : records_(records), settings_(std::move(settings)), dryRun_(options.dryRun) {
  if (dryRun_ && options.force) return;
  try {
    const Found found = records_.open(dryRun_ ? platform::BuildRecords::Access::kRead
                                              : platform::BuildRecords::Access::kReadWrite);
    if (found == Found::kDamaged || found == Found::kOtherVersion) {
      reportError(afreshLine(found, dryRun_, records_.location()));
    }
    usable_ = true;
  } catch (const RuntimeError& error) {
    putAside(error);
  }
}

void RunRecords::putAside(const RuntimeError& error) {
  usable_ = false;
  // Told once, whichever thread met it first.
  if (told_.exchange(true)) return;
  reportError(error.description() + QStringLiteral("。作成の記録なしで続けます。"));
}

std::optional<album::Summary> RunRecords::currentSummary(const QString& folder,
                                                         const AlbumFiles& files) {
  if (!usable_) return std::nullopt;
  try {
    const std::optional<platform::BuildRecord> record = records_.find(folder);
    if (!record || record->state != albumState(settings_, files)) return std::nullopt;
    return summaryOf(folder, record->summary);
  } catch (const RuntimeError& error) {
    putAside(error);
    return std::nullopt;
  }
}

void RunRecords::remember(const AlbumFiles& files, const album::Summary& album) {
  if (!usable_ || dryRun_) return;
  try {
    records_.store(album.folder, {albumState(settings_, files), recordedSummary(album)});
  } catch (const RuntimeError& error) {
    putAside(error);
  }
}

void RunRecords::flush() {
  if (!usable_ || dryRun_) return;
  try {
    records_.flush();
  } catch (const RuntimeError& error) {
    putAside(error);
  }
}

AlbumOutcome BuildUnlessCurrent(const QString& albumFolder, const BuildServices& services,
                                const BatchOptions& options, RunRecords& records,
                                WaitingAlbums* waiting) {
  platform::FileSystem& fileSystem = services.album.fileSystem;
  std::optional<AlbumFiles> before;
  try {
    before = lookAtAlbum(albumFolder, fileSystem);
  } catch (const RuntimeError&) {
    // The build meets the same failure and tells it as the window would.
  }
  if (before && !options.force) {
    if (std::optional<album::Summary> summary = records.currentSummary(albumFolder, *before)) {
      return {AlbumStatus::kCurrent, std::move(*summary)};
    }
  }
  AlbumOutcome outcome = BuildAlbum(albumFolder, services, options, waiting);
  if (before && outcome.status == AlbumStatus::kBuilt) {
    try {
      const AlbumFiles after = lookAtAlbum(albumFolder, fileSystem);
      if (changedOnlyByRenames(*before, after, outcome.album.renames)) {
        records.remember(after, outcome.album);
      }
    } catch (const RuntimeError&) {
      // Not remembered: the next run builds it again.
    }
  }
  return outcome;
}

}  // namespace orv::batch

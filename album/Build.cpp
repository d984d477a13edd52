#include "album/Build.h"

#include "core/NameOrder.h"
#include "core/ProgramFiles.h"
#include "output/AlbumPage.h"
#include "tracks/FolderScan.h"

#include <QLocale>

#include <algorithm>
#include <exception>
#include <utility>
#include <vector>

namespace orv::album {
namespace {

// The files a build writes into the album folder; a build cut off leaves their
// temporary files.
const QStringList kWrittenFiles{kAlbumPageName, kCoverName};

// The records in the order of their files' names on disk, as the folder lists them;
// records of the same name keep the listing's order.
TrackTable inOrderOfFileNames(TrackTable&& listed) {
  const Int16 count = listed.count();
  std::vector<std::pair<OrderedName, Int16>> order;
  order.reserve(static_cast<std::size_t>(count.value()));
  for (Int16 i = 0; i < count; ++i) order.emplace_back(OrderedName(listed[i].fileName), i);
  std::stable_sort(order.begin(), order.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  TrackTable sorted;
  sorted.resize(count);
  for (Int16 k = 0; k < count; ++k) sorted[k] = std::move(listed[order[k.value()].second]);
  return sorted;
}

Failed failed(Failed::Stage stage, Summary&& album) {
  const RuntimeError error = asRuntimeError(std::current_exception());
  const bool unreachable = stage == Failed::Stage::kScan && error.is(ErrorCode::kFileNotFound);
  return {stage, error, unreachable ? kSpecialCharacterMessage : error.description(),
          std::move(album)};
}

// The build's own cover step: the program's jacket.jpg when the album has none.
class ProgramCover final : public CoverStep {
 public:
  ProgramCover(platform::FileSystem& fileSystem, QString programFolder)
      : fileSystem_(fileSystem), programFolder_(std::move(programFolder)) {}

  CoverSource coverAlbum(const QString& albumFolder, const TrackTable&, Int16) override {
    const bool copied = CopyProgramCover(fileSystem_, programFolder_, albumFolder);
    return {copied ? CoverSource::Kind::kPlaceholder : CoverSource::Kind::kKept, {}};
  }

 private:
  platform::FileSystem& fileSystem_;
  const QString programFolder_;
};

WrittenPage writePage(const QString& albumFolder, const TrackTable& table, Int16 count,
                      const Services& services) {
  return services.templates
             ? WriteAlbumPage(albumFolder, table, count, *services.templates, services.fileSystem)
             : WriteAlbumPage(albumFolder, table, count, services.programFolder,
                              services.fileSystem);
}

}  // namespace

QString tooManyMp3FilesMessage(Int16 count) {
  const QLocale numbers(QLocale::Japanese);
  return QStringLiteral(
             "フォルダーにmp3ファイルが%1個あります。\r\n1つのアルバムで扱えるのは%2個までです。"
             "\r\nフォルダーを分けてから、もう一度実行してください。")
      .arg(numbers.toString(count.value()), numbers.toString(kLargestAlbum));
}

QString CoverSource::text() const {
  switch (kind) {
    case Kind::kKept:
      return QStringLiteral("kept");
    case Kind::kFile:
    case Kind::kTags: {
      const QString source =
          (kind == Kind::kFile ? QStringLiteral("file:") : QStringLiteral("tags:")) + name;
      return replacedPlaceholder ? QStringLiteral("replaced:") + source : source;
    }
    case Kind::kPlaceholder:
      break;
  }
  return QStringLiteral("placeholder");
}

Outcome build(const QString& albumFolder, const Services& services, Events& events,
              CoverStep* cover) {
  bool waited = false;
  const auto lock = services.folderLocks.lock(albumFolder, [&] {
    const bool first = !std::exchange(waited, true);
    return events.keepWaiting(first);
  });
  if (!lock) return Abandoned{};
  if (waited) events.waitOver();

  Summary album{.folder = albumFolder};
  // What the hook raises passes through the scan's handling below.
  bool hookFailed = false;
  ScanContext scan{.fileSystem = services.fileSystem,
                   .trackDetails = services.trackDetails,
                   .textEncoding = services.textEncoding,
                   .trackRead = [&](Int16 read, Int16 count) {
                     try {
                       events.trackRead(read, count);
                     } catch (...) {
                       hookFailed = true;
                       throw;
                     }
                   }};
  TrackTable table;
  try {
    album.tracks = CountMp3Files(albumFolder, scan);
    // Nothing has been renamed or written, and nothing will be.
    if (album.tracks == 0) return NoAlbum{kNoMp3FilesMessage};
    if (album.tracks > kLargestAlbum) return NoAlbum{tooManyMp3FilesMessage(album.tracks)};
    FilledTable filled = FillTrackTable(albumFolder, album.tracks, scan);
    album.textVerdict = filled.textVerdict;
    table = inOrderOfFileNames(std::move(filled.table));
    album.renames = std::move(scan.renames);
  } catch (...) {
    if (hookFailed) throw;
    album.renames = std::move(scan.renames);
    return failed(Failed::Stage::kScan, std::move(album));
  }
  album.texts = albumTexts(table);

  events.tracksRead(table, album.tracks);

  try {
    services.fileSystem.removeLeftoverTemporaryFiles(albumFolder, kWrittenFiles);
    const WrittenPage written = writePage(albumFolder, table, album.tracks, services);
    album.milliseconds = written.milliseconds;
    album.page = albumFolder + kAlbumPageName;
    album.pageChanged = written.changed;
    ProgramCover programCover(services.fileSystem, services.programFolder);
    album.cover = (cover ? *cover : programCover).coverAlbum(albumFolder, table, album.tracks);
    return Built{std::move(table), std::move(album)};
  } catch (...) {
    return failed(Failed::Stage::kPage, std::move(album));
  }
}

}  // namespace orv::album

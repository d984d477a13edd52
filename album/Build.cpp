#include "album/Build.h"

#include "core/NameOrder.h"
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
const QStringList kWrittenFiles{QStringLiteral("disk.html"), QStringLiteral("jacket.jpg")};

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

Failed failed(Failed::Stage stage, Int16 tracks) {
  const RuntimeError error = asRuntimeError(std::current_exception());
  const bool unreachable = stage == Failed::Stage::kScan && error.is(ErrorCode::kFileNotFound);
  return {stage, error, unreachable ? kSpecialCharacterMessage : error.description(), tracks};
}

}  // namespace

QString tooManyMp3FilesMessage(Int16 count) {
  const QLocale numbers(QLocale::Japanese);
  return QStringLiteral(
             "フォルダーにmp3ファイルが%1個あります。\r\n1つのアルバムで扱えるのは%2個までです。"
             "\r\nフォルダーを分けてから、もう一度実行してください。")
      .arg(numbers.toString(count.value()), numbers.toString(kLargestAlbum));
}

Outcome build(const QString& albumFolder, const Services& services, Events& events) {
  bool waited = false;
  const auto lock = services.folderLocks.lock(albumFolder, [&] {
    const bool first = !std::exchange(waited, true);
    return events.keepWaiting(first);
  });
  if (!lock) return Abandoned{};
  if (waited) events.waitOver();

  ScanContext scan{.fileSystem = services.fileSystem,
                   .trackDetails = services.trackDetails,
                   .textEncoding = services.textEncoding};
  Int16 count = 0;
  TrackTable table;
  text::AlbumVerdict textVerdict;
  try {
    count = CountMp3Files(albumFolder, scan);
    // Nothing has been renamed or written, and nothing will be.
    if (count == 0) return NoAlbum{kNoMp3FilesMessage};
    if (count > kLargestAlbum) return NoAlbum{tooManyMp3FilesMessage(count)};
    FilledTable filled = FillTrackTable(albumFolder, count, scan);
    textVerdict = filled.textVerdict;
    table = inOrderOfFileNames(std::move(filled.table));
  } catch (...) {
    return failed(Failed::Stage::kScan, count);
  }

  events.tracksRead(table, count);

  try {
    services.fileSystem.removeLeftoverTemporaryFiles(albumFolder, kWrittenFiles);
    const qint64 milliseconds =
        services.templates
            ? WriteAlbumPage(table, count, *services.templates, services.fileSystem)
            : WriteAlbumPage(table, count, services.programFolder, services.fileSystem);
    if (services.cover) {
      services.cover->coverAlbum(albumFolder, table, count);
    } else {
      CopyProgramCover(services.fileSystem, services.programFolder, albumFolder);
    }
    return Built{std::move(table), count, milliseconds, textVerdict};
  } catch (...) {
    return failed(Failed::Stage::kPage, count);
  }
}

}  // namespace orv::album

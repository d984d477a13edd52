#pragma once

#include "batch/AlbumBuild.h"
#include "platform/FileSystem.h"

#include <QByteArray>
#include <QJsonArray>
#include <QString>

#include <optional>
#include <vector>

namespace orv::batch {

// Which albums the library page lists: the library, not the run. A run's page holds a
// fresh card for each album it built, and keeps the cards of earlier runs as it read
// them back from the earlier page's own data block, fields it doesn't know included.

// The start of the page's data block, a JSON array of card objects in which every "<"
// is written "\u003c", so that no text ends the element.
inline constexpr char kLibraryDataStart[] = R"(<script type="application/json" id="library-data">)";

// Whether an album with this status has a fresh card on the page.
bool listedOnLibraryPage(AlbumStatus status);

// The cards of a page Orv wrote, as its data block holds them; none when the page has
// no data block, or one that is not an array of card objects each naming its folder
// (a page damaged since).
//
//   readLibraryCards(readFile("/music/index.html"))->size() == 412
std::optional<QJsonArray> readLibraryCards(const QByteArray& page);

// The cards of the library page at `indexPath` (absolute) after a run: a fresh card for
// each album of `albums` that listedOnLibraryPage, and each of the `earlier` cards whose
// album still has its disk.html, unless a fresh card stands for the same folder (by any
// path to it). A card whose page can't be looked at for another reason than its absence
// stays. In the order in which -r finds the folders: by path, each part in name order,
// a folder before the folders in it.
//
//   libraryCards("/m/index.html", {builtB}, earlierAandB, fs)   // A as it was, B anew
QJsonArray libraryCards(const QString& indexPath, const std::vector<AlbumOutcome>& albums,
                        const QJsonArray& earlier, platform::FileSystem& fileSystem);

// The cards of the library page at `path` after this run, for its writer, who holds the
// lock of its folder: libraryCards of `albums` and of the cards of the earlier page when
// it is Orv's (`orvPage`). Of an earlier page whose cards can't be read, this run's
// albums alone, or none when there are none, which leaves the page as it is; either is
// said in a line on standard error.
//
//   if (const auto cards = cardsAfterRun(path, true, outcomes, fs)) write(*cards);
std::optional<QJsonArray> cardsAfterRun(const QString& path, bool orvPage,
                                        const std::vector<AlbumOutcome>& albums,
                                        platform::FileSystem& fileSystem);

// What the page's summary counts: the cards, their tracks and their play time (from a
// card's "milliseconds", or, on a card an older Orv wrote, from its "time" text).
//
//   libraryTotals(cards) == {.albums = 2, .tracks = 21, .milliseconds = 4'061'000}
struct LibraryTotals {
  qint64 albums = 0;
  qint64 tracks = 0;
  qint64 milliseconds = 0;
  bool operator==(const LibraryTotals&) const = default;
};
LibraryTotals libraryTotals(const QJsonArray& cards);

}  // namespace orv::batch

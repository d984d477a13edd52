#include "batch/LibraryCards.h"

#include "batch/LibraryIndex.h"
#include "core/Console.h"
#include "core/NameOrder.h"
#include "core/ProgramFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <set>

namespace orv::batch {
namespace {

const QString kFolderField = QStringLiteral("folder");

// A card with the key it is sorted by: its album's absolute path, part by part, each
// part as OrderedName orders names, upper-cased and then as it is. Parts and their two
// spellings are joined by U+0000, which no name holds and every character follows, so
// that one comparison orders whole paths, a folder before the folders in it.
struct PlacedCard {
  QString key;
  QJsonObject card;
};

PlacedCard placed(const QString& absoluteFolder, QJsonObject card) {
  QStringList spellings;
  for (const QString& part : absoluteFolder.split(u'/', Qt::SkipEmptyParts)) {
    spellings << upperCased(part) << part;
  }
  return {spellings.join(QChar(0)), std::move(card)};
}

// The album page of a card's folder (relative to the page's folder, "." for that folder).
QString albumPageOf(const QDir& indexFolder, const QString& folder) {
  QString path = QDir::cleanPath(indexFolder.absoluteFilePath(folder));
  if (!path.endsWith(u'/')) path += u'/';
  return path + kAlbumPageName;
}

// The pages of this run's albums, by what they lead to, looked at only once an earlier
// card may be of one of them by another path.
class FreshPages {
 public:
  explicit FreshPages(platform::FileSystem& fileSystem) : fileSystem_(fileSystem) {}
  void add(const QString& page) { pages_.push_back(page); }
  bool contains(const platform::FileId& id) {
    if (ids_.empty() && !pages_.empty()) {
      for (const QString& page : pages_) {
        try {
          ids_.insert(fileSystem_.fileId(page));
        } catch (const RuntimeError&) {
          // Known by its folder's name alone, as an earlier card of it is.
        }
      }
      pages_.clear();
    }
    return ids_.contains(id);
  }

 private:
  platform::FileSystem& fileSystem_;
  std::vector<QString> pages_;
  std::set<platform::FileId> ids_;
};

// Whether the album of an earlier card stays on the page: its page is there, and is no
// page of this run's. A page that can't be looked at for another reason than its absence
// (a folder that may not be entered) is taken to be there.
bool earlierCardStays(const QString& page, platform::FileSystem& fileSystem,
                      FreshPages& freshPages) {
  try {
    return !freshPages.contains(fileSystem.fileId(page));
  } catch (const RuntimeError& error) {
    return !error.is(ErrorCode::kFileNotFound);
  }
}

// A play time as the page shows it ("1:05", "1:02:03"), in milliseconds; 0 for another text.
qint64 millisecondsOf(const QString& time) {
  qint64 seconds = 0;
  for (const QString& part : time.split(u':')) {
    bool ok = false;
    const qint64 number = part.toLongLong(&ok);
    if (!ok || number < 0) return 0;
    seconds = seconds * 60 + number;
  }
  return seconds * 1000;
}

}  // namespace

bool listedOnLibraryPage(AlbumStatus status) {
  return status == AlbumStatus::kBuilt || status == AlbumStatus::kCurrent;
}

std::optional<QJsonArray> readLibraryCards(const QByteArray& page) {
  const qsizetype start = page.indexOf(kLibraryDataStart);
  if (start < 0) return std::nullopt;
  const qsizetype from = start + qsizetype(sizeof kLibraryDataStart) - 1;
  const qsizetype end = page.indexOf("</script>", from);
  if (end < 0) return std::nullopt;
  QJsonParseError error{};
  const QJsonDocument data = QJsonDocument::fromJson(page.sliced(from, end - from), &error);
  if (error.error != QJsonParseError::NoError || !data.isArray()) return std::nullopt;
  const QJsonArray cards = data.array();
  const bool everyCardNamesItsFolder =
      std::all_of(cards.begin(), cards.end(), [](const QJsonValue& card) {
        return card.isObject() && card.toObject().value(kFolderField).isString();
      });
  if (!everyCardNamesItsFolder) return std::nullopt;
  return cards;
}

QJsonArray libraryCards(const QString& indexPath, const std::vector<AlbumOutcome>& albums,
                        const QJsonArray& earlier, platform::FileSystem& fileSystem) {
  const QDir indexFolder(QFileInfo(indexPath).absolutePath());
  std::vector<PlacedCard> cards;
  std::set<QString> folders;  // as the cards name them
  FreshPages freshPages(fileSystem);
  for (const AlbumOutcome& outcome : albums) {
    if (!listedOnLibraryPage(outcome.status)) continue;
    QJsonObject card = libraryCard(indexFolder, outcome.album);
    if (!folders.insert(card.value(kFolderField).toString()).second) continue;
    freshPages.add(outcome.album.folder + kAlbumPageName);
    cards.push_back(placed(QDir::cleanPath(outcome.album.folder), std::move(card)));
  }
  for (const QJsonValue& value : earlier) {
    QJsonObject card = value.toObject();
    const QString folder = card.value(kFolderField).toString();
    if (folders.contains(folder)) continue;
    const QString page = albumPageOf(indexFolder, folder);
    if (!earlierCardStays(page, fileSystem, freshPages)) continue;
    folders.insert(folder);
    cards.push_back(placed(page.chopped(kAlbumPageName.size()), std::move(card)));
  }
  std::stable_sort(cards.begin(), cards.end(),
                   [](const PlacedCard& a, const PlacedCard& b) { return a.key < b.key; });
  QJsonArray listed;
  for (PlacedCard& card : cards) listed.append(std::move(card.card));
  return listed;
}

std::optional<QJsonArray> cardsAfterRun(const QString& path, bool orvPage,
                                        const std::vector<AlbumOutcome>& albums,
                                        platform::FileSystem& fileSystem) {
  const std::optional<QJsonArray> earlier =
      orvPage ? readLibraryCards(fileSystem.readFile(path)) : QJsonArray();
  QJsonArray cards = libraryCards(path, albums, earlier.value_or(QJsonArray()), fileSystem);
  if (earlier) return cards;
  if (cards.isEmpty()) {
    writeError(QStringLiteral("一覧ページ %1 のアルバムを読み取れず、載せるアルバムもないため、"
                              "そのままにしました。\n")
                   .arg(path));
    return std::nullopt;
  }
  writeError(QStringLiteral("一覧ページ %1 のアルバムを読み取れないため、今回作成したアルバム"
                            "だけで作り直しました。\n")
                 .arg(path));
  return cards;
}

LibraryTotals libraryTotals(const QJsonArray& cards) {
  LibraryTotals totals{.albums = cards.size()};
  for (const QJsonValue& value : cards) {
    const QJsonObject card = value.toObject();
    totals.tracks += card.value(QStringLiteral("tracks")).toInteger();
    const QJsonValue milliseconds = card.value(QStringLiteral("milliseconds"));
    totals.milliseconds += milliseconds.isDouble()
                               ? milliseconds.toInteger()
                               : millisecondsOf(card.value(QStringLiteral("time")).toString());
  }
  return totals;
}

}  // namespace orv::batch

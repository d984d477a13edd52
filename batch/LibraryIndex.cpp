#include "batch/LibraryIndex.h"

#include "batch/BatchOutput.h"
#include "batch/CoverCopies.h"
#include "batch/LibraryCards.h"
#include "core/RuntimeError.h"
#include "tracks/TagReading.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QUrl>

namespace orv::batch {
namespace {

// The cards as JSON that may stand in a script element: no "<" as such, so no text ends
// the element or opens a comment in it.
QByteArray cardsJson(const QJsonArray& cards) {
  return QJsonDocument(cards).toJson(QJsonDocument::Compact).replace('<', "\\u003c");
}

// A part of the page, compiled into the program.
QByteArray pageResource(const QString& name) {
  QFile file(QStringLiteral(":/orv/") + name);
  if (!file.open(QIODevice::ReadOnly)) {
    throw RuntimeError(ErrorCode::kInternalError,
                       QStringLiteral("一覧ページのひな形がプログラムにありません。"));
  }
  return file.readAll();
}

QString folderOf(const QString& path) { return path.left(path.lastIndexOf(u'/') + 1); }

// Whether anything that can be reached is under `path`.
bool exists(const QString& path, platform::FileSystem& fileSystem) {
  try {
    fileSystem.queryAttributes(path);
    return true;
  } catch (const RuntimeError& error) {
    if (error.is(ErrorCode::kFileNotFound)) return false;
    throw;
  }
}

}  // namespace

// The album as its card shows it: its folder relative to the page (by which the page
// links to it), and the title and artist only as the tags give them. An album without
// a title is shown by its folder's name.
QJsonObject libraryCard(const QDir& indexFolder, const album::Summary& album) {
  const QString folder = QDir::cleanPath(album.folder);
  QJsonObject card{{QStringLiteral("folder"), indexFolder.relativeFilePath(folder)},
                   {QStringLiteral("tracks"), album.tracks.value()},
                   {QStringLiteral("time"), playTimeText(album.milliseconds)},
                   {QStringLiteral("milliseconds"), album.milliseconds}};
  if (album.texts.titleTagged) {
    card.insert(QStringLiteral("title"), album.texts.title);
  } else {
    const QString name = folder.mid(folder.lastIndexOf(u'/') + 1);
    card.insert(QStringLiteral("title"), name.isEmpty() ? folder : name);
    card.insert(QStringLiteral("fromFolder"), true);
  }
  if (album.texts.artistTagged) card.insert(QStringLiteral("artist"), album.texts.artist);
  return card;
}

LibraryIndexTarget checkLibraryIndexTarget(const QString& path, platform::FileSystem& fileSystem) {
  const QString folder = folderOf(path);
  if (!exists(folder, fileSystem)) {
    throw RuntimeError(ErrorCode::kPathNotFound,
                       QStringLiteral("一覧ページを書くフォルダー %1 がありません。").arg(folder));
  }
  const bool orvPage = fileSystem.fileExists(path);
  if (orvPage && !fileSystem.readFile(path).contains(kLibraryIndexMarker)) {
    throw RuntimeError(ErrorCode::kFileAlreadyExists,
                       QStringLiteral("%1 は Orv が書いた一覧ページではないため、置き換えません。"
                                      "別のファイル名を指定してください。")
                           .arg(path));
  }
  if (!orvPage && exists(path, fileSystem)) {
    throw RuntimeError(
        ErrorCode::kPathFileAccessError,
        QStringLiteral("%1 はファイルではないため、一覧ページを書けません。").arg(path));
  }
  // Orv's own page may still be protected or reached by a link, and a link may lead
  // nowhere: such a page is refused as the album pages are. Replaced in a dry run, it
  // meets what its replacement would meet first.
  fileSystem.dryRun()->replaceFileAtomically(path, {});
  return orvPage ? LibraryIndexTarget::kOrvPage : LibraryIndexTarget::kNew;
}

QByteArray libraryIndexPage(const QString& path, const QJsonArray& cards) {
  QByteArray page = pageResource(QStringLiteral("library.html"));
  page.replace("//ORV:SEARCH", pageResource(QStringLiteral("library_search.js")));
  page.replace("ORV:NO-ARTIST", kNoArtist.toUtf8());
  // Percent-encoded, the folder's name is a URL that may stand in an attribute as it is.
  const QString copies = coverCopiesFolder(path).sliced(folderOf(path).size());
  page.replace("ORV:COVERS", QUrl::toPercentEncoding(copies, "/"));
  const LibraryTotals totals = libraryTotals(cards);
  const QLocale numbers(QLocale::English);
  const QString summary = QStringLiteral("%1 アルバム・%2 曲・%3")
                              .arg(numbers.toString(totals.albums), numbers.toString(totals.tracks),
                                   playTimeText(totals.milliseconds));
  page.replace("<!--ORV:SUMMARY-->", summary.toUtf8());
  page.replace("<!--ORV:ALBUMS-->", cardsJson(cards));  // last: the titles hold anything
  return page;
}

bool writeLibraryIndex(const QString& path, const std::vector<AlbumOutcome>& albums,
                       platform::FileSystem& fileSystem, platform::FolderLocks& folderLocks,
                       const std::function<bool()>& keepWaiting, const CoverCopies* covers) {
  const QString folder = folderOf(path);
  const auto lock = folderLocks.lock(folder, keepWaiting);
  if (!lock) return false;
  fileSystem.removeLeftoverTemporaryFiles(folder, {path.sliced(folder.size())});
  const bool orvPage = checkLibraryIndexTarget(path, fileSystem) == LibraryIndexTarget::kOrvPage;
  std::optional<QJsonArray> cards = cardsAfterRun(path, orvPage, albums, fileSystem);
  if (!cards) return true;  // an earlier page that can't be read, and nothing to list
  if (covers) {
    covers->giveCards(path, *cards);
    if (!keepWaiting()) return false;  // interrupted while the copies were made
  }
  const QByteArray page = libraryIndexPage(path, *cards);
  if (orvPage) {
    fileSystem.replaceFileIfDifferent(path, page);  // an unchanged page stays as it is
    return true;
  }
  try {
    fileSystem.createFileAtomically(path, page);
  } catch (const RuntimeError& error) {
    if (!error.is(ErrorCode::kFileAlreadyExists)) throw;
    throw RuntimeError(ErrorCode::kFileAlreadyExists,
                       QStringLiteral("一覧ページを書く間に %1 に別のファイルができたため、"
                                      "置き換えずにそのままにしました。別のファイル名を指定して"
                                      "ください。")
                           .arg(path));
  }
  return true;
}

}  // namespace orv::batch

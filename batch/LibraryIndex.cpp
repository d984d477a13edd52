#include "batch/LibraryIndex.h"

#include "batch/BatchOutput.h"
#include "core/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QUrl>

namespace orv::batch {
namespace {

// A relative URL from the index's folder to `target`, each part percent-encoded.
QString relativeUrl(const QDir& from, const QString& target) {
  QStringList parts = from.relativeFilePath(target).split(u'/');
  for (QString& part : parts) part = QString::fromLatin1(QUrl::toPercentEncoding(part));
  return parts.join(u'/');
}

// The album as its card shows it. An album without a title is shown by its folder's
// name, with the folder below it and the artist only where the tags name one.
QJsonObject card(const QDir& indexFolder, const album::Summary& album) {
  const QString folder = QDir::cleanPath(album.folder);
  QJsonObject card{{QStringLiteral("folder"), indexFolder.relativeFilePath(folder)},
                   {QStringLiteral("url"), relativeUrl(indexFolder, folder) + u'/'},
                   {QStringLiteral("tracks"), album.tracks.value()},
                   {QStringLiteral("time"), playTimeText(album.milliseconds)}};
  if (album.texts.titleTagged) {
    card.insert(QStringLiteral("title"), album.texts.title);
    card.insert(QStringLiteral("artist"), album.texts.artist);
  } else {
    const QString name = folder.mid(folder.lastIndexOf(u'/') + 1);
    card.insert(QStringLiteral("title"), name.isEmpty() ? folder : name);
    card.insert(QStringLiteral("fromFolder"), true);
    if (album.texts.artistTagged) card.insert(QStringLiteral("artist"), album.texts.artist);
  }
  return card;
}

// The cards as JSON that may stand in a script element: no "<" as such, so no text ends
// the element or opens a comment in it.
QByteArray cardsJson(const QJsonArray& cards) {
  return QJsonDocument(cards).toJson(QJsonDocument::Compact).replace('<', "\\u003c");
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

QByteArray libraryIndexPage(const QString& path, const std::vector<AlbumOutcome>& albums) {
  QFile file(QStringLiteral(":/orv/library.html"));
  if (!file.open(QIODevice::ReadOnly)) {
    throw RuntimeError(ErrorCode::kInternalError,
                       QStringLiteral("一覧ページのひな形がプログラムにありません。"));
  }
  QByteArray page = file.readAll();

  const QDir indexFolder(folderOf(path));
  QJsonArray cards;
  int built = 0;
  qint64 tracks = 0;
  qint64 milliseconds = 0;
  for (const AlbumOutcome& outcome : albums) {
    if (outcome.status != AlbumStatus::kBuilt && outcome.status != AlbumStatus::kCurrent) continue;
    cards.append(card(indexFolder, outcome.album));
    ++built;
    tracks += outcome.album.tracks.value();
    milliseconds += outcome.album.milliseconds;
  }
  const QLocale numbers(QLocale::English);
  const QString summary =
      QStringLiteral("%1 アルバム・%2 曲・%3")
          .arg(numbers.toString(built), numbers.toString(tracks), playTimeText(milliseconds));
  page.replace("<!--ORV:SUMMARY-->", summary.toUtf8());
  page.replace("<!--ORV:ALBUMS-->", cardsJson(cards));
  return page;
}

bool writeLibraryIndex(const QString& path, const std::vector<AlbumOutcome>& albums,
                       platform::FileSystem& fileSystem, platform::FolderLocks& folderLocks,
                       const std::function<bool()>& keepWaiting) {
  const QByteArray page = libraryIndexPage(path, albums);
  const QString folder = folderOf(path);
  const auto lock = folderLocks.lock(folder, keepWaiting);
  if (!lock) return false;
  fileSystem.removeLeftoverTemporaryFiles(folder, {path.sliced(folder.size())});
  if (checkLibraryIndexTarget(path, fileSystem) == LibraryIndexTarget::kOrvPage) {
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

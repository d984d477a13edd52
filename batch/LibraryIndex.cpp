#include "batch/LibraryIndex.h"

#include "batch/BatchOutput.h"
#include "core/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QUrl>

namespace orv::batch {
namespace {

QString html(const QString& text) { return text.toHtmlEscaped().replace(u'\'', "&#39;"); }

// A relative URL from the index's folder to `target`, each part percent-encoded.
QString relativeUrl(const QDir& from, const QString& target) {
  QStringList parts = from.relativeFilePath(target).split(u'/');
  for (QString& part : parts) part = QString::fromLatin1(QUrl::toPercentEncoding(part));
  return parts.join(u'/');
}

QString card(const QDir& indexFolder, const AlbumOutcome& album) {
  const QString folder = album.folder;
  return QStringLiteral(
             "<li class=\"album\"><a class=\"album-link\" href=\"%1\">"
             "<span class=\"cover\"><img src=\"%2\" alt=\"\" loading=\"lazy\" width=\"300\" "
             "height=\"300\"></span>"
             "<span class=\"album-title\">%3</span><span class=\"album-artist\">%4</span>"
             "<span class=\"album-meta\">%5曲・%6</span></a></li>\n")
      .arg(html(relativeUrl(indexFolder, folder + QStringLiteral("disk.html"))),
           html(relativeUrl(indexFolder, folder + QStringLiteral("jacket.jpg"))), html(album.title),
           html(album.artist), QString::number(album.tracks), playTimeText(album.milliseconds));
}

QString folderOf(const QString& path) { return path.left(path.lastIndexOf(u'/') + 1); }

}  // namespace

void checkLibraryIndexTarget(const QString& path, platform::FileSystem& fileSystem) {
  const QString folder = folderOf(path);
  try {
    fileSystem.queryAttributes(folder);
  } catch (const RuntimeError& error) {
    if (!error.is(ErrorCode::kFileNotFound)) throw;
    throw RuntimeError(ErrorCode::kPathNotFound,
                       QStringLiteral("一覧ページを書くフォルダー %1 がありません。").arg(folder));
  }
  if (fileSystem.fileExists(path)) {
    if (fileSystem.readFile(path).contains(kLibraryIndexMarker)) return;
    throw RuntimeError(ErrorCode::kFileAlreadyExists,
                       QStringLiteral("%1 は Orv が書いた一覧ページではないため、置き換えません。"
                                      "別のファイル名を指定してください。")
                           .arg(path));
  }
  try {
    fileSystem.queryAttributes(path);
  } catch (const RuntimeError& error) {
    if (error.is(ErrorCode::kFileNotFound)) return;  // a new page
    throw;
  }
  throw RuntimeError(
      ErrorCode::kPathFileAccessError,
      QStringLiteral("%1 はファイルではないため、一覧ページを書けません。").arg(path));
}

QByteArray libraryIndexPage(const QString& path, const std::vector<AlbumOutcome>& albums) {
  QFile file(QStringLiteral(":/orv/library.html"));
  if (!file.open(QIODevice::ReadOnly)) {
    throw RuntimeError(ErrorCode::kInternalError,
                       QStringLiteral("一覧ページのひな形がプログラムにありません。"));
  }
  const QString layout = QString::fromUtf8(file.readAll());

  const QDir indexFolder(folderOf(path));
  QString cards;
  int built = 0;
  qint64 tracks = 0;
  qint64 milliseconds = 0;
  for (const AlbumOutcome& album : albums) {
    if (album.status != AlbumStatus::kBuilt) continue;
    cards += card(indexFolder, album);
    ++built;
    tracks += album.tracks;
    milliseconds += album.milliseconds;
  }
  const QLocale numbers(QLocale::English);
  const QString summary =
      QStringLiteral("%1 アルバム・%2 曲・%3")
          .arg(numbers.toString(built), numbers.toString(tracks), playTimeText(milliseconds));
  QString page = layout;
  page.replace(QStringLiteral("<!--ORV:SUMMARY-->"), summary);
  page.replace(QStringLiteral("<!--ORV:ALBUMS-->\n"), cards);
  return page.toUtf8();
}

void writeLibraryIndex(const QString& path, const std::vector<AlbumOutcome>& albums,
                       platform::FileSystem& fileSystem) {
  checkLibraryIndexTarget(path, fileSystem);
  fileSystem.replaceFileAtomically(path, libraryIndexPage(path, albums));
}

}  // namespace orv::batch

#include "batch/BatchOutput.h"

#include "core/Console.h"
#include "core/ProgramFiles.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace orv::batch {
namespace {

QString fileName(const QString& path) { return path.sliced(path.lastIndexOf(u'/') + 1); }

QString oneLine(QString text) {
  return text.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\n', u' ');
}

// `text` as a JSON string, quotes included, escaped by Qt's own JSON writer.
QString jsonString(const QString& text) {
  const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
  return QString::fromUtf8(array.sliced(1, array.size() - 2));  // without [ and ]
}

QString jsonOrNull(const QString& text) {
  return text.isEmpty() ? QStringLiteral("null") : jsonString(text);
}

// The dry run's line for the page: written, or left as it is when it would not change.
QString pageLine(const album::Summary& album) {
  return album.pageChanged ? QStringLiteral("    書き込み: %1\n").arg(album.page)
                           : QStringLiteral("    そのまま: %1（同じ内容）\n").arg(album.page);
}

// The dry run's line for the cover the album would get; none for a cover it keeps.
QString coverLine(const album::CoverSource& cover, const QString& folder) {
  const QString jacket = folder + kCoverName;
  switch (cover.kind) {
    case album::CoverSource::Kind::kKept:
      break;
    case album::CoverSource::Kind::kPlaceholder:
      return QStringLiteral("    コピー: %1\n").arg(jacket);
    case album::CoverSource::Kind::kFile:
      return QStringLiteral("    書き込み: %1（%2 から）\n").arg(jacket, cover.name);
    case album::CoverSource::Kind::kTags:
      return QStringLiteral("    書き込み: %1（%2 のタグの画像から）\n").arg(jacket, cover.name);
  }
  return {};
}

}  // namespace

QString playTimeText(qint64 milliseconds, bool withHours) {
  const qint64 seconds = (milliseconds + 500) / 1000;
  const qint64 h = seconds / 3600;
  const QString ms = QStringLiteral("%1:%2")
                         .arg(seconds / 60 % 60, h > 0 || withHours ? 2 : 1, 10, QChar(u'0'))
                         .arg(seconds % 60, 2, 10, QChar(u'0'));
  return h > 0 || withHours ? QStringLiteral("%1:%2").arg(h).arg(ms) : ms;
}

QString shownFolder(const QString& folder) {
  return folder.size() > 1 && folder.endsWith(u'/') ? folder.chopped(1) : folder;
}

QString albumLines(const AlbumOutcome& o, bool dryRun) {
  static const QString kWords[] = {QStringLiteral("作成"), QStringLiteral("予定"),
                                   QStringLiteral("最新"), QStringLiteral("失敗")};
  const bool failed = o.status == AlbumStatus::kFailed;
  // Every placeholder filled in one pass: a folder named "x%1y" is shown as it is.
  QString line = QStringLiteral("%1 %2曲 %3  %4")
                     .arg(kWords[static_cast<int>(o.status)],
                          QString::number(o.album.tracks.value()).rightJustified(6),
                          (failed ? QStringLiteral("-") : playTimeText(o.album.milliseconds, true))
                              .rightJustified(9),
                          shownFolder(o.album.folder));
  if (failed) {
    line += o.errorNumber ? QStringLiteral("  エラー %1: ").arg(*o.errorNumber)
                          : QStringLiteral("  エラー: ");
    line += oneLine(o.error);
  }
  line += u'\n';
  // A current album is left as it is: nothing to tell of it.
  if (dryRun && o.status != AlbumStatus::kCurrent) {
    for (const Rename& r : o.album.renames) {
      line += QStringLiteral("    名前の変更: %1 → %2\n").arg(fileName(r.from), fileName(r.to));
    }
    if (!o.album.page.isEmpty()) line += pageLine(o.album);
    if (o.album.cover) line += coverLine(*o.album.cover, o.album.folder);
  }
  return line;
}

QString albumJson(const AlbumOutcome& o) {
  static const char* const kStatus[] = {"built", "planned", "current", "failed"};
  QStringList renamed;
  for (const Rename& r : o.album.renames) {
    renamed << QStringLiteral("{\"from\":%1,\"to\":%2}")
                   .arg(jsonString(fileName(r.from)), jsonString(fileName(r.to)));
  }
  // One pass, as above: a folder's "%1" must not take the place of a later field.
  return QStringLiteral(
             "{\"folder\":%1,\"status\":\"%2\",\"tracks\":%3,\"renamed\":[%4],\"page\":%5,"
             "\"cover_copied\":%6,\"cover_source\":%7,\"error_number\":%8,\"error\":%9}\n")
      .arg(jsonString(shownFolder(o.album.folder)),
           QLatin1String(kStatus[static_cast<int>(o.status)]),
           QString::number(o.album.tracks.value()), renamed.join(u','), jsonOrNull(o.album.page),
           o.album.cover && o.album.cover->kind != album::CoverSource::Kind::kKept
               ? QStringLiteral("true")
               : QStringLiteral("false"),
           o.album.cover ? jsonString(o.album.cover->text()) : QStringLiteral("null"),
           o.errorNumber ? QString::number(*o.errorNumber) : QStringLiteral("null"),
           o.status == AlbumStatus::kFailed ? jsonString(o.error) : QStringLiteral("null"));
}

QString summaryLine(const Tally& t, bool dryRun, double seconds) {
  const QString notStarted =
      t.notStarted > 0 ? QStringLiteral("、未着手 %1（中断）").arg(t.notStarted) : QString();
  const QString current = t.current > 0 ? QStringLiteral("、最新 %1").arg(t.current) : QString();
  return QStringLiteral(
             "%1 %2%3、失敗 %4%5、スキップ %6（mp3ファイルのないフォルダー）、%7 曲、%8 秒\n")
      .arg(dryRun ? QStringLiteral("作成予定") : QStringLiteral("作成"))
      .arg(t.built)
      .arg(current)
      .arg(t.failed)
      .arg(notStarted)
      .arg(t.skipped)
      .arg(t.tracks)
      .arg(seconds, 0, 'f', 1);
}

Progress::Progress(int albums, bool shown) : albums_(albums), shown_(shown) {}

double Progress::secondsElapsed() const {
  return std::chrono::duration<double>(Clock::now() - start_).count();
}

void Progress::update(int albumsDone, qint64 tracks, bool now) {
  if (!shown_) return;
  const Clock::time_point t = Clock::now();
  if (!now && visible_ && t - drawn_ < std::chrono::milliseconds(100)) return;
  drawn_ = t;
  const double elapsed = secondsElapsed();
  QString text = QStringLiteral("\rアルバム %1/%2、%3 曲、経過 %4")
                     .arg(albumsDone)
                     .arg(albums_)
                     .arg(tracks)
                     .arg(playTimeText(qint64(elapsed * 1000)));
  if (albumsDone > 0 && albumsDone < albums_) {
    const double left = elapsed / albumsDone * (albums_ - albumsDone);
    text += QStringLiteral("、残り 約 %1").arg(playTimeText(qint64(left * 1000)));
  }
  writeError(text + QStringLiteral("\x1b[K"));
  visible_ = true;
}

void Progress::clear() {
  if (!visible_) return;
  writeError(QStringLiteral("\r\x1b[K"));
  visible_ = false;
}

}  // namespace orv::batch

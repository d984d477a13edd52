#include "batch/BatchOutput.h"

#include "core/Console.h"
#include "core/ProgramFiles.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <utility>

namespace orv::batch {
namespace {

QString fileName(const QString& path) { return path.sliced(path.lastIndexOf(u'/') + 1); }

// A message on one line: its own line breaks as spaces, the rest as lineText shows it.
QString oneLine(QString text) {
  return lineText(text.replace(QStringLiteral("\r\n"), QStringLiteral(" ")));
}

// `text` as a JSON string, quotes included, escaped by Qt's own JSON writer.
QString jsonString(const QString& text) {
  const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
  return QString::fromUtf8(array.sliced(1, array.size() - 2));  // without [ and ]
}

QString jsonOrNull(const QString& text) {
  return text.isEmpty() ? QStringLiteral("null") : jsonString(text);
}

const QString kNull = QStringLiteral("null");

// The dry run's line for the page, without its indent: written, or left as it is when it
// would not change.
QString pageLine(const album::Summary& album) {
  return album.pageChanged ? QStringLiteral("書き込み: %1").arg(album.page)
                           : QStringLiteral("そのまま: %1（同じ内容）").arg(album.page);
}

// The dry run's line for the cover the album would get, without its indent; none for a
// cover it keeps.
QString coverLine(const album::CoverSource& cover, const QString& folder) {
  const QString jacket = folder + kCoverName;
  switch (cover.kind) {
    case album::CoverSource::Kind::kKept:
      break;
    case album::CoverSource::Kind::kPlaceholder:
      return QStringLiteral("コピー: %1").arg(jacket);
    case album::CoverSource::Kind::kFile:
      return cover.replacedPlaceholder
                 ? QStringLiteral("置き換え: %1（Orv の既定の表紙を %2 で）")
                       .arg(jacket, cover.name)
                 : QStringLiteral("書き込み: %1（%2 から）").arg(jacket, cover.name);
    case album::CoverSource::Kind::kTags:
      return cover.replacedPlaceholder
                 ? QStringLiteral("置き換え: %1（Orv の既定の表紙を %2 のタグの画像で）")
                       .arg(jacket, cover.name)
                 : QStringLiteral("書き込み: %1（%2 のタグの画像から）").arg(jacket, cover.name);
  }
  return {};
}

// One of the dry run's indented lines, shown as lineText shows it.
QString dryRunLine(const QString& text) {
  return text.isEmpty() ? QString() : QStringLiteral("    ") + lineText(text) + u'\n';
}

// Where a waiting album is shown on the progress line: the end of a long path, so that
// the line stays within a terminal's width.
QString shortFolder(const QString& folder) {
  constexpr qsizetype kLongest = 40;
  const QString shown = lineText(shownFolder(folder));
  return shown.size() <= kLongest ? shown : u'…' + shown.right(kLongest - 1);
}

// The verdict's margin in bits, as JSON: "30.5", "12"; null where none was weighed.
QString marginJson(const text::AlbumVerdict& verdict) {
  return verdict.margin ? QString::number(*verdict.margin / 2.0) : QStringLiteral("null");
}

// The dry run's line for how the album's 8-bit tag texts would be read; none without any.
QString textEncodingLine(const text::AlbumVerdict& verdict) {
  if (!verdict.encoding) return {};
  const QString name = QString::fromUtf8(verdict.encoding->name());
  if (verdict.forced) return QStringLiteral("文字コード: %1（指定）").arg(name);
  if (!verdict.margin) return QStringLiteral("文字コード: %1").arg(name);
  return QStringLiteral("文字コード: %1（判定の差 %2 ビット）").arg(name, marginJson(verdict));
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

QString lineText(const QString& text) {
  QString shown;
  shown.reserve(text.size());
  for (const QChar c : text) {
    if (c.category() != QChar::Other_Control) {
      shown += c;
    } else if (c == u'\n') {
      shown += QStringLiteral("\\n");
    } else if (c == u'\r') {
      shown += QStringLiteral("\\r");
    } else if (c == u'\t') {
      shown += QStringLiteral("\\t");
    } else {
      shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QChar(u'0'));
    }
  }
  return shown;
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
                          lineText(shownFolder(o.album.folder)));
  if (failed) {
    line += o.errorNumber ? QStringLiteral("  エラー %1: ").arg(*o.errorNumber)
                          : QStringLiteral("  エラー: ");
    line += oneLine(o.error);
  }
  line += u'\n';
  // A current album is left as it is: nothing to tell of it.
  if (dryRun && o.status != AlbumStatus::kCurrent) {
    line += dryRunLine(textEncodingLine(o.album.textVerdict));
    for (const Rename& r : o.album.renames) {
      line +=
          dryRunLine(QStringLiteral("名前の変更: %1 → %2").arg(fileName(r.from), fileName(r.to)));
    }
    if (!o.album.page.isEmpty()) line += dryRunLine(pageLine(o.album));
    if (o.album.cover) line += dryRunLine(coverLine(*o.album.cover, o.album.folder));
  }
  return line;
}

QString albumJson(const AlbumOutcome& o) {
  static const char* const kStatus[] = {"built", "planned", "current", "failed"};
  const album::Summary& album = o.album;
  QStringList renamed;
  for (const Rename& r : album.renames) {
    renamed << QStringLiteral("{\"from\":%1,\"to\":%2}")
                   .arg(jsonString(fileName(r.from)), jsonString(fileName(r.to)));
  }
  const bool failed = o.status == AlbumStatus::kFailed;
  const text::AlbumVerdict& verdict = album.textVerdict;
  const bool coverGiven = album.cover && album.cover->kind != album::CoverSource::Kind::kKept;
  // Put together without placeholders: a folder's "%1" is never taken for one.
  const std::pair<const char*, QString> fields[] = {
      {"folder", jsonString(shownFolder(album.folder))},
      {"status", jsonString(QLatin1String(kStatus[static_cast<int>(o.status)]))},
      {"title", album.texts.titleTagged ? jsonString(album.texts.title) : kNull},
      {"artist", album.texts.artistTagged ? jsonString(album.texts.artist) : kNull},
      {"tracks", QString::number(album.tracks.value())},
      {"time", failed ? kNull : jsonString(playTimeText(album.milliseconds))},
      {"renamed", u'[' + renamed.join(u',') + u']'},
      {"page", jsonOrNull(album.page)},
      {"cover_copied", coverGiven ? QStringLiteral("true") : QStringLiteral("false")},
      {"cover_source", album.cover ? jsonString(album.cover->text()) : kNull},
      {"text_encoding",
       verdict.encoding ? jsonString(QString::fromUtf8(verdict.encoding->name())) : kNull},
      {"text_encoding_margin", marginJson(verdict)},
      {"error_number", o.errorNumber ? QString::number(*o.errorNumber) : kNull},
      {"error", failed ? jsonString(o.error) : kNull},
  };
  QString json = QStringLiteral("{");
  for (const auto& [name, value] : fields) {
    if (json.size() > 1) json += u',';
    json += u'"' + QLatin1String(name) + QStringLiteral("\":") + value;
  }
  return json + QStringLiteral("}\n");
}

QString summaryLine(const Tally& t, bool dryRun, double seconds) {
  const QString notStarted =
      t.notStarted > 0 ? QStringLiteral("、未着手 %1（中断）").arg(t.notStarted) : QString();
  const QString current = t.current > 0 ? QStringLiteral("、最新 %1").arg(t.current) : QString();
  return QStringLiteral(
             "%1 %2%3、失敗 %4%5、スキップ %6（mp3ファイルのないフォルダー）、%7 曲、経過 %8 秒\n")
      .arg(dryRun ? QStringLiteral("作成予定") : QStringLiteral("作成"))
      .arg(t.built)
      .arg(current)
      .arg(t.failed)
      .arg(notStarted)
      .arg(t.skipped)
      .arg(t.tracks)
      .arg(seconds, 0, 'f', 1);
}

QString progressLine(int albumsDone, int albums, qint64 tracks, double seconds,
                     const QStringList& waitingFor) {
  QString text = QStringLiteral("アルバム %1/%2、%3 曲、経過 %4")
                     .arg(albumsDone)
                     .arg(albums)
                     .arg(tracks)
                     .arg(playTimeText(qint64(seconds * 1000)));
  if (!waitingFor.isEmpty()) {
    const QString others = waitingFor.size() > 1
                               ? QStringLiteral(" ほか %1 件").arg(waitingFor.size() - 1)
                               : QString();
    return text + QStringLiteral("、別の Orv の作成待ち: %1%2")
                      .arg(shortFolder(waitingFor.front()), others);
  }
  if (albumsDone > 0 && albumsDone < albums) {
    const double left = seconds / albumsDone * (albums - albumsDone);
    text += QStringLiteral("、残り 約 %1").arg(playTimeText(qint64(left * 1000)));
  }
  return text;
}

Progress::Progress(int albums, bool shown) : albums_(albums), shown_(shown) {}

double Progress::secondsElapsed() const {
  return std::chrono::duration<double>(Clock::now() - start_).count();
}

void Progress::update(int albumsDone, qint64 tracks, const QStringList& waitingFor, bool now) {
  if (!shown_) return;
  const Clock::time_point t = Clock::now();
  if (!now && visible_ && t - drawn_ < std::chrono::milliseconds(100)) return;
  drawn_ = t;
  writeError(u'\r' + progressLine(albumsDone, albums_, tracks, secondsElapsed(), waitingFor) +
             QStringLiteral("\x1b[K"));
  visible_ = true;
}

void Progress::clear() {
  if (!visible_) return;
  writeError(QStringLiteral("\r\x1b[K"));
  visible_ = false;
}

}  // namespace orv::batch

#include "output/AlbumPage.h"

#include "core/ProgramFiles.h"
#include "core/RuntimeError.h"
#include "output/PlayTime.h"
#include "output/ScriptString.h"
#include "tracks/TextRules.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace orv {
namespace {

constexpr char kLineEnd[] = "\r\n";
// One pass over the table, one line per record. The counter runs from 1 to n and steps
// one past n, so n = 32,767 overflows as every 16-bit count of the program does.
template <typename Line>
void forEachRecord(Int16 n, Line&& line) {
  for (Int16 count = 1; count <= n; ++count) line(count - 1);
}

// Appends `head`, the decimal `number` and `tail` in one go: the data block has 5 lines
// per track, and a page of 32,766 tracks must still be quick.
void appendNumberBetween(std::string_view head, long long number, std::string_view tail,
                         QByteArray& page) {
  char line[64];
  char* out = std::copy(head.begin(), head.end(), line);
  out = std::to_chars(out, line + sizeof line, number).ptr;
  out = std::copy(tail.begin(), tail.end(), out);
  page.append(line, out - line);
}

// Every text lives in a heap block of its own, and on a large album waiting for them
// took a third of the writer's time: ask for the text a few records ahead.
void prefetchAhead(const TrackTable& table, Int16 n, Int16 k, QString TrackRecord::*field) {
  constexpr int kAhead = 8;
  if (k.value() + kAhead < n.value())
    __builtin_prefetch((table[k.value() + kAhead].*field).constData());
}

// The lines `array`[k] = "text"; of every record, `array` given with its "[".
void appendTexts(const TrackTable& table, Int16 n, std::string_view arrayBracket,
                 QString TrackRecord::*field, QByteArray& page) {
  forEachRecord(n, [&](Int16 k) {
    prefetchAhead(table, n, k, field);
    appendNumberBetween(arrayBracket, k.value(), "] = \"", page);
    AppendScriptString(TrimSpaces(table[k].*field), page);
    page.append("\";\r\n", 4);
  });
}

// Returns the sum of the play times.
qint64 appendDataBlock(const TrackTable& table, Int16 n, QByteArray& page) {
  appendNumberBetween("var cnt = Number(", (n - 1).value(), ");\r\n", page);
  for (const char* array : {"cdtitle", "cdartist", "fil", "bg_name", "tim", "num"}) {
    page.append(array).append(" = new Array(cnt+1);").append(kLineEnd);
  }
  appendTexts(table, n, "cdtitle[", &TrackRecord::albumTitle, page);
  appendTexts(table, n, "cdartist[", &TrackRecord::artist, page);
  appendTexts(table, n, "fil[", &TrackRecord::fileName, page);
  appendTexts(table, n, "bg_name[", &TrackRecord::title, page);
  qint64 total = 0;
  forEachRecord(n, [&](Int16 k) {
    prefetchAhead(table, n, k, &TrackRecord::duration);
    const Int32 milliseconds = PlayTimeToMilliseconds(table[k].duration);
    appendNumberBetween("tim[", k.value(), "] = new Number(", page);
    appendNumberBetween("", milliseconds.value(), ");\r\n", page);
    total += milliseconds.value();
  });
  return total;
}

}  // namespace

bool CopyProgramCover(platform::FileSystem& fileSystem, const QString& programFolder,
                      const QString& albumFolder) {
  const QString cover = albumFolder + kCoverName;
  if (fileSystem.fileExists(cover)) return false;
  try {
    fileSystem.copyFileNoReplace(programFolder + kCoverName, cover);
    return true;
  } catch (const RuntimeError& error) {
    // A cover that arrived between the test and the copy is as good as one found by the
    // test: the album has its cover and nothing was replaced.
    if (!error.is(ErrorCode::kFileAlreadyExists) || !fileSystem.fileExists(cover)) throw;
    return false;
  }
}

bool HoldsProgramCover(platform::FileSystem& fileSystem, const QString& programFolder,
                       const QString& path) {
  const QString placeholder = programFolder + kCoverName;
  const auto cover = fileSystem.fileFacts(path);
  const auto programs = fileSystem.fileFacts(placeholder);
  return cover && programs && cover->size == programs->size &&
         fileSystem.readFile(path) == fileSystem.readFile(placeholder);
}

WrittenPage WriteAlbumPage(const QString& albumFolder, const TrackTable& table, Int16 n,
                           const QString& programFolder, platform::FileSystem& fileSystem) {
  return WriteAlbumPage(albumFolder, table, n, PageTemplates::load(programFolder, fileSystem),
                        fileSystem);
}

WrittenPage WriteAlbumPage(const QString& albumFolder, const TrackTable& table, Int16 n,
                           const PageTemplates& templates, platform::FileSystem& fileSystem) {
  // The page is built whole in memory, so a failure on the way leaves the old page as
  // it was.
  QByteArray page;
  page.reserve(static_cast<qsizetype>(n.value()) * 256 + 16 * 1024);
  templates.head.appendTo(page);
  const qint64 milliseconds = appendDataBlock(table, n, page);
  templates.tail.appendTo(page);
  // An unchanged album keeps its page as it was: backups and syncs see nothing new.
  const bool changed = fileSystem.replaceFileIfDifferent(albumFolder + kAlbumPageName, page);
  return {milliseconds, changed};
}

qint64 WriteAlbumHtml(const TrackTable& table, Int16 n, const QString& programFolder,
                      platform::FileSystem& fileSystem) {
  const QString albumFolder = Trim(table[0].folderPath);
  const WrittenPage written = WriteAlbumPage(albumFolder, table, n, programFolder, fileSystem);
  CopyProgramCover(fileSystem, programFolder, albumFolder);
  return written.milliseconds;
}

}  // namespace orv

#include "tracks/FolderScan.h"

#include "core/ProgramFiles.h"
#include "core/RuntimeError.h"
#include "tracks/TagReading.h"

#include <vector>

namespace orv {
namespace {

QString rewrittenName(const QString& listedName) {
  QString name = listedName;
  for (QChar& c : name) {
    if (c == u' ' || c == u'\u3000') c = u'_';
  }
  return name;
}

RuntimeError folderChangedError(const QString& folder) {
  return RuntimeError(
      ErrorCode::kSubscriptOutOfRange,
      QStringLiteral("スキャン中にフォルダー「%1」のmp3ファイルが増えたか減りました。"
                     "もう一度プログラムを実行してください。")
          .arg(folder));
}

// Lists the MP3 files of `folder`, proves each can be reached by the name the listing
// gave it (`reach(path)` raises when it cannot) and hands it to `onFile(number, name)`,
// numbered from 1. Returns how many there were.
template <typename Reach, typename OnFile>
Int16 forEachMp3File(const QString& folder, platform::FileSystem& fileSystem, Reach&& reach,
                     OnFile&& onFile) {
  Int16 count = 0;
  auto listing = fileSystem.list(folder + kTrackPattern);
  for (QString name = listing->next(); !name.isEmpty(); name = listing->next()) {
    if (name == u"." || name == u"..") continue;
    reach(folder + name);
    count += 1;
    onFile(count, name);
  }
  return count;
}

// The files by the names the listing gave them, which they keep until their rename.
std::vector<QString> listedPaths(const TrackTable& table) {
  std::vector<QString> paths;
  for (Int16 i = 0; i < table.count(); ++i)
    paths.push_back(table[i].folderPath + table[i].listedName);
  return paths;
}

}  // namespace

bool isMp3FileName(const QString& name) {
  return name.endsWith(kTrackPattern.sliced(1), Qt::CaseInsensitive);
}

Int16 CountMp3Files(const QString& albumFolder, ScanContext& context) {
  // Each file is opened once, so that one that can't be read stops the build before
  // anything is renamed; the open's look is also the proof that the name reaches it.
  return forEachMp3File(
      albumFolder, context.fileSystem,
      [&](const QString& path) { context.fileSystem.requireReadable(path); },
      [](Int16, const QString&) {});
}

FilledTable FillTrackTable(const QString& albumFolder, Int16 count, ScanContext& context) {
  TrackTable table;
  table.resize(count);
  const Int16 listed = forEachMp3File(
      albumFolder, context.fileSystem,
      [&](const QString& path) { context.fileSystem.queryAttributes(path); },
      [&](Int16 number, const QString& name) {
        // Files beyond the counted size are not entered; the count tells of them below.
        if (number > count) return;
        TrackRecord& record = table[number - 1];
        record.folderPath = albumFolder;
        record.listedName = name;
        record.fileName = rewrittenName(name);
      });
  // A folder that gained or lost files since the count would leave records without a
  // file, or files without a record: nothing is renamed then.
  if (listed != count) throw folderChangedError(albumFolder);
  // While one file is renamed and read, the files after it are read ahead.
  const auto readAhead = context.trackDetails.readAhead(listedPaths(table));
  // Each file is renamed just before its tags are read, so a failure leaves every file
  // before it complete and every file after it untouched.
  AlbumTagReading tags(context.textEncoding);
  for (Int16 i = 0; i < count; ++i) {
    readAhead->reached(i.value());
    const TrackRecord& record = table[i];
    Rename rename{record.folderPath + record.listedName, record.folderPath + record.fileName};
    context.fileSystem.rename(rename.from, rename.to);
    if (rename.from != rename.to) context.renames.push_back(std::move(rename));
    tags.read(table, i, context.trackDetails);
    if (context.trackRead) context.trackRead(i + 1, count);
  }
  const text::AlbumVerdict verdict = tags.store(table);
  return {std::move(table), verdict};
}

}  // namespace orv

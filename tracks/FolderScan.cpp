#include "tracks/FolderScan.h"

#include "platform/RuntimeError.h"

#include <exception>
#include <new>

namespace orv {
namespace {

// Error numbers for failures that are not run-time errors of their own: memory running
// out, and a fault of the program.
constexpr int kOutOfMemory = 7;
constexpr int kInternalError = 51;

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

Int16 scan(Int16 mode, Int16 size, const QString& albumFolder, ScanContext& context) {
  const bool fill = mode == kFillPass;
  if (fill) context.trackTable.resize(size);
  Int16 count = 0;
  const QString folder = albumFolder;

  auto listing = context.fileSystem.list(folder + QStringLiteral("*.mp3"));
  for (QString name = listing->next(); !name.isEmpty(); name = listing->next()) {
    if (name == u"." || name == u"..") continue;
    // The answer is not needed: the query only proves the file can be reached by the
    // name the listing gave, and raises 53 when it cannot.
    context.fileSystem.queryAttributes(folder + name);
    count += 1;
    // Files beyond the counted size are not entered; the count tells of them below.
    if (fill && count <= size) {
      TrackRecord& record = context.trackTable[count - 1];
      record.folderPath = folder;
      record.listedName = name;
      record.fileName = rewrittenName(name);
    }
  }
  if (!fill) return count;

  // A folder that gained or lost files since the count would leave records without a
  // file, or files without a record: nothing is renamed then.
  if (count != size) throw folderChangedError(folder);
  // Each file is renamed just before its tags are read, so a failure leaves every file
  // before it complete and every file after it untouched.
  for (Int16 i = 0; i < size; ++i) {
    const TrackRecord& record = context.trackTable[i];
    context.fileSystem.rename(record.folderPath + record.listedName,
                              record.folderPath + record.fileName);
    context.readTrackTags(i);
  }
  return count;
}

void endWithMessage(const RuntimeError& error, platform::WindowSystem& windowSystem) {
  windowSystem.messageBox(
      error.is(ErrorCode::kFileNotFound) ? kSpecialCharacterMessage : error.description(),
      platform::kMsgBoxOkOnly);
  windowSystem.endProgram();
}

}  // namespace

void ScanFolder(Int16 mode, Int16 size, Int16& count, const QString& albumFolder,
                ScanContext& context) {
  // Every failure of the scan and of tag reading ends here, in one message and the end
  // of the program; no stage after the scan sees a half-built table.
  try {
    const Int16 found = scan(mode, size, albumFolder, context);
    if (mode != kFillPass && found == 0) {
      context.windowSystem.messageBox(kNoMp3FilesMessage, platform::kMsgBoxOkOnly);
    }
    count = found;
    return;
  } catch (const RuntimeError& error) {
    endWithMessage(error, context.windowSystem);
  } catch (const std::bad_alloc&) {
    endWithMessage(RuntimeError(kOutOfMemory, QStringLiteral("メモリが不足しています。")),
                   context.windowSystem);
  } catch (const std::exception& error) {
    endWithMessage(RuntimeError(kInternalError, QStringLiteral("内部エラーが発生しました（%1）。")
                                                    .arg(QString::fromLocal8Bit(error.what()))),
                   context.windowSystem);
  }
}

}  // namespace orv

#include "batch/AlbumState.h"

#include "core/CommandLine.h"
#include "core/ProgramFiles.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QIODevice>

#include <map>

namespace orv::batch {
namespace {

// The form of the record of an album: a record of another form is never current.
constexpr int kRecordForm = 1;

QDataStream& operator<<(QDataStream& out, const std::optional<platform::FileFacts>& facts) {
  if (!facts) return out << false;
  // The device is left out: it may be numbered otherwise after a restart, and a folder's
  // files all lie on one.
  return out << true << facts->size << facts->modified << facts->changed << facts->id.inode;
}

}  // namespace

AlbumFiles lookAtAlbum(const QString& folder, platform::FileSystem& fileSystem) {
  AlbumFiles files;
  files.tracks = fileSystem.listWithFacts(folder + kTrackPattern);
  files.page = fileSystem.fileFacts(folder + kAlbumPageName);
  files.cover = fileSystem.fileFacts(folder + kCoverName);
  return files;
}

bool changedOnlyByRenames(const AlbumFiles& before, const AlbumFiles& after,
                          const std::vector<Rename>& renames) {
  if (before.tracks.size() != after.tracks.size()) return false;
  std::map<QString, QString> newName;
  for (const Rename& rename : renames) {
    newName[rename.from.sliced(rename.from.lastIndexOf(u'/') + 1)] =
        rename.to.sliced(rename.to.lastIndexOf(u'/') + 1);
  }
  std::map<QString, const platform::FileFacts*> now;
  for (const platform::ListedFile& track : after.tracks) now[track.name] = &track.facts;
  for (const platform::ListedFile& track : before.tracks) {
    const auto renamed = newName.find(track.name);
    const auto found = now.find(renamed == newName.end() ? track.name : renamed->second);
    if (found == now.end()) return false;
    const platform::FileFacts& facts = *found->second;
    const bool same = renamed == newName.end()
                          ? facts == track.facts
                          : facts.id == track.facts.id && facts.size == track.facts.size &&
                                facts.modified == track.facts.modified;
    if (!same) return false;
  }
  return true;
}

QByteArray pageSettings(const BatchOptions& options, const PageTemplates& templates) {
  QByteArray settings;
  QDataStream out(&settings, QIODevice::WriteOnly);
  out << kRecordForm << versionLine() << templates.fingerprint();
  // The options that shape a page, each by name.
  out << QByteArray("covers") << options.covers;
  out << QByteArray("encoding")
      << (options.textEncoding ? QByteArray(options.textEncoding->name().data(),
                                            qsizetype(options.textEncoding->name().size()))
                               : QByteArray());
  return settings;
}

QByteArray albumState(const QByteArray& settings, const AlbumFiles& files) {
  QByteArray bytes;
  QDataStream out(&bytes, QIODevice::WriteOnly);
  out << settings << quint64(files.tracks.size());
  for (const platform::ListedFile& track : files.tracks) {
    out << track.name << std::optional(track.facts);
  }
  out << files.page << files.cover;
  return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

}  // namespace orv::batch

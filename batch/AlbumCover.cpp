#include "batch/AlbumCover.h"

#include "batch/CoverFiles.h"
#include "core/ProgramFiles.h"
#include "core/RuntimeError.h"
#include "output/AlbumPage.h"

#include <optional>

namespace orv::batch {
namespace {

using album::CoverSource;

// The files of `folder` that may be images: names ending in .jpg, .jpeg or .png, in any
// letter case, and a few more that coverFileCandidates passes over. The tracks are not
// among them, so a folder of tracks and a cover lists one name, not all to be sorted.
std::vector<QString> imageFilesOf(const QString& folder, platform::FileSystem& fileSystem) {
  std::vector<QString> names;
  const auto listing = fileSystem.list(folder + QStringLiteral("*.*p*g"));
  for (QString name = listing->next(); !name.isEmpty(); name = listing->next()) {
    names.push_back(std::move(name));
  }
  return names;
}

// How much of a cover file is looked at first: enough for the header of a JPEG as shops
// and taggers save them (tables, a colour profile, a little metadata). Such a cover is
// copied as it is, read once; a longer header is read whole and judged.
constexpr qsizetype kHeaderBytes = 8 * 1024;

// What `act` returns; nullopt when the file it reads is gone since the folder was listed.
template <typename Act>
auto ifThere(Act&& act) -> std::optional<decltype(act())> {
  try {
    return act();
  } catch (const RuntimeError& error) {
    if (error.is(ErrorCode::kFileNotFound)) return std::nullopt;
    throw;
  }
}

// Writes `cover` from the album's own picture, the first of its image files that reads
// as one, else the first track's tag picture that does; nullopt when none does. A JPEG
// file is copied as the program's cover is, which leaves the sync of the folder to the
// system: one sync fewer for each album, which the build of a warm library feels most.
// A picture taken from tags or converted is created from its bytes.
std::optional<CoverSource> writeAlbumPicture(const QString& folder, const QString& cover,
                                             const std::vector<QString>& tracks,
                                             const BuildServices& services) {
  platform::FileSystem& fileSystem = services.album.fileSystem;
  const auto keepsAsItIs = [&](QByteArrayView start) {
    return services.pictures.keepsAsItIs(start);
  };
  for (const QString& name : coverFileCandidates(imageFilesOf(folder, fileSystem))) {
    const QString path = folder + name;
    const CoverSource source{CoverSource::Kind::kFile, name};
    const std::optional<bool> copied = ifThere(
        [&] { return fileSystem.copyFileNoReplaceIf(path, cover, kHeaderBytes, keepsAsItIs); });
    if (!copied) continue;
    if (*copied) return source;
    const std::optional<QByteArray> bytes = ifThere([&] { return fileSystem.readFile(path); });
    if (!bytes) continue;
    if (const std::optional<QByteArray> jpeg = services.pictures.toJpeg(*bytes)) {
      // A JPEG comes back as the very bytes given, not a copy: one with a long header.
      if (jpeg->isSharedWith(*bytes)) {
        fileSystem.copyFileNoReplace(path, cover);
      } else {
        fileSystem.createFileAtomically(cover, *jpeg);
      }
      return source;
    }
  }
  // Track by track, so that only the tags up to the first picture are read whole.
  for (const QString& name : tracks) {
    const std::optional<QByteArray> picture = services.tagPictures.coverOf(folder + name);
    if (!picture) continue;
    if (const std::optional<QByteArray> jpeg = services.pictures.toJpeg(*picture)) {
      fileSystem.createFileAtomically(cover, *jpeg);
      return CoverSource{CoverSource::Kind::kTags, name};
    }
  }
  return std::nullopt;
}

}  // namespace

CoverSource coverAlbum(const QString& albumFolder, const std::vector<QString>& tracks,
                       const BuildServices& services) {
  platform::FileSystem& fileSystem = services.album.fileSystem;
  const QString cover = albumFolder + kCoverName;
  const CoverSource kept{CoverSource::Kind::kKept, {}};
  if (fileSystem.fileExists(cover)) return kept;
  try {
    if (std::optional<CoverSource> source =
            writeAlbumPicture(albumFolder, cover, tracks, services)) {
      return *source;
    }
  } catch (const RuntimeError& error) {
    // As for the program's cover: one that arrived meanwhile stays and is the album's.
    if (!error.is(ErrorCode::kFileAlreadyExists) || !fileSystem.fileExists(cover)) throw;
    return kept;
  }
  return CopyProgramCover(fileSystem, services.album.programFolder, albumFolder)
             ? CoverSource{CoverSource::Kind::kPlaceholder, {}}
             : kept;
}

}  // namespace orv::batch

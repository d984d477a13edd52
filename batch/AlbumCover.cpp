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

// Where the new jacket.jpg goes: a new file, or in place of the program's placeholder.
struct CoverTarget {
  platform::FileSystem& fileSystem;
  QString path;
  bool replacing = false;

  void write(const QByteArray& jpeg) const {
    if (replacing) {
      fileSystem.replaceFileAtomically(path, jpeg);
    } else {
      fileSystem.createFileAtomically(path, jpeg);
    }
  }
};

// Writes the cover from the first of the album's image files that reads as a picture. A
// new JPEG cover is copied as the program's cover is, which leaves the sync of the folder
// to the system: one sync fewer for each album, which the build of a warm library feels
// most. A picture converted, or one in place of the placeholder, is written from its bytes.
std::optional<CoverSource> writeFilePicture(const QString& folder, const CoverTarget& cover,
                                            const BuildServices& services) {
  platform::FileSystem& fileSystem = services.album.fileSystem;
  const auto keepsAsItIs = [&](QByteArrayView start) {
    return services.pictures.keepsAsItIs(start);
  };
  for (const QString& name : coverFileCandidates(imageFilesOf(folder, fileSystem))) {
    const QString path = folder + name;
    const CoverSource source{CoverSource::Kind::kFile, name};
    if (!cover.replacing) {
      const std::optional<bool> copied = ifThere([&] {
        return fileSystem.copyFileNoReplaceIf(path, cover.path, kHeaderBytes, keepsAsItIs);
      });
      if (!copied) continue;
      if (*copied) return source;
    }
    const std::optional<QByteArray> bytes = ifThere([&] { return fileSystem.readFile(path); });
    if (!bytes) continue;
    if (const std::optional<QByteArray> jpeg = services.pictures.toJpeg(*bytes)) {
      // A JPEG comes back as the very bytes given, not a copy: one with a long header.
      if (jpeg->isSharedWith(*bytes) && !cover.replacing) {
        fileSystem.copyFileNoReplace(path, cover.path);
      } else {
        cover.write(*jpeg);
      }
      return source;
    }
  }
  return std::nullopt;
}

// Writes the cover from the tracks' tags: a front cover wherever it is, the tracks in the
// page's order; else the first picture of the first track that has one. The tags are
// listed without their pictures' bodies, and only a chosen picture is read whole; a
// picture that reads as none gives way to the next choice.
std::optional<CoverSource> writeTagPicture(const QString& folder, const CoverTarget& cover,
                                           const std::vector<QString>& tracks,
                                           const BuildServices& services) {
  const auto written = [&](const QString& track, std::size_t index) {
    const std::optional<QByteArray> picture = services.tagPictures.pictureOf(folder + track, index);
    const std::optional<QByteArray> jpeg =
        picture ? services.pictures.toJpeg(*picture) : std::nullopt;
    if (jpeg) cover.write(*jpeg);
    return jpeg.has_value();
  };
  std::vector<const QString*> withPictures;  // whose first picture is no front cover
  for (const QString& track : tracks) {
    const std::vector<platform::PictureKind> kinds =
        services.tagPictures.picturesOf(folder + track);
    for (std::size_t k = 0; k < kinds.size(); ++k) {
      if (kinds[k] == platform::PictureKind::kFrontCover && written(track, k)) {
        return CoverSource{CoverSource::Kind::kTags, track};
      }
    }
    if (!kinds.empty() && kinds[0] != platform::PictureKind::kFrontCover) {
      withPictures.push_back(&track);
    }
  }
  for (const QString* track : withPictures) {
    if (written(*track, 0)) return CoverSource{CoverSource::Kind::kTags, *track};
  }
  return std::nullopt;
}

}  // namespace

CoverSource coverAlbum(const QString& albumFolder, const std::vector<QString>& tracks,
                       const BuildServices& services) {
  platform::FileSystem& fileSystem = services.album.fileSystem;
  const QString programFolder = services.album.programFolder;
  CoverTarget cover{fileSystem, albumFolder + kCoverName};
  const CoverSource kept{CoverSource::Kind::kKept, {}};
  if (fileSystem.fileExists(cover.path)) {
    // Only the program's own placeholder gives way; the user's own cover never does.
    if (!HoldsProgramCover(fileSystem, programFolder, cover.path)) return kept;
    cover.replacing = true;
  }
  try {
    std::optional<CoverSource> source = writeFilePicture(albumFolder, cover, services);
    if (!source) source = writeTagPicture(albumFolder, cover, tracks, services);
    if (source) {
      source->replacedPlaceholder = cover.replacing;
      return *source;
    }
  } catch (const RuntimeError& error) {
    // As for the program's cover: one that arrived meanwhile stays and is the album's.
    if (!error.is(ErrorCode::kFileAlreadyExists) || !fileSystem.fileExists(cover.path)) throw;
    return kept;
  }
  if (cover.replacing) return kept;  // the placeholder, and nothing better
  return CopyProgramCover(fileSystem, programFolder, albumFolder)
             ? CoverSource{CoverSource::Kind::kPlaceholder, {}}
             : kept;
}

}  // namespace orv::batch

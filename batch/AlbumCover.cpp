#include "batch/AlbumCover.h"

#include "batch/CoverFiles.h"
#include "core/RuntimeError.h"
#include "output/AlbumPage.h"

#include <optional>

namespace orv::batch {
namespace {

const QString kCoverName = QStringLiteral("jacket.jpg");

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

// How much of a cover file is read first: enough for the header of a JPEG as shops and
// taggers save them (tables, a colour profile, a little metadata), which is then copied
// as it is without being read whole here as well. A longer header is read whole.
constexpr qsizetype kHeaderBytes = 8 * 1024;

// What `read` reads; nullopt when the file is gone since the folder was listed.
template <typename Read>
std::optional<QByteArray> readIfThere(Read&& read) {
  try {
    return read();
  } catch (const RuntimeError& error) {
    if (error.is(ErrorCode::kFileNotFound)) return std::nullopt;
    throw;
  }
}

struct FoundCover {
  CoverSource source;
  QByteArray jpeg;
  bool wholeFile = false;  // the JPEG is the source file as it is; `jpeg` may be empty
};

std::optional<FoundCover> albumPicture(const QString& folder, const std::vector<QString>& tracks,
                                       const CoverServices& services) {
  platform::FileSystem& fileSystem = services.fileSystem;
  for (const QString& name : coverFileCandidates(imageFilesOf(folder, fileSystem))) {
    const QString path = folder + name;
    const std::optional<QByteArray> start =
        readIfThere([&] { return fileSystem.readFileStart(path, kHeaderBytes); });
    if (!start) continue;
    if (services.pictures.keepsAsItIs(*start)) {
      return FoundCover{{CoverSource::Kind::kFile, name}, {}, /*wholeFile=*/true};
    }
    const std::optional<QByteArray> bytes =
        start->size() < kHeaderBytes ? start
                                     : readIfThere([&] { return fileSystem.readFile(path); });
    if (!bytes) continue;
    if (auto jpeg = services.pictures.toJpeg(*bytes)) {
      // A JPEG comes back as the very bytes given, not a copy; comparing them would
      // read the whole cover once more.
      const bool wholeFile = jpeg->isSharedWith(*bytes);
      return FoundCover{{CoverSource::Kind::kFile, name}, std::move(*jpeg), wholeFile};
    }
  }
  // Track by track, so that only the tags up to the first picture are read whole.
  for (const QString& name : tracks) {
    const std::optional<QByteArray> picture = services.tagPictures.coverOf(folder + name);
    if (!picture) continue;
    if (auto jpeg = services.pictures.toJpeg(*picture)) {
      return FoundCover{{CoverSource::Kind::kTags, name}, std::move(*jpeg)};
    }
  }
  return std::nullopt;
}

}  // namespace

QString CoverSource::text() const {
  switch (kind) {
    case Kind::kKept:
      return QStringLiteral("kept");
    case Kind::kFile:
      return QStringLiteral("file:") + name;
    case Kind::kTags:
      return QStringLiteral("tags:") + name;
    case Kind::kPlaceholder:
      break;
  }
  return QStringLiteral("placeholder");
}

CoverSource coverAlbum(const QString& albumFolder, const std::vector<QString>& tracks,
                       const CoverServices& services) {
  platform::FileSystem& fileSystem = services.fileSystem;
  const QString cover = albumFolder + kCoverName;
  const CoverSource kept{CoverSource::Kind::kKept, {}};
  if (fileSystem.fileExists(cover)) return kept;
  if (std::optional<FoundCover> found = albumPicture(albumFolder, tracks, services)) {
    try {
      // A JPEG file is copied as the program's cover is, which leaves the sync of the
      // folder to the system: one sync fewer for each album, which the build of a warm
      // library feels most. A picture taken from tags or converted is created from its
      // bytes.
      if (found->wholeFile) {
        fileSystem.copyFileNoReplace(albumFolder + found->source.name, cover);
      } else {
        fileSystem.createFileAtomically(cover, found->jpeg);
      }
    } catch (const RuntimeError& error) {
      // As for the program's cover: one that arrived meanwhile stays and is the album's.
      if (!error.is(ErrorCode::kFileAlreadyExists) || !fileSystem.fileExists(cover)) throw;
      return kept;
    }
    return found->source;
  }
  return CopyProgramCover(fileSystem, services.programFolder, albumFolder)
             ? CoverSource{CoverSource::Kind::kPlaceholder, {}}
             : kept;
}

}  // namespace orv::batch

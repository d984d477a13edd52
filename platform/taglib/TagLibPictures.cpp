#include "platform/taglib/TagLibPictures.h"

#include "platform/posix/RegularFile.h"
#include "platform/taglib/FdStream.h"
#include "platform/taglib/SparseId3v2Tag.h"
#include "platform/taglib/StringHandlers.h"
#include "platform/taglib/TagFile.h"
#include "platform/taglib/TagLayout.h"
#include "platform/taglib/TrackFile.h"

#include <QFile>

#include <taglib/attachedpictureframe.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2tag.h>

#include <fcntl.h>

namespace orv::platform {
namespace {

using TagLib::ID3v2::AttachedPictureFrame;

// Enough of a picture's body for its kind: the text encoding, the format (a MIME type
// or three letters) and the picture type come first.
constexpr unsigned kPictureStart = 256;

// Calls `use` with the picture frames of the ID3v2 tag of `path`, in the tag's order,
// read as `pictures` asks; returns what it returns, or `none` without a tag.
template <typename Use, typename Result>
Result withPictures(const QString& path, const SparePictures& pictures, Result none, Use&& use) {
  const QByteArray encoded = QFile::encodeName(path);
  if (encoded.isEmpty()) return none;
  const FileDescriptor fd = openRegularFile(AT_FDCWD, encoded, path);
  if (!fd.valid()) return none;
  const TrackFile track(fd.get());
  const TagLayout layout = findTagLayout(track);
  if (!layout.id3v2) return none;

  installEightBitStringHandlers();  // before TagLib reads any text, as tag reading does
  FdStream stream(track, encoded);
  if (auto sparse = readSparseId3v2Tag(track, *layout.id3v2, pictures)) {
    stream.serveFromMemory(static_cast<long>(*layout.id3v2), std::move(*sparse));
  }
  TagFile file(&stream);
  const TagLib::ID3v2::Tag tag(&file, static_cast<long>(*layout.id3v2),
                               TagLib::ID3v2::FrameFactory::instance());
  std::vector<const AttachedPictureFrame*> frames;
  for (const TagLib::ID3v2::Frame* frame : tag.frameList("APIC")) {
    // Version 2.2's "PIC" frames come as "APIC" frames too.
    if (const auto* picture = dynamic_cast<const AttachedPictureFrame*>(frame)) {
      frames.push_back(picture);
    }
  }
  return use(frames);
}

}  // namespace

std::vector<PictureKind> TagLibPictures::picturesOf(const QString& path) {
  return withPictures(path, {.pictureStart = kPictureStart}, std::vector<PictureKind>{},
                      [](const std::vector<const AttachedPictureFrame*>& frames) {
                        std::vector<PictureKind> kinds;
                        for (const AttachedPictureFrame* frame : frames) {
                          kinds.push_back(frame->type() == AttachedPictureFrame::FrontCover
                                              ? PictureKind::kFrontCover
                                              : PictureKind::kOther);
                        }
                        return kinds;
                      });
}

std::optional<QByteArray> TagLibPictures::pictureOf(const QString& path, std::size_t index) {
  const SparePictures whole{.wholePicture = static_cast<unsigned>(index)};
  return withPictures(
      path, whole, std::optional<QByteArray>{},
      [&](const std::vector<const AttachedPictureFrame*>& frames) -> std::optional<QByteArray> {
        if (index >= frames.size()) return std::nullopt;
        const TagLib::ByteVector bytes = frames[index]->picture();
        return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
      });
}

}  // namespace orv::platform

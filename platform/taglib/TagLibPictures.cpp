#include "platform/taglib/TagLibPictures.h"

#include "platform/posix/RegularFile.h"
#include "platform/taglib/FdStream.h"
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

std::optional<QByteArray> TagLibPictures::coverOf(const QString& path) {
  const QByteArray encoded = QFile::encodeName(path);
  if (encoded.isEmpty()) return std::nullopt;
  const FileDescriptor fd = openRegularFile(AT_FDCWD, encoded, path);
  if (!fd.valid()) return std::nullopt;
  const TrackFile track(fd.get());
  const TagLayout layout = findTagLayout(track);
  if (!layout.id3v2) return std::nullopt;

  installEightBitStringHandlers();  // before TagLib reads any text, as tag reading does
  FdStream stream(track, encoded);
  TagFile file(&stream);
  // The whole tag is read, pictures and all: this is the one read that wants them.
  const TagLib::ID3v2::Tag tag(&file, static_cast<long>(*layout.id3v2),
                               TagLib::ID3v2::FrameFactory::instance());
  // Version 2.2's "PIC" frames come as "APIC" frames too.
  const TagLib::ID3v2::FrameList& frames = tag.frameList("APIC");
  const TagLib::ID3v2::AttachedPictureFrame* chosen = nullptr;
  for (const TagLib::ID3v2::Frame* frame : frames) {
    const auto* picture = dynamic_cast<const TagLib::ID3v2::AttachedPictureFrame*>(frame);
    if (picture == nullptr) continue;
    if (picture->type() == TagLib::ID3v2::AttachedPictureFrame::FrontCover) {
      chosen = picture;
      break;
    }
    if (chosen == nullptr) chosen = picture;
  }
  if (chosen == nullptr) return std::nullopt;
  const TagLib::ByteVector bytes = chosen->picture();
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace orv::platform

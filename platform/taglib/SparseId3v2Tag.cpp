#include "platform/taglib/SparseId3v2Tag.h"

#include <taglib/id3v2footer.h>
#include <taglib/id3v2frame.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2synchdata.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace orv::platform {
namespace {

using TagLib::ByteVector;
namespace Id3v2 = TagLib::ID3v2;

// The first read takes the header and, in most tags, every text frame before the cover.
constexpr unsigned kFirstRead = 16 * 1024;
// A frame header after a skipped body is read with what follows it, usually the next
// few frames or the padding.
constexpr unsigned kLaterRead = 4 * 1024;

// The tag's bytes, zeros where nothing was read yet.
class TagBytes {
 public:
  TagBytes(const TrackFile& file, qint64 offset, unsigned size)
      : file_(file), offset_(offset), bytes_(size, '\0') {}

  const ByteVector& bytes() const { return bytes_; }

  // Reads bytes [begin, begin + length) of the tag unless they were read before, with at
  // least kLaterRead bytes from `begin` on; what lies past the tag's end is left out.
  // False on a read error.
  bool load(quint64 from, unsigned length, unsigned atLeast = kLaterRead) {
    const unsigned size = bytes_.size();
    if (from >= size) return true;
    const auto begin = static_cast<unsigned>(from);
    const unsigned end = begin + std::min(length, size - begin);
    if (isLoaded(begin, end)) return true;
    const unsigned readEnd = begin + std::min(std::max(length, atLeast), size - begin);
    // No other ByteVector shares the bytes here, so writing to them copies nothing.
    char* out = bytes_.data() + begin;
    for (unsigned at = begin; at < readEnd;) {
      const qint64 done = file_.read(offset_ + at, out + (at - begin), readEnd - at);
      if (done <= 0) return false;
      at += static_cast<unsigned>(done);
    }
    loaded_.emplace_back(begin, readEnd);
    return true;
  }

 private:
  bool isLoaded(unsigned begin, unsigned end) const {
    return std::any_of(loaded_.begin(), loaded_.end(), [&](const auto& range) {
      return range.first <= begin && end <= range.second;
    });
  }

  const TrackFile& file_;
  qint64 offset_;
  ByteVector bytes_;
  std::vector<std::pair<unsigned, unsigned>> loaded_;  // [begin, end) ranges read
};

// Whether the frame header at `at` marks its frame compressed (2.3 and 2.4 only).
bool compressed(const ByteVector& tag, unsigned at, unsigned version) {
  const char flags = tag[at + 9];
  return (version == 3 && (flags & 0x80) != 0) || (version == 4 && (flags & 0x08) != 0);
}

// The size field of the 2.4 frame header at `at`, read as TagLib reads it (synch-safe,
// or plain where a byte says it isn't), and as a plain integer.
std::pair<unsigned, unsigned> sizeFields(const ByteVector& tag, unsigned at) {
  const ByteVector field = tag.mid(at + 4, 4);
  return {Id3v2::SynchData::toUInt(field), field.toUInt(0U, true)};
}

}  // namespace

std::optional<ByteVector> readSparseId3v2Tag(const TrackFile& file, qint64 offset,
                                             const SparePictures& pictures) {
  char head[10];
  if (file.read(offset, head, sizeof head) != sizeof head) return std::nullopt;
  const Id3v2::Header header(ByteVector(head, sizeof head));
  const unsigned version = header.majorVersion();
  const unsigned tagSize = header.tagSize();
  if (version < 2 || version > 4 || header.unsynchronisation() || header.extendedHeader() ||
      tagSize == 0 || offset + Id3v2::Header::size() + tagSize > file.size()) {
    return std::nullopt;
  }

  // The tag is kept whole, header first, as TagLib reads it: the body starts at byte 10.
  const unsigned body = Id3v2::Header::size();
  TagBytes tag(file, offset, body + tagSize);
  if (!tag.load(0, kFirstRead)) return std::nullopt;

  // TagLib's frame loop (ID3v2::Tag::parse), with its own bounds.
  const unsigned frameHeaderSize = Id3v2::Frame::headerSize(version);
  unsigned dataLength = tagSize;
  if (header.footerPresent() && Id3v2::Footer::size() <= dataLength) {
    dataLength -= Id3v2::Footer::size();
  }
  if (dataLength <= frameHeaderSize) return std::nullopt;
  unsigned pictureCount = 0;
  for (unsigned pos = 0; pos < dataLength - frameHeaderSize;) {
    const unsigned at = body + pos;
    if (!tag.load(at, frameHeaderSize)) return std::nullopt;
    if (tag.bytes()[at] == 0) break;  // the padding
    if (version == 4) {
      // TagLib checks a 2.4 frame's size against the 4 bytes after the frame, and tries
      // the size as a plain integer too: both places must hold what the file holds. Its
      // sums are unsigned, from the frame's start, and so are these.
      const auto [synchSafe, plain] = sizeFields(tag.bytes(), at);
      if (synchSafe > 127 && (!tag.load(quint64(at) + (synchSafe + 10u), 4) ||
                              !tag.load(quint64(at) + (plain + 10u), 4))) {
        return std::nullopt;
      }
    }
    // The frame as TagLib's own tag parser makes it, from the same bytes: only its size
    // and id are used, before its body is read.
    std::unique_ptr<Id3v2::Frame> frame(
        Id3v2::FrameFactory::instance()->createFrame(tag.bytes().mid(at), &header));
    if (!frame || frame->size() == 0) break;  // TagLib stops reading frames here
    const unsigned size = frame->size();
    const bool text = frame->frameID().startsWith("T");
    const bool picture = frame->frameID() == "APIC";  // 2.2's PIC comes as APIC too
    frame.reset();  // it shares the tag's bytes, which are written next
    if (text) {
      // A compressed text may inflate from past its frame's end.
      if (compressed(tag.bytes(), at, version)) return std::nullopt;
      if (!tag.load(at + frameHeaderSize, size, 0)) return std::nullopt;
    } else if (picture) {
      const bool whole =
          pictures.wholePicture == pictureCount++ || compressed(tag.bytes(), at, version);
      const unsigned length = whole ? size : std::min(size, pictures.pictureStart);
      if (length > 0 && !tag.load(at + frameHeaderSize, length, 0)) return std::nullopt;
    }
    pos += size + frameHeaderSize;
  }
  return tag.bytes();
}

}  // namespace orv::platform

#pragma once

#include "platform/taglib/TrackFile.h"

#include <QtGlobal>

#include <taglib/tbytevector.h>

#include <optional>

namespace orv::platform {

// The ID3v2 tag at `offset` of the open `file` (its 10-byte header and its body, as
// TagLib's ID3v2::Tag reads them), with the body of every frame that holds no text left
// unread: zeros in its place, every offset and size kept. Covers (APIC, PIC), objects
// (GEOB), private data (PRIV) and the like are never read; text frames (T…) and every
// frame header TagLib looks at are. The frames are found as TagLib finds them, from their
// headers (TagLib's own Frame::Header), with small reads.
//
// nullopt, and nothing should be skipped, where the tag's layout forbids it: an unknown
// version, tag-wide unsynchronisation, an extended header, a compressed text frame (its
// data may run into the next frame), a tag that runs past the end of the file, a read
// error.
//
// `pictures` asks for more of the pictures (APIC, and 2.2's PIC): the first bytes of
// each one's body, enough for what it shows and its format, and one of them (by its
// place among the tag's pictures) whole; a compressed picture is read whole.
//
//   auto tag = readSparseId3v2Tag(file, 0);   // 1 MB cover: about 20 KB read
//   stream.serveFromMemory(0, std::move(*tag));
//   readSparseId3v2Tag(file, 0, {.pictureStart = 256, .wholePicture = 1});
struct SparePictures {
  unsigned pictureStart = 0;               // bytes read of each picture's body
  std::optional<unsigned> wholePicture{};  // the picture read whole
};
std::optional<TagLib::ByteVector> readSparseId3v2Tag(const TrackFile& file, qint64 offset,
                                                     const SparePictures& pictures = {});

}  // namespace orv::platform

#pragma once

#include "platform/taglib/TrackFile.h"

#include <QByteArray>

#include <taglib/tiostream.h>

namespace orv::platform {

// A read-only TagLib stream over an open file that it does not own. It reads through the
// TrackFile, so it neither moves nor depends on the descriptor's file offset, and the
// same file can serve the play-time reader before or after it. Bytes prepared beforehand
// (a tag read with its pictures left out) can stand in for the file's own.
//
//   FdStream stream(file, "01.mp3");
//   stream.serveFromMemory(0, *readSparseId3v2Tag(file, 0));
//   TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
class FdStream final : public TagLib::IOStream {
 public:
  FdStream(const TrackFile& file, QByteArray name);

  TagLib::FileName name() const override { return name_.constData(); }
  TagLib::ByteVector readBlock(unsigned long length) override;
  void writeBlock(const TagLib::ByteVector&) override {}
  void insert(const TagLib::ByteVector&, unsigned long, unsigned long) override {}
  void removeBlock(unsigned long, unsigned long) override {}
  bool readOnly() const override { return true; }
  bool isOpen() const override { return true; }
  void seek(long offset, Position p = Beginning) override;
  long tell() const override { return position_; }
  long length() override { return static_cast<long>(file_.size()); }
  void truncate(long) override {}

  // Reads that lie wholly within [offset, offset + bytes.size()) are answered from
  // `bytes`, without a read; any other read reads the file.
  void serveFromMemory(long offset, TagLib::ByteVector bytes);

 private:
  const TrackFile& file_;
  QByteArray name_;
  long position_ = 0;
  long servedOffset_ = 0;
  TagLib::ByteVector served_;
};

}  // namespace orv::platform

#pragma once

#include <QByteArray>

#include <taglib/tiostream.h>

namespace orv::platform {

// A read-only TagLib stream over a file descriptor that it does not own. It reads with
// pread, so it neither moves nor depends on the descriptor's file offset, and the same
// descriptor can serve the play-time reader before or after it.
//
//   FdStream stream(fd.get(), "01.mp3");
//   TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
class FdStream final : public TagLib::IOStream {
 public:
  FdStream(int fd, QByteArray name);

  TagLib::FileName name() const override { return name_.constData(); }
  TagLib::ByteVector readBlock(unsigned long length) override;
  void writeBlock(const TagLib::ByteVector&) override {}
  void insert(const TagLib::ByteVector&, unsigned long, unsigned long) override {}
  void removeBlock(unsigned long, unsigned long) override {}
  bool readOnly() const override { return true; }
  bool isOpen() const override { return true; }
  void seek(long offset, Position p = Beginning) override;
  long tell() const override { return position_; }
  long length() override { return length_; }
  void truncate(long) override {}

 private:
  int fd_;
  QByteArray name_;
  long length_ = 0;
  long position_ = 0;
};

}  // namespace orv::platform

#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace orv::platform {

// An open MP3 file as tag reading reads it: a dozen small reads near its start (the ID3v2
// tag, the first audio frames and their header) and near its end (the trailing tags). Its
// first 16 KB and its last 4 KB are each read once, when first asked for, and serve every
// read that lies within them; a small file is read whole at once. Other reads read the
// file. Reads with pread and leaves the file offset alone. A descriptor that is not a
// regular file has no bytes.
//
//   TrackFile file(fd.get());
//   file.read(0, header, 10);            // reads the first 16 KB
//   file.read(file.size() - 128, t, 3);  // reads the last 4 KB
class TrackFile {
 public:
  explicit TrackFile(int fd);
  // The same for a regular file whose size its opener has just asked for.
  TrackFile(int fd, qint64 size);

  int descriptor() const { return fd_; }
  qint64 size() const { return size_; }

  // As readAt(descriptor(), pos, out, size): the bytes at `pos`, fewer at the end of the
  // file; -1 for an error before any byte.
  qint64 read(qint64 pos, void* out, qint64 size) const;

 private:
  // A part of the file read once: `bytes` from `begin`, as far as they could be read.
  struct Block {
    qint64 begin = 0;
    qint64 end = 0;
    bool loaded = false;
    QByteArray bytes;
  };
  bool serve(Block& block, qint64 pos, void* out, qint64 size) const;

  int fd_;
  qint64 size_ = 0;
  mutable Block head_;
  mutable Block tail_;
};

}  // namespace orv::platform

#pragma once

#include "platform/DetailSource.h"
#include "platform/posix/FileDescriptor.h"
#include "platform/taglib/TagLayout.h"
#include "platform/taglib/TagReadAhead.h"
#include "platform/taglib/TrackFile.h"
#include "platform/taglib/TrackTexts.h"

#include <QByteArray>

#include <optional>

namespace orv::platform {

// One open MP3 file. Its tags and its play time are each read once, when first asked for,
// from the one descriptor.
class TagLibDetailItem final : public DetailItem {
 public:
  // `size`: the regular file's size, as its opening found it.
  TagLibDetailItem(FileDescriptor fd, QByteArray name, qint64 size);
  // A file whose details were read ahead: nothing is read.
  explicit TagLibDetailItem(TrackDetails details);

  const TrackTexts& texts() const;
  const QString& playTime() const;  // "" when the file holds no audio
  qint64 audioBegin() const;        // after the ID3v2 tags at the file's start
  int descriptor() const { return fd_.get(); }

 private:
  const TagLayout& layout() const;

  FileDescriptor fd_;
  TrackFile file_;
  QByteArray name_;
  // Read on first use; asking for details changes nothing the caller can see.
  mutable std::optional<TagLayout> layout_;
  mutable std::optional<TrackTexts> texts_;
  mutable std::optional<QString> playTime_;
};

// A folder whose MP3 files are found by name. A file whose details were read ahead
// (`readAhead`, which may be null) is not read again. The folder is not held open: a
// build asks for one folder per track, and a file is opened by its whole path anyway.
//
//   TagLibDetailFolder folder("/music/album/", nullptr);
//   auto item = folder.ParseName("01.mp3");              // nullptr when missing
//   folder.GetDetailsOf(item.get(), kColumnPlayTime);     // "0:03:25"
class TagLibDetailFolder final : public DetailFolder {
 public:
  TagLibDetailFolder(QString path, std::shared_ptr<ReadAheadResults> readAhead);

  // nullptr when the folder holds no regular file of that name. A file that exists but
  // cannot be opened raises a RuntimeError naming it.
  std::unique_ptr<DetailItem> ParseName(const QString& name) override;
  QString GetDetailsOf(const DetailItem* item, int column) override;

 private:
  QString path_;       // ends in "/"
  QByteArray native_;  // the same, as the file system's bytes
  std::shared_ptr<ReadAheadResults> readAhead_;
};

}  // namespace orv::platform

#pragma once

namespace orv::platform {

// Reading ahead of tag reading. Once the count has passed, the fill pass names the
// album's files in the order it will read them; while it renames one file and reads its
// tags, the files after it are already being read, so that the disk and the processors
// work at once. It only ever saves time: what tag reading answers is the same with or
// without it, it renames and writes nothing, and it opens no file before it is made nor
// once it is destroyed.
//
//   auto ahead = reader.readAhead({"/a/01 x.mp3", "/a/02 y.mp3"});
//   for (int i = 0; i < 2; ++i) { ahead->reached(i); rename(…); reader.read(…); }
class TrackReadAhead {
 public:
  virtual ~TrackReadAhead() = default;
  // Tag reading has come to file `index`: the files from there on are its concern, the
  // ones after it may be read ahead.
  virtual void reached(int index) = 0;
};

// For readers that read nothing ahead.
class NoReadAhead final : public TrackReadAhead {
 public:
  void reached(int) override {}
};

}  // namespace orv::platform

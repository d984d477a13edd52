#pragma once

#include "platform/taglib/TagLayout.h"

#include <QtGlobal>

#include <optional>

namespace orv::platform {

// What the four header bytes of an MPEG-1, 2 or 2.5 Layer III frame say.
struct MpegFrameHeader {
  int sampleRate = 0;       // Hz, e.g. 44100, 22050, 8000
  int channels = 0;         // 1 or 2
  int samplesPerFrame = 0;  // 1152 (MPEG-1) or 576
  int frameBytes = 0;       // the whole frame, header included
  int xingOffset = 0;       // where a Xing/Info header starts, from the frame's first byte
};

// The header at `bytes` (4 bytes), or nullopt when they are no Layer III frame header
// (free-format and reserved values included).
//
//   parseLayer3Header("\xFF\xFB\x90\x04")->frameBytes == 417  // 128 kbps, 44.1 kHz
std::optional<MpegFrameHeader> parseLayer3Header(const unsigned char* bytes);

// The counts of a Xing or Info header (the first frame of a stream, written by encoders
// in place of audio), each present only when its flag is set.
struct XingCounts {
  std::optional<quint32> frames;  // audio frames, the header's own frame not counted
  std::optional<quint32> bytes;   // the stream's bytes, the header's own frame counted
};

// Where the audio of an MP3 file lies.
struct MpegStream {
  qint64 begin = 0;  // the first frame, after any ID3v2 tags and junk
  qint64 end = 0;    // the end of the audio: the trailing APE, Lyrics3 and ID3v1 tags cut off
  MpegFrameHeader first;
  std::optional<XingCounts> xing;

  // Whether the Xing/Info header may stand for the stream: it counts both frames and
  // bytes, and its bytes end exactly where the audio ends. A file cut short, or with
  // more audio appended, disagrees and must be scanned frame by frame.
  bool headerTrusted() const;
};

// Finds the audio of the open `file` between its tags: the first place where three
// Layer III frames of one stream follow each other (or fewer that end exactly where the
// audio ends). nullopt when the file holds no such frames: empty, random bytes, PCM.
//
//   auto stream = locateMpegStream(file, findTagLayout(file));
//   stream->first.sampleRate == 44100
std::optional<MpegStream> locateMpegStream(const TrackFile& file, const TagLayout& layout);

}  // namespace orv::platform

#pragma once

#include "platform/taglib/TagLayout.h"

#include <QString>
#include <QtGlobal>

#include <optional>

namespace orv::platform {

// The exact decoded length of an MP3 stream.
struct AudioLength {
  qint64 samples = 0;   // per channel, without the encoder's delay and padding
  long sampleRate = 0;  // Hz
};

// The decoded length of the audio of the open `file` (whose tags lie as `layout` says),
// as libmpg123 decodes it. A
// complete Xing/Info header that agrees with the file gives it at once (its encoder delay
// and padding taken off); any other file is scanned frame by frame, so VBR files without
// a header come out exact too. nullopt when the file holds no audio (empty, random bytes,
// PCM, tags only).
//
//   readAudioLength(file, findTagLayout(file))  // {242550, 44100} for 5.5 s
std::optional<AudioLength> readAudioLength(const TrackFile& file, const TagLayout& layout);

// The play time as "H:MM:SS": hours unpadded, whole seconds truncated.
//
//   formatPlayTime({205 * 44100 + 44099, 44100}) == "0:03:25"
//   formatPlayTime({3723 * 8000, 8000}) == "1:02:03"
QString formatPlayTime(const AudioLength& length);

}  // namespace orv::platform

#include "platform/taglib/AudioLength.h"

#include "platform/taglib/MpegStream.h"

#include <mpg123.h>

#include <algorithm>
#include <memory>

namespace orv::platform {
namespace {

// libmpg123 reads the file through this: the audio only, from the first frame to the
// trailing tags, so it neither hunts through junk nor mistakes tag bytes for frames.
struct AudioWindow {
  const TrackFile& file;
  qint64 begin;
  qint64 size;
  qint64 position = 0;
};

mpg123_ssize_t readWindow(void* handle, void* buffer, size_t count) {
  auto* w = static_cast<AudioWindow*>(handle);
  const qint64 wanted = std::min<qint64>(static_cast<qint64>(count), w->size - w->position);
  const qint64 done = w->file.read(w->begin + w->position, buffer, wanted);
  if (done < 0) return -1;
  w->position += done;
  return static_cast<mpg123_ssize_t>(done);
}

off_t seekWindow(void* handle, off_t offset, int whence) {
  auto* w = static_cast<AudioWindow*>(handle);
  const qint64 base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? w->position : w->size;
  const qint64 target = base + offset;
  if (target < 0 || target > w->size) return -1;
  w->position = target;
  return static_cast<off_t>(target);
}

struct HandleDeleter {
  void operator()(mpg123_handle* h) const { mpg123_delete(h); }
};
using Handle = std::unique_ptr<mpg123_handle, HandleDeleter>;

Handle newHandle() {
  // Needed once by libmpg123 before 1.27, harmless after.
  static const int init = mpg123_init();
  if (init != MPG123_OK) return nullptr;
  Handle h(mpg123_new(nullptr, nullptr));
  if (!h) return nullptr;
  mpg123_param(h.get(), MPG123_ADD_FLAGS, MPG123_QUIET, 0);
  if (mpg123_replace_reader_handle(h.get(), readWindow, seekWindow, nullptr) != MPG123_OK) {
    return nullptr;
  }
  return h;
}

// The calling thread's decoder. Making one builds its tables anew, which would cost a
// fifth of the time a file takes; opening a stream resets all it knew of the last one.
mpg123_handle* threadDecoder() {
  thread_local const Handle decoder = newHandle();
  return decoder.get();
}

// Closes the decoder's stream when the reading ends, however it ends.
struct OpenStream {
  mpg123_handle* h;
  ~OpenStream() { mpg123_close(h); }
};

}  // namespace

std::optional<AudioLength> readAudioLength(const TrackFile& file, const TagLayout& layout) {
  const auto stream = locateMpegStream(file, layout);
  if (!stream) return std::nullopt;
  AudioWindow window{file, stream->begin, stream->end - stream->begin};
  mpg123_handle* h = threadDecoder();
  if (h == nullptr || mpg123_open_handle(h, &window) != MPG123_OK) return std::nullopt;
  const OpenStream open{h};

  long rate = 0;
  int channels = 0;
  int encoding = 0;
  if (mpg123_getformat(h, &rate, &channels, &encoding) != MPG123_OK || rate <= 0) {
    return std::nullopt;
  }
  // Without a header libmpg123 guesses the length from the first frame's bitrate, which
  // is far off for VBR; counting every frame is exact.
  if (!stream->headerTrusted() && mpg123_scan(h) != MPG123_OK) return std::nullopt;
  const off_t samples = mpg123_length(h);
  if (samples <= 0) return std::nullopt;
  return AudioLength{static_cast<qint64>(samples), rate};
}

QString formatPlayTime(const AudioLength& length) {
  const qint64 seconds = length.samples / length.sampleRate;
  return QStringLiteral("%1:%2:%3")
      .arg(seconds / 3600)
      .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
      .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace orv::platform

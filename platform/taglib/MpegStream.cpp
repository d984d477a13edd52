#include "platform/taglib/MpegStream.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace orv::platform {
namespace {

using Byte = unsigned char;

quint32 bigEndian32(const Byte* p) {
  return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | p[3];
}

bool sameStream(const MpegFrameHeader& a, const MpegFrameHeader& b) {
  return a.sampleRate == b.sampleRate && a.channels == b.channels;
}

// Whether frames of one stream follow each other from `pos` on: three of them, or fewer
// that end exactly at `end`.
bool frameChainAt(const TrackFile& file, qint64 pos, qint64 end, const MpegFrameHeader& first) {
  qint64 next = pos + first.frameBytes;
  for (int frames = 1; frames < 3; ++frames) {
    if (next == end) return true;
    Byte h[4];
    if (next + 4 > end || file.read(next, h, 4) != 4) return false;
    const auto header = parseLayer3Header(h);
    if (!header || !sameStream(*header, first)) return false;
    next += header->frameBytes;
  }
  return next <= end;
}

std::optional<XingCounts> readXingCounts(const TrackFile& file, qint64 pos,
                                         const MpegFrameHeader& frame) {
  std::array<Byte, 16> x{};
  if (frame.xingOffset + 16 > frame.frameBytes ||
      file.read(pos + frame.xingOffset, x.data(), 16) != 16) {
    return std::nullopt;
  }
  if (std::memcmp(x.data(), "Xing", 4) != 0 && std::memcmp(x.data(), "Info", 4) != 0) {
    return std::nullopt;
  }
  const quint32 flags = bigEndian32(x.data() + 4);
  XingCounts counts;
  const Byte* field = x.data() + 8;
  if (flags & 0x1) {
    counts.frames = bigEndian32(field);
    field += 4;
  }
  if (flags & 0x2) counts.bytes = bigEndian32(field);
  return counts;
}

}  // namespace

std::optional<MpegFrameHeader> parseLayer3Header(const unsigned char* b) {
  if (b[0] != 0xFF || (b[1] & 0xE0) != 0xE0) return std::nullopt;
  const int versionBits = (b[1] >> 3) & 0x3;  // 0: MPEG-2.5, 1: reserved, 2: MPEG-2, 3: MPEG-1
  const int layerBits = (b[1] >> 1) & 0x3;    // 1: Layer III
  const int bitrateIndex = b[2] >> 4;
  const int rateIndex = (b[2] >> 2) & 0x3;
  if (versionBits == 1 || layerBits != 1 || bitrateIndex == 0 || bitrateIndex == 15 ||
      rateIndex == 3) {
    return std::nullopt;
  }
  static constexpr int kBitrates[2][15] = {
      {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},  // MPEG-1
      {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},      // MPEG-2, 2.5
  };
  static constexpr int kRates[3] = {44100, 48000, 32000};
  const bool mpeg1 = versionBits == 3;
  const int divisor = versionBits == 3 ? 1 : versionBits == 2 ? 2 : 4;
  const bool crc = (b[1] & 0x1) == 0;
  const bool padding = (b[2] >> 1) & 0x1;
  const bool mono = (b[3] >> 6) == 3;

  MpegFrameHeader h;
  h.sampleRate = kRates[rateIndex] / divisor;
  h.channels = mono ? 1 : 2;
  h.samplesPerFrame = mpeg1 ? 1152 : 576;
  const int kbps = kBitrates[mpeg1 ? 0 : 1][bitrateIndex];
  h.frameBytes = (mpeg1 ? 144000 : 72000) * kbps / h.sampleRate + (padding ? 1 : 0);
  const int sideInfo = mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
  h.xingOffset = 4 + (crc ? 2 : 0) + sideInfo;
  return h;
}

bool MpegStream::headerTrusted() const {
  if (!xing || !xing->frames || !xing->bytes || *xing->frames == 0) return false;
  // Encoders differ on whether the header's own frame counts among the bytes.
  const qint64 audio = end - begin;
  if (*xing->bytes != audio && *xing->bytes != audio - first.frameBytes) return false;
  // And the frames must be as many as those bytes can hold: between the lowest bitrate
  // and the highest.
  const bool mpeg1 = first.samplesPerFrame == 1152;
  const double bytesPerKbps = first.samplesPerFrame * 125.0 / first.sampleRate;
  const double averageFrame = double(audio) / (double(*xing->frames) + 1);
  return averageFrame >= bytesPerKbps * (mpeg1 ? 32 : 8) &&
         averageFrame <= bytesPerKbps * (mpeg1 ? 320 : 160) + 1;
}

std::optional<MpegStream> locateMpegStream(const TrackFile& file, const TagLayout& layout) {
  MpegStream stream;
  stream.end = layout.audioEnd;
  // Searched in blocks that overlap by a header's length, so no header straddles two. The
  // first frame usually starts the audio, so the first block is small.
  std::vector<Byte> block;
  qint64 blockSize = 4 * 1024;
  for (qint64 at = layout.audioBegin; at + 4 <= stream.end; at += blockSize) {
    if (at > layout.audioBegin) blockSize = 64 * 1024;
    const qint64 wanted = std::min(blockSize + 3, stream.end - at);
    block.resize(static_cast<size_t>(wanted));
    const qint64 got = file.read(at, block.data(), wanted);
    for (qint64 i = 0; i + 4 <= got; ++i) {
      if (block[i] != 0xFF) continue;
      const auto header = parseLayer3Header(&block[i]);
      if (!header || !frameChainAt(file, at + i, stream.end, *header)) continue;
      stream.begin = at + i;
      stream.first = *header;
      stream.xing = readXingCounts(file, stream.begin, stream.first);
      return stream;
    }
    if (got < wanted) break;  // a read error
  }
  return std::nullopt;
}

}  // namespace orv::platform

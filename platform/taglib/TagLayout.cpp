#include "platform/taglib/TagLayout.h"

#include <algorithm>
#include <cstring>

namespace orv::platform {
namespace {

using Byte = unsigned char;

quint32 littleEndian32(const Byte* p) {
  return quint32(p[3]) << 24 | quint32(p[2]) << 16 | quint32(p[1]) << 8 | p[0];
}

// The end of the ID3v2 tags at the start of the file (several may follow each other).
qint64 skipId3v2Tags(const TrackFile& file, qint64 fileSize, TagLayout& layout) {
  qint64 pos = 0;
  for (int tag = 0; tag < 8; ++tag) {
    Byte h[10];
    if (file.read(pos, h, 10) != 10 || std::memcmp(h, "ID3", 3) != 0) break;
    if (h[3] == 0xFF || h[4] == 0xFF || ((h[6] | h[7] | h[8] | h[9]) & 0x80) != 0) break;
    const qint64 size = qint64(h[6]) << 21 | qint64(h[7]) << 14 | qint64(h[8]) << 7 | h[9];
    const bool footer = (h[5] & 0x10) != 0;
    if (pos == 0) {
      layout.id3v2 = 0;
      layout.id3v2Bytes = 10 + size + (footer ? 10 : 0);
    }
    pos += 10 + size + (footer ? 10 : 0);
    if (pos >= fileSize) return fileSize;
  }
  return pos;
}

bool cutApe(const TrackFile& file, qint64& end, TagLayout& layout) {
  Byte f[32];
  if (end < 32 || file.read(end - 32, f, 32) != 32 || std::memcmp(f, "APETAGEX", 8) != 0) {
    return false;
  }
  const qint64 size = littleEndian32(f + 12);  // items and footer
  const bool header = (littleEndian32(f + 20) & 0x80000000u) != 0;
  const qint64 whole = size + (header ? 32 : 0);
  if (size < 32 || whole > end) return false;
  if (!layout.apeFooter) layout.apeFooter = end - 32;
  end -= whole;
  return true;
}

bool cutLyrics3(const TrackFile& file, qint64& end) {
  Byte f[15];
  if (end < 15 || file.read(end - 15, f, 15) != 15 || std::memcmp(f + 6, "LYRICS200", 9) != 0 ||
      !std::all_of(f, f + 6, [](Byte c) { return c >= '0' && c <= '9'; })) {
    return false;
  }
  qint64 size = 0;
  for (int i = 0; i < 6; ++i) size = size * 10 + (f[i] - '0');
  if (size + 15 > end) return false;
  end -= size + 15;
  return true;
}

}  // namespace

TagLayout findTagLayout(const TrackFile& file) {
  TagLayout layout;
  const qint64 size = file.size();
  if (size == 0) return layout;
  const qint64 begin = skipId3v2Tags(file, size, layout);
  // The trailing tags are looked for whatever the ID3v2 tag claims: a tag-only file may
  // hold both, and a wrong ID3v2 size must not hide the others.
  qint64 end = size;
  Byte tag[3];
  if (end >= 128 && file.read(end - 128, tag, 3) == 3 && std::memcmp(tag, "TAG", 3) == 0) {
    end -= 128;
    layout.id3v1 = end;
  }
  // Taggers have put these two in either order.
  for (int round = 0; round < 2; ++round) {
    const bool ape = cutApe(file, end, layout);
    const bool lyrics = cutLyrics3(file, end);
    if (!ape && !lyrics) break;
  }
  layout.audioBegin = begin;
  layout.audioEnd = std::max(begin, end);
  return layout;
}

}  // namespace orv::platform

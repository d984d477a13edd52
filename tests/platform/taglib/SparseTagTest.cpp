// Large ID3v2 tags read without their pictures and other binary frames: the texts are
// those of the whole read in every layout, layouts that forbid skipping are read whole,
// and a track with a large cover costs few bytes.

#include "platform/posix/FileDescriptor.h"
#include "platform/taglib/SparseId3v2Tag.h"
#include "platform/taglib/TrackTexts.h"
#include "tests/mp3/Mp3Files.h"
#include "tests/platform/taglib/DetailFiles.h"

#include <QFile>

#include <fcntl.h>

#include <gtest/gtest.h>

#include <limits>

namespace orv::test {
namespace {

using namespace Qt::StringLiterals;

// One frame of a tag laid out by hand, with the header fields the layouts play with.
struct RawFrame {
  QByteArray id;
  QByteArray body;
  char formatFlags = 0;    // the second flag byte (2.3: 0x80 compressed)
  bool plainSize = false;  // a 2.4 size written as a plain integer, as some taggers do
};

void appendSize(QByteArray& out, quint32 size, int bytes, bool synchSafe) {
  for (int i = bytes - 1; i >= 0; --i)
    out.append(char((size >> (synchSafe ? 7 : 8) * i) & (synchSafe ? 0x7F : 0xFF)));
}

QByteArray frameBytes(int version, const RawFrame& f) {
  QByteArray out = f.id;
  if (version == 2) {
    appendSize(out, f.body.size(), 3, false);
  } else {
    appendSize(out, f.body.size(), 4, version >= 4 && !f.plainSize);
    out.append('\0').append(f.formatFlags);
  }
  return out + f.body;
}

// A tag of `version` with header flags `flags`, `extra` right after the header (an
// extended header), the frames, `padding` zeros and, for flag 0x10, a footer.
QByteArray tagBytes(int version, char flags, const std::vector<RawFrame>& frames,
                    int padding = 1024, const QByteArray& extra = {}) {
  QByteArray body = extra;
  for (const RawFrame& f : frames) body += frameBytes(version, f);
  body.append(QByteArray(padding, '\0'));
  QByteArray header("ID3");
  header.append(char(version)).append('\0').append(flags);
  appendSize(header, body.size(), 4, true);
  QByteArray footer;
  if (flags & 0x10) footer = "3DI" + header.mid(3);
  return header + body + footer;
}

RawFrame text(const QByteArray& id, const QString& value) {
  return {id, '\x01' + encodeId3Text(value, Id3Encoding::kUtf16)};
}

// A picture of about `kilobytes` KB. Its bytes are never 0xFF, so unsynchronisation
// leaves it as it is.
RawFrame picture(const QByteArray& id, int kilobytes) {
  const QByteArray image(kilobytes * 1024, 'x');
  return {id, id == "PIC" ? QByteArray("\0JPG\x03\0", 6) + image
                          : QByteArray("\0image/jpeg\0\x03\0", 14) + image};
}

const QString kArtist = u"歌手"_s, kTitle = u"曲"_s, kAlbum = u"盤"_s;

std::vector<RawFrame> texts(int version) {
  return version == 2
             ? std::vector<RawFrame>{text("TP1", kArtist), text("TT2", kTitle), text("TAL", kAlbum)}
             : std::vector<RawFrame>{text("TPE1", kArtist), text("TIT2", kTitle),
                                     text("TALB", kAlbum)};
}

template <typename... Frames>
std::vector<RawFrame> frames(std::vector<RawFrame> first, Frames... rest) {
  (first.push_back(rest), ...);
  return first;
}

struct LayoutCase {
  const char* name;
  QByteArray tag;
  bool skipsFrames;  // false: the layout forbids it, the tag is read whole
};

std::vector<LayoutCase> layoutCases() {
  const RawFrame compressedTitle{"TIT2", QByteArray("\0\0\0\0", 4), '\x80'};
  RawFrame compressed = compressedTitle;
  const QByteArray title = text("TIT2", kTitle).body;
  compressed.body = qCompress(title);  // its size first, as the frame's own field
  // An extended header: its size as TagLib reads it (10, itself included), flags, padding
  // size.
  const QByteArray extendedHeader("\0\0\0\x0A\0\0\0\0\0\0", 10);
  const auto plain = [](RawFrame f) {
    f.plainSize = true;
    return f;
  };
  return {
      {"2.3 texts, then a cover", tagBytes(3, 0, frames(texts(3), picture("APIC", 1024))), true},
      {"2.3 a cover, then the texts",
       tagBytes(3, 0, frames({picture("APIC", 1024)}, texts(3)[0], texts(3)[1], texts(3)[2])),
       true},
      {"2.4 texts among a cover, an object and private data",
       tagBytes(4, 0,
                {texts(4)[0],
                 picture("APIC", 300),
                 texts(4)[1],
                 {"GEOB", QByteArray(200 * 1024, 'g')},
                 {"PRIV", QByteArray(100 * 1024, 'p')},
                 texts(4)[2]}),
       true},
      {"2.4 sizes written as plain integers",
       tagBytes(4, 0,
                {plain(texts(4)[0]), plain(picture("APIC", 300)), plain(texts(4)[1]),
                 plain(texts(4)[2])}),
       true},
      {"2.4 with a footer", tagBytes(4, 0x10, frames(texts(4), picture("APIC", 300)), 0), true},
      {"2.2 picture",
       tagBytes(2, 0, frames({picture("PIC", 300)}, texts(2)[0], texts(2)[1], texts(2)[2])), true},
      {"2.3 unsynchronised", tagBytes(3, '\x80', frames(texts(3), picture("APIC", 300))), false},
      {"2.3 extended header",
       tagBytes(3, 0x40, frames(texts(3), picture("APIC", 300)), 1024, extendedHeader), false},
      {"2.3 compressed title",
       tagBytes(3, 0, {texts(3)[0], picture("APIC", 300), compressed, texts(3)[2]}), false},
      {"unknown version 2.5", tagBytes(5, 0, frames(texts(4), picture("APIC", 300))), false},
  };
}

platform::FileDescriptor openFile(const QString& path) {
  platform::FileDescriptor fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) throw std::runtime_error("cannot open " + path.toStdString());
  return fd;
}

platform::TrackTexts readTexts(const QString& path, qint64 readWholeTagUpTo) {
  const platform::FileDescriptor fd = openFile(path);
  const platform::TrackFile file(fd.get());
  return platform::readTrackTexts(file, "track.mp3", platform::findTagLayout(file),
                                  readWholeTagUpTo);
}

TEST(SparseTag, EveryLayoutReadsTheTextsOfTheWholeTag) {
  DetailFiles files;
  for (const LayoutCase& c : layoutCases()) {
    SCOPED_TRACE(c.name);
    const QString path = files.put("track.mp3", c.tag + shortMp3());
    EXPECT_EQ(
        platform::readSparseId3v2Tag(platform::TrackFile(openFile(path).get()), 0).has_value(),
        c.skipsFrames);
    const auto whole = readTexts(path, std::numeric_limits<qint64>::max());
    const auto sparse = readTexts(path, 0);
    EXPECT_EQ(whole.artist, kArtist);
    EXPECT_EQ(whole.title, kTitle);
    EXPECT_EQ(whole.album, kAlbum);
    EXPECT_EQ(sparse.artist, whole.artist);
    EXPECT_EQ(sparse.title, whole.title);
    EXPECT_EQ(sparse.album, whole.album);
  }
}

TEST(SparseTag, ATagLongerThanItsFileIsReadWhole) {
  DetailFiles files;
  const QByteArray tag = tagBytes(3, 0, frames(texts(3), picture("APIC", 1024)));
  const QString path = files.put("cut.mp3", tag.left(tag.size() / 2));
  EXPECT_FALSE(
      platform::readSparseId3v2Tag(platform::TrackFile(openFile(path).get()), 0).has_value());
  EXPECT_EQ(readTexts(path, 0).title, kTitle);
}

TEST(SparseTag, ATrackWithALargeCoverCostsFewBytes) {
  DetailFiles files;
  files.put("cover.mp3", tagBytes(3, 0, frames(texts(3), picture("APIC", 4096))) + shortMp3());
  const qint64 before = bytesReadByThisThread();
  const auto details = files.details("cover.mp3");
  const qint64 read = bytesReadByThisThread() - before;
  EXPECT_EQ(details.title, kTitle);
  EXPECT_EQ(details.playTime, "0:00:01");
  EXPECT_LE(read, 128 * 1024);
}

}  // namespace
}  // namespace orv::test

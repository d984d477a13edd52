#include "tests/mp3/Mp3Files.h"

#include "tests/support/Files.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <taglib/apetag.h>
#include <taglib/id3v2tag.h>

#include <cmath>
#include <numbers>
#include <random>
#include <stdexcept>

namespace orv::test {
namespace {

[[noreturn]] void fail(const QString& what) { throw std::runtime_error(what.toStdString()); }

void appendBigEndian(QByteArray& out, quint32 value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void appendLittleEndian(QByteArray& out, quint32 value) {
  for (int i = 0; i < 4; ++i) out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void appendSyncSafe(QByteArray& out, quint32 value) {
  for (int i = 3; i >= 0; --i) out.append(static_cast<char>((value >> (7 * i)) & 0x7F));
}

QByteArray field(const QByteArray& bytes, int width) {
  QByteArray f = bytes.left(width);
  f.append(QByteArray(width - f.size(), '\0'));
  return f;
}

}  // namespace

QByteArray pcm(int sampleRate, int channels, double seconds, double silence) {
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> noise(-6000, 6000);
  const auto frames = static_cast<qint64>(std::llround(sampleRate * seconds));
  const auto silent = static_cast<qint64>(std::llround(sampleRate * silence));
  QByteArray out;
  out.reserve(frames * channels * 2);
  for (qint64 i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / sampleRate;
    const int v = i < silent ? 0
                             : static_cast<int>(8000 * std::sin(2 * std::numbers::pi * 440 * t)) +
                                   noise(random);
    for (int c = 0; c < channels; ++c) {
      out.append(static_cast<char>(v & 0xFF));
      out.append(static_cast<char>((v >> 8) & 0xFF));
    }
  }
  return out;
}

QByteArray wavFile(const QByteArray& pcmBytes, int sampleRate, int channels) {
  QByteArray h = "RIFF";
  appendLittleEndian(h, static_cast<quint32>(36 + pcmBytes.size()));
  h += "WAVEfmt ";
  appendLittleEndian(h, 16);
  appendLittleEndian(h, 1 | static_cast<quint32>(channels) << 16);  // PCM
  appendLittleEndian(h, static_cast<quint32>(sampleRate));
  appendLittleEndian(h, static_cast<quint32>(sampleRate * channels * 2));
  appendLittleEndian(h, static_cast<quint32>(channels * 2) | 16u << 16);  // block, 16 bits
  h += "data";
  appendLittleEndian(h, static_cast<quint32>(pcmBytes.size()));
  return h + pcmBytes;
}

QByteArray randomBytes(int size) {
  std::mt19937 random(7);
  QByteArray out(size, '\0');
  for (char& c : out) c = static_cast<char>(random());
  return out;
}

QByteArray encodeMp3(const QByteArray& pcmBytes, int sampleRate, int channels,
                     const QStringList& options) {
  QTemporaryDir dir;
  if (!dir.isValid()) fail("no temporary folder");
  const QString in = dir.filePath("in.raw");
  const QString out = dir.filePath("out.mp3");
  writeFile(in, pcmBytes);
  QStringList args{"--quiet",    "-r",
                   "-s",         QString::number(sampleRate / 1000.0),
                   "--bitwidth", "16",
                   "--signed",   "--little-endian",
                   "-m",         channels == 1 ? "m" : "j"};
  args << options << in << out;
  QProcess lame;
  lame.start("lame", args);
  if (!lame.waitForStarted()) fail("lame is not installed: it is needed to make test MP3s");
  if (!lame.waitForFinished(120000) || lame.exitStatus() != QProcess::NormalExit ||
      lame.exitCode() != 0) {
    fail("lame failed: " + QString::fromLocal8Bit(lame.readAllStandardError()));
  }
  return readFile(out);
}

QByteArray encodeId3Text(const QString& text, Id3Encoding encoding, bool bigEndianBom) {
  QByteArray out;
  switch (encoding) {
    case Id3Encoding::kLatin1:
      return text.toLatin1();
    case Id3Encoding::kUtf8:
      return text.toUtf8();
    case Id3Encoding::kUtf16:
      out.append(bigEndianBom ? "\xFE\xFF" : "\xFF\xFE", 2);
      break;
    case Id3Encoding::kUtf16BE:
      break;
  }
  const bool big = encoding == Id3Encoding::kUtf16BE || bigEndianBom;
  for (QChar c : text) {
    const char hi = static_cast<char>(c.unicode() >> 8);
    const char lo = static_cast<char>(c.unicode() & 0xFF);
    out.append(big ? hi : lo);
    out.append(big ? lo : hi);
  }
  return out;
}

Id3v2Frame textFrame(const QByteArray& id, const QString& text, Id3Encoding encoding,
                     bool bigEndianBom) {
  return {id, static_cast<char>(encoding), encodeId3Text(text, encoding, bigEndianBom)};
}

Id3v2Frame rawLatin1Frame(const QByteArray& id, const QByteArray& bytes) {
  return {id, static_cast<char>(Id3Encoding::kLatin1), bytes};
}

std::vector<Id3v2Frame> textFrames(int version, const QString& artist, const QString& title,
                                   const QString& album, Id3Encoding encoding, bool bigEndianBom) {
  const bool v22 = version == 2;
  return {textFrame(v22 ? "TP1" : "TPE1", artist, encoding, bigEndianBom),
          textFrame(v22 ? "TT2" : "TIT2", title, encoding, bigEndianBom),
          textFrame(v22 ? "TAL" : "TALB", album, encoding, bigEndianBom)};
}

Id3v2Frame pictureFrame(int version, const QByteArray& picture, char type) {
  // The image's format: three letters in version 2.2, a MIME type after it.
  const QByteArray format = version == 2 ? QByteArray("JPG") : QByteArray("image/jpeg", 11);
  return {version == 2 ? "PIC" : "APIC", '\0', format + type + '\0' + picture};
}

QByteArray id3v2Tag(int version, const std::vector<Id3v2Frame>& frames, int padding) {
  QByteArray body;
  for (const Id3v2Frame& f : frames) {
    const QByteArray data = f.encoding + f.payload;
    body.append(f.id);
    if (version == 2) {
      appendBigEndian(body, static_cast<quint32>(data.size()), 3);
    } else if (version == 3) {
      appendBigEndian(body, static_cast<quint32>(data.size()), 4);
      body.append(2, '\0');
    } else {
      appendSyncSafe(body, static_cast<quint32>(data.size()));
      body.append(2, '\0');
    }
    body.append(data);
  }
  body.append(QByteArray(padding, '\0'));
  QByteArray tag("ID3");
  tag.append(static_cast<char>(version));
  tag.append(2, '\0');  // revision, flags
  appendSyncSafe(tag, static_cast<quint32>(body.size()));
  return tag + body;
}

QByteArray rawApeTag(const std::vector<ApeItem>& items) {
  QByteArray body;
  for (const ApeItem& item : items) {
    appendLittleEndian(body, static_cast<quint32>(item.bytes.size()));
    appendLittleEndian(body, 0);  // a text item, read-write
    body += item.key + QByteArray(1, '\0') + item.bytes;
  }
  const auto frame = [&](quint32 flags) {
    QByteArray f("APETAGEX");
    appendLittleEndian(f, 2000);
    appendLittleEndian(f, static_cast<quint32>(body.size() + 32));  // items and footer
    appendLittleEndian(f, static_cast<quint32>(items.size()));
    appendLittleEndian(f, flags);
    return f + QByteArray(8, '\0');
  };
  constexpr quint32 kHasHeader = 0x80000000u, kIsHeader = 0x20000000u;
  return frame(kHasHeader | kIsHeader) + body + frame(kHasHeader);
}

QByteArray id3v1Tag(const QByteArray& title, const QByteArray& artist, const QByteArray& album) {
  QByteArray tag("TAG");
  tag += field(title, 30) + field(artist, 30) + field(album, 30) + field("2001", 4) + field("", 30);
  tag.append(static_cast<char>(255));  // no genre
  return tag;
}

namespace {

void setTexts(TagLib::Tag& tag, const QString& artist, const QString& title, const QString& album) {
  tag.setArtist(TagLib::String(artist.toStdString(), TagLib::String::UTF8));
  tag.setTitle(TagLib::String(title.toStdString(), TagLib::String::UTF8));
  tag.setAlbum(TagLib::String(album.toStdString(), TagLib::String::UTF8));
}

QByteArray bytes(const TagLib::ByteVector& data) {
  return QByteArray(data.data(), static_cast<qsizetype>(data.size()));
}

}  // namespace

QByteArray id3v2TagByTagLib(const QString& artist, const QString& title, const QString& album) {
  TagLib::ID3v2::Tag tag;
  setTexts(tag, artist, title, album);
  return bytes(tag.render());
}

QByteArray apeTag(const QString& artist, const QString& title, const QString& album) {
  TagLib::APE::Tag tag;
  setTexts(tag, artist, title, album);
  return bytes(tag.render());
}

}  // namespace orv::test

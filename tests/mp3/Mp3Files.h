#pragma once

// Real MP3 files for tests and benchmarks: PCM made here, encoded by the lame command,
// with tags written byte by byte (ID3v1, ID3v2.2 to 2.4, Shift-JIS where old taggers put
// it) or by TagLib (APE). Failures throw std::runtime_error.

#include "tests/support/CodePageTexts.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace orv::test {

// 16-bit little-endian PCM: `silence` seconds of silence, then a tone with noise, for
// `seconds` in all. The same arguments give the same bytes.
QByteArray pcm(int sampleRate, int channels, double seconds, double silence = 0.0);

// `pcmBytes` (16-bit) as a WAV file, such as users rename to .mp3 by mistake.
QByteArray wavFile(const QByteArray& pcmBytes, int sampleRate, int channels);

// `size` bytes of noise; the same size gives the same bytes.
QByteArray randomBytes(int size);

// Encodes `pcmBytes` with `lame -r` and `options` (e.g. {"-b", "128"}, {"-V", "2", "-t"}).
// Throws when lame is missing or fails: the tests need it.
//
//   QByteArray mp3 = encodeMp3(pcm(44100, 2, 5.5), 44100, 2, {"-b", "128"});
QByteArray encodeMp3(const QByteArray& pcmBytes, int sampleRate, int channels,
                     const QStringList& options);

// Text encodings of ID3v2 frames.
enum class Id3Encoding : char { kLatin1 = 0, kUtf16 = 1, kUtf16BE = 2, kUtf8 = 3 };

// The bytes of `text` in `encoding`, without terminator; UTF-16 with a byte-order mark
// (little-endian unless `bigEndianBom`).
QByteArray encodeId3Text(const QString& text, Id3Encoding encoding, bool bigEndianBom = false);

struct Id3v2Frame {
  QByteArray id;       // "TIT2", or "TT2" in version 2.2
  char encoding;       // the first byte of the frame's data
  QByteArray payload;  // the text bytes that follow it
};

// A text frame of `text` in `encoding`.
Id3v2Frame textFrame(const QByteArray& id, const QString& text, Id3Encoding encoding,
                     bool bigEndianBom = false);
// A text frame marked ISO-8859-1 that holds `bytes` (e.g. Shift-JIS) as they are.
Id3v2Frame rawLatin1Frame(const QByteArray& id, const QByteArray& bytes);
// The artist, title and album frames, with the ids of ID3v2 `version` (2, 3 or 4).
std::vector<Id3v2Frame> textFrames(int version, const QString& artist, const QString& title,
                                   const QString& album, Id3Encoding encoding,
                                   bool bigEndianBom = false);

// A picture frame of ID3v2 `version` (2, 3 or 4) holding `picture`, an image file's bytes,
// as ID3v2 picture `type` (3: front cover, 0: other), without a description: "PIC" in
// version 2.2, "APIC" after.
Id3v2Frame pictureFrame(int version, const QByteArray& picture, char type = 3);

// A whole ID3v2 tag of major `version` 2, 3 or 4, with `padding` zero bytes after the
// frames.
QByteArray id3v2Tag(int version, const std::vector<Id3v2Frame>& frames, int padding = 0);

// A 128-byte ID3v1 tag; each field cut to 30 bytes or padded with NULs.
QByteArray id3v1Tag(const QByteArray& title, const QByteArray& artist, const QByteArray& album);

// An ID3v2.4 tag rendered by TagLib.
QByteArray id3v2TagByTagLib(const QString& artist, const QString& title, const QString& album);

// An APE v2 tag (header, items, footer) rendered by TagLib; empty texts are left out.
QByteArray apeTag(const QString& artist, const QString& title, const QString& album);

// An APE v2 tag of text items whose values are `bytes` as they are (e.g. Shift-JIS),
// written byte by byte: TagLib writes only UTF-8.
struct ApeItem {
  QByteArray key;
  QByteArray bytes;
};
QByteArray rawApeTag(const std::vector<ApeItem>& items);

}  // namespace orv::test

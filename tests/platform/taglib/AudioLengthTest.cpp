// Play times of real MP3 files: exact decoded lengths, whatever the encoding and headers.

#include "platform/posix/FileDescriptor.h"
#include "platform/taglib/AudioLength.h"
#include "platform/taglib/MpegStream.h"
#include "tests/mp3/Mp3Files.h"
#include "tests/platform/taglib/DetailFiles.h"

#include <QFile>

#include <fcntl.h>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

using platform::AudioLength;
using platform::FileDescriptor;

struct Measured {
  std::optional<AudioLength> length;
  std::optional<platform::MpegStream> stream;
};

Measured measure(const QString& path) {
  FileDescriptor fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) throw std::runtime_error("cannot open " + path.toStdString());
  const platform::TrackFile file(fd.get());
  const platform::TagLayout layout = platform::findTagLayout(file);
  return {platform::readAudioLength(file, layout), platform::locateMpegStream(file, layout)};
}

struct AudioCase {
  const char* name;
  int rate;
  int channels;
  double seconds;  // in all, the leading silence included
  double silence;
  QStringList options;
  bool header;  // whether lame writes a Xing/Info header for these settings
  const char* playTime;
};

const AudioCase kAudioCases[] = {
    {"mpeg1 cbr info", 44100, 2, 5.5, 0, {"-b", "128"}, true, "0:00:05"},
    {"mpeg1 vbr xing", 44100, 2, 5.5, 0, {"-V", "2"}, true, "0:00:05"},
    {"mpeg1 cbr without header", 44100, 2, 5.5, 0, {"-b", "128", "-t"}, false, "0:00:05"},
    // Silence first: the first frame's bitrate says nothing about the rest.
    {"mpeg1 vbr without header", 44100, 2, 7.3, 1.0, {"-V", "0", "-t"}, false, "0:00:07"},
    {"mpeg1 48 kHz vbr", 48000, 2, 3.9, 0, {"-V", "4"}, true, "0:00:03"},
    {"mpeg1 32 kHz mono", 32000, 1, 4.2, 0, {"-b", "64"}, true, "0:00:04"},
    {"mpeg2 22.05 kHz mono vbr", 22050, 1, 6.6, 0, {"-V", "4"}, true, "0:00:06"},
    {"mpeg2 24 kHz vbr without header", 24000, 2, 6.6, 1.0, {"-V", "2", "-t"}, false, "0:00:06"},
    {"mpeg2 16 kHz mono", 16000, 1, 2.5, 0, {"-b", "48"}, true, "0:00:02"},
    {"mpeg2.5 8 kHz mono", 8000, 1, 5.5, 0, {"-b", "32"}, true, "0:00:05"},
    // Frames too small for lame to write its header in.
    {"mpeg2.5 8 kHz mono 8 kbps", 8000, 1, 5.5, 0, {"-b", "8"}, false, "0:00:05"},
    {"mpeg2.5 11.025 kHz vbr", 11025, 2, 4.4, 0, {"-V", "6"}, true, "0:00:04"},
    {"mpeg2.5 12 kHz", 12000, 2, 3.3, 0, {"-b", "48"}, true, "0:00:03"},
};

TEST(AudioLength, ExactForEveryMpegVersionAndHeader) {
  DetailFiles files;
  for (const AudioCase& c : kAudioCases) {
    SCOPED_TRACE(c.name);
    const QString name = QString::fromLatin1(c.name) + ".mp3";
    files.put(name, encodeMp3(pcm(c.rate, c.channels, c.seconds, c.silence), c.rate, c.channels,
                              c.options));
    const Measured m = measure(files.folder() + name);
    ASSERT_TRUE(m.stream && m.length);
    // The fixture is what it claims to be.
    EXPECT_EQ(m.stream->xing.has_value(), c.header);
    EXPECT_EQ(m.stream->first.sampleRate, c.rate);
    EXPECT_EQ(m.stream->first.channels, c.channels);
    EXPECT_EQ(m.stream->headerTrusted(), c.header);

    const qint64 input = std::llround(c.rate * c.seconds);
    EXPECT_EQ(m.length->sampleRate, c.rate);
    if (c.header) {
      // The LAME header's delay and padding are taken off: what went in comes out.
      EXPECT_EQ(m.length->samples, input);
    } else {
      // Without it the decoder plays the encoder's delay and padding too.
      EXPECT_GE(m.length->samples, input);
      EXPECT_LE(m.length->samples, input + 2304);
    }
    EXPECT_EQ(files.details(name).playTime, c.playTime);
  }
}

TEST(AudioLength, VbrWithoutHeaderIsNotEstimatedFromTheFirstFrame) {
  // The estimate that TagLib and others make: the whole stream at the first frame's
  // bitrate. For this fixture it is far off, so the exact length proves the scan.
  DetailFiles files;
  files.put("vbr.mp3", encodeMp3(pcm(44100, 2, 7.3, 1.0), 44100, 2, {"-V", "0", "-t"}));
  const Measured m = measure(files.folder() + "vbr.mp3");
  ASSERT_TRUE(m.stream && m.length);
  const double estimate = double(m.stream->end - m.stream->begin) / m.stream->first.frameBytes *
                          m.stream->first.samplesPerFrame / m.stream->first.sampleRate;
  EXPECT_GT(estimate, 9.0);
  EXPECT_NEAR(double(m.length->samples) / m.length->sampleRate, 7.3, 0.06);
}

QByteArray lyrics3v2() {
  const QByteArray body = "LYRICSBEGININD0000211";
  return body + QByteArray::number(body.size()).rightJustified(6, '0') + "LYRICS200";
}

TEST(AudioLength, TagsAroundTheAudioLeaveTheHeaderTrusted) {
  DetailFiles files;
  const QByteArray mp3 = encodeMp3(pcm(44100, 2, 5.5), 44100, 2, {"-V", "2"});
  const QByteArray before = id3v2Tag(3, {textFrame("TIT2", "t", Id3Encoding::kUtf16)}, 20000);
  const QByteArray after = apeTag("a", "t", "l") + lyrics3v2() + id3v1Tag("t", "a", "l");
  files.put("tagged.mp3", before + mp3 + after);
  const Measured m = measure(files.folder() + "tagged.mp3");
  ASSERT_TRUE(m.stream && m.length);
  EXPECT_EQ(m.stream->begin, before.size());
  EXPECT_EQ(m.stream->end, before.size() + mp3.size());
  EXPECT_TRUE(m.stream->headerTrusted());
  EXPECT_EQ(m.length->samples, 5.5 * 44100);
}

TEST(AudioLength, HeaderThatDisagreesWithTheFileIsNotTrusted) {
  DetailFiles files;
  const QByteArray mp3 = encodeMp3(pcm(44100, 2, 5.5), 44100, 2, {"-V", "2"});
  struct Case {
    const char* name;
    QByteArray bytes;
    const char* playTime;
  };
  // The frame count (bytes 8 to 11 of the Xing header) raised by 3 × 65,536: far more
  // frames than the bytes can hold.
  const int xingAt = mp3.indexOf("Xing");
  ASSERT_GT(xingAt, 0);
  QByteArray absurd = mp3;
  absurd[xingAt + 9] = static_cast<char>(absurd[xingAt + 9] + 3);
  const Case cases[] = {
      {"cut short", mp3.left(mp3.size() / 2), "0:00:02"},
      {"frames the bytes cannot hold", absurd, "0:00:05"},
      {"audio appended", mp3 + mp3, "0:00:11"},
      {"junk appended", mp3 + QByteArray(5000, '\x55'), "0:00:05"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString name = QString::fromLatin1(c.name) + ".mp3";
    files.put(name, c.bytes);
    const Measured m = measure(files.folder() + name);
    ASSERT_TRUE(m.stream && m.length);
    EXPECT_TRUE(m.stream->xing.has_value());
    EXPECT_FALSE(m.stream->headerTrusted());
    EXPECT_EQ(files.details(name).playTime, c.playTime);
  }
}

TEST(AudioLength, OverAnHour) {
  // An hour of 8 kbps at 8 kHz, made of one short file's frames repeated: every frame
  // is 72 bytes and 576 samples, and there is no header, so every frame is counted.
  const QByteArray base = encodeMp3(pcm(8000, 1, 20.0), 8000, 1, {"-b", "8", "-t"});
  ASSERT_EQ(base.size() % 72, 0);
  const qint64 frames = (3723 * 8000 + 4000) / 576 + 1;  // 1:02:03 and a half second
  QByteArray hour;
  hour.reserve(frames * 72);
  while (hour.size() < frames * 72) hour.append(base);
  hour.truncate(frames * 72);
  DetailFiles files;
  files.put("hour.mp3", hour);
  EXPECT_EQ(files.details("hour.mp3").playTime, "1:02:03");
}

TEST(AudioLength, Format) {
  struct Case {
    qint64 samples;
    long rate;
    const char* text;
  };
  const Case cases[] = {
      {0, 44100, "0:00:00"},          {44099, 44100, "0:00:00"},  // truncated, never rounded
      {44100, 44100, "0:00:01"},      {205 * 44100 + 44099, 44100, "0:03:25"},
      {3723 * 8000, 8000, "1:02:03"}, {36000LL * 48000 + 59 * 48000, 48000, "10:00:59"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::formatPlayTime({c.samples, c.rate}), c.text) << c.samples;
  }
}

}  // namespace
}  // namespace orv::test

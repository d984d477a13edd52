// The track reader on arbitrary file bytes: whatever a folder holds under an .mp3 name
// (damaged downloads, cut copies, other files renamed), the four details come back
// without a crash, a leak or a hang; the play time is empty or "H:MM:SS" and every text
// is valid UTF-16, read as an album of the one track. And an ID3v2 tag read without its
// binary frames gives the texts of the whole tag, byte for byte, whatever its layout.
//
// Input: the bytes of the file.

#include "fuzz/FuzzSupport.h"
#include "platform/posix/FileDescriptor.h"
#include "platform/taglib/TagLibTrackDetails.h"
#include "platform/taglib/TrackTexts.h"
#include "tests/support/Files.h"
#include "text/AlbumTexts.h"

#include <QFile>

#include <fcntl.h>

#include <cstdint>
#include <limits>

using namespace orv;
using namespace orv::fuzz;
using namespace orv::platform;

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// "H:MM:SS": hours without leading zeros, minutes and seconds two digits below 60.
bool isPlayTime(const QString& text) {
  const qsizetype colon = text.indexOf(u':');
  if (colon < 1 || text.size() != colon + 6) return false;
  for (qsizetype i = 0; i < colon; ++i) {
    if (!isDigit(text[i])) return false;
  }
  if (colon > 1 && text[0] == u'0') return false;
  const QStringView mmss = QStringView(text).sliced(colon);
  return mmss[0] == u':' && mmss[1] >= u'0' && mmss[1] <= u'5' && isDigit(mmss[2]) &&
         mmss[3] == u':' && mmss[4] >= u'0' && mmss[4] <= u'5' && isDigit(mmss[5]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString name = QStringLiteral("track.mp3");
  test::writeFile(
      scratchFolder() + name,
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));

  // As tag reading asks, by the file's whole path.
  const TrackDetails details = TagLibTrackDetails(/*readAhead=*/false).read(scratchFolder() + name);
  text::AlbumTexts album;  // the track as an album of its own
  for (const text::TagText* text : {&details.artist, &details.title, &details.albumTitle}) {
    album.add(*text);
  }
  album.decide();
  for (const text::TagText* text : {&details.artist, &details.title, &details.albumTitle}) {
    FUZZ_CHECK(album.read(*text).isValidUtf16(), shown(album.read(*text)));
  }
  FUZZ_CHECK(details.playTime.isEmpty() || isPlayTime(details.playTime), shown(details.playTime));

  // Skipping binary frames even in the smallest tag, against the whole read.
  const FileDescriptor fd(
      ::open(QFile::encodeName(scratchFolder() + name).constData(), O_RDONLY | O_CLOEXEC));
  FUZZ_CHECK(fd.valid(), QStringLiteral("the file cannot be opened"));
  const TrackFile file(fd.get());
  const TagLayout layout = findTagLayout(file);
  const TrackTexts whole =
      readTrackTexts(file, "track.mp3", layout, std::numeric_limits<qint64>::max());
  const TrackTexts sparse = readTrackTexts(file, "track.mp3", layout, 0);
  for (const auto field : {&TrackTexts::artist, &TrackTexts::title, &TrackTexts::album}) {
    FUZZ_CHECK(sparse.*field == whole.*field,
               shown((sparse.*field).alone()) + " != " + shown((whole.*field).alone()));
  }
  return 0;
}

#include "tracks/TagReading.h"

#include "tracks/TextRules.h"

namespace orv {
namespace {

// A descriptive text: its default text when blank, else the text with double quotes made
// apostrophes and its spaces kept. `tagged` tells which.
QString descriptiveText(const QString& text, const QString& defaultText, bool* tagged = nullptr) {
  const bool blank = TrimSpaces(text).isEmpty();
  if (tagged) *tagged = !blank;
  return blank ? defaultText : ReplaceQuotes(text);
}

}  // namespace

void ReadTrackTags(TrackTable& table, Int16 index, platform::TrackDetailsReader& reader) {
  TrackRecord& record = table[index];
  const platform::TrackDetails details =
      reader.read(Trim(record.folderPath) + Trim(record.fileName));
  record.artist = descriptiveText(details.artist, kNoArtist, &record.artistTagged);
  record.title = descriptiveText(details.title, kNoTitle);
  record.albumTitle = descriptiveText(details.albumTitle, kNoAlbumTitle, &record.albumTitleTagged);
  record.duration = details.playTime;
}

}  // namespace orv

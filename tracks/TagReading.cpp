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

AlbumTagReading::AlbumTagReading(std::optional<text::TextEncoding> forced) : texts_(forced) {}

void AlbumTagReading::read(TrackTable& table, Int16 index, platform::TrackDetailsReader& reader) {
  TrackRecord& record = table[index];
  platform::TrackDetails details = reader.read(Trim(record.folderPath) + Trim(record.fileName));
  record.duration = details.playTime;
  for (const text::TagText* text : {&details.artist, &details.title, &details.albumTitle}) {
    texts_.add(*text);
  }
  const auto at = static_cast<std::size_t>(index.value());
  if (details_.size() <= at) details_.resize(at + 1);
  details_[at] = std::move(details);
}

text::AlbumVerdict AlbumTagReading::store(TrackTable& table) {
  const text::AlbumVerdict verdict = texts_.decide();
  for (std::size_t at = 0; at < details_.size(); ++at) {
    if (!details_[at]) continue;
    const platform::TrackDetails& details = *details_[at];
    TrackRecord& record = table[Int16(at)];
    record.artist = descriptiveText(texts_.read(details.artist), kNoArtist, &record.artistTagged);
    record.title = descriptiveText(texts_.read(details.title), kNoTitle);
    record.albumTitle =
        descriptiveText(texts_.read(details.albumTitle), kNoAlbumTitle, &record.albumTitleTagged);
  }
  details_.clear();
  return verdict;
}

}  // namespace orv

#include "tracks/TagReading.h"

#include "tracks/TextRules.h"

namespace orv {
namespace {

// A descriptive column: its default text when blank, else its text with double quotes
// made apostrophes and its spaces kept. `tagged` tells which.
QString descriptiveText(platform::DetailFolder& folder, const platform::DetailItem* item,
                        int column, const QString& defaultText, bool* tagged = nullptr) {
  const QString text = folder.GetDetailsOf(item, column);
  const bool blank = TrimSpaces(text).isEmpty();
  if (tagged) *tagged = !blank;
  return blank ? defaultText : ReplaceQuotes(text);
}

}  // namespace

void ReadTrackTags(TrackTable& table, Int16 index, platform::DetailSourceFactory& factory) {
  // Declared in this order so they are released item first, then folder, then source.
  std::unique_ptr<platform::DetailSource> source = factory.create();
  std::unique_ptr<platform::DetailFolder> folder = source->NameSpace(Trim(table[index].folderPath));
  std::unique_ptr<platform::DetailItem> item = folder->ParseName(Trim(table[index].fileName));

  TrackRecord& record = table[index];
  record.artist = descriptiveText(*folder, item.get(), platform::kColumnArtist, kNoArtist,
                                  &record.artistTagged);
  record.title = descriptiveText(*folder, item.get(), platform::kColumnTitle, kNoTitle);
  record.albumTitle = descriptiveText(*folder, item.get(), platform::kColumnAlbumTitle,
                                      kNoAlbumTitle, &record.albumTitleTagged);
  record.duration = folder->GetDetailsOf(item.get(), platform::kColumnPlayTime);
}

}  // namespace orv

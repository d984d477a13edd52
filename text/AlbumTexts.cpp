#include "text/AlbumTexts.h"

#include "text/CharacterTables.h"
#include "text/EightBitText.h"
#include "text/Utf8.h"
#include "text/WesternWeights.h"

#include <algorithm>
#include <bitset>
#include <climits>

namespace orv::text {
namespace {

// How far below its own most plausible reading one text counts against a page, and where
// the page can't read it: the odds of a text of another tagger in an album, one in 256.
// More than every page's margin, so that one text alone is read as chosenReading reads it.
// (Counting unreadable texts more, 12 or 16 bits, turns an album half Korean, half
// Japanese to Shift-JIS, and its short Korean titles with it.)
constexpr int kMostAgainst = bits(8);
// The same limit for one text's say between the Japanese and the Western reading, in the
// points of their weights.
constexpr int kMostWeight = 3;
// How much more plausible than the album's page a text's own reading must be for the
// text to keep it (see AlbumTexts.h, step 3).
constexpr int kOverwhelming = bits(12);

// What a random byte is worth, for the bytes that UTF-8 spends on a character beyond what a
// code page spends on it: the readings of both count against random bytes.
constexpr int kRandomByte = bits(8);

static_assert(std::all_of(kCodePages.begin(), kCodePages.end(),
                          [](const CodePage& page) { return page.margin < kMostAgainst; }));

bool isJapaneseOrWestern(std::size_t page) {
  return kCodePages[page].standing != Standing::kChallenger;
}

// Whether a text whose own reading is `own` keeps it in an album whose page `album` reads
// it too. Between the Japanese and the Western reading the text's own weights decide, as
// they decide for it alone (they rarely err: no labelled text of either reads alone as the
// other); a tie, which alone goes to Japanese ("Rock’n’Roll"), goes to the album's.
bool keepsOwnReading(const Evidence& text, std::size_t own, std::size_t album) {
  if (isJapaneseOrWestern(own) && isJapaneseOrWestern(album)) {
    return text.japaneseOverWestern != 0;
  }
  return text.plausibility[own] - text.plausibility[album] > kOverwhelming;
}

// How plausible a UTF-8 text of `utf8Size` bytes is as text of the pages' languages: as
// its most plausible writing in a page that has all its characters, with the bytes UTF-8
// spends beyond that writing's counted as random ones. nullopt where no page has all its
// characters ("Ѧ֮ǫ").
std::optional<int> utf8Plausibility(const QString& text, qsizetype utf8Size) {
  std::optional<int> best;
  for (std::size_t page = 0; page < kCodePages.size(); ++page) {
    const auto written = encodeStrict(kCodePages[page], text);
    if (!written) continue;
    for (const Reading& reading : readEightBitText({*written}).readings) {
      if (reading.page != page) continue;
      const auto spent = static_cast<int>(utf8Size - written->size());
      best = std::max(best.value_or(INT_MIN), reading.plausibility + spent * kRandomByte);
    }
  }
  return best;
}

}  // namespace

// One 8-bit value of the album, however often it occurs.
struct AlbumTexts::Vote {
  Key key;
  std::optional<QString> text;  // ASCII or UTF-8; once decided, the text as the album reads it
  Evidence evidence;            // of this text alone
  std::bitset<kCodePages.size()> cut;  // pages whose reading leaves out a cut lead byte
  std::size_t own = kWesternPage;      // the reading this text alone takes
};

AlbumTexts::AlbumTexts(std::optional<TextEncoding> forced) : forced_(forced) {}
AlbumTexts::~AlbumTexts() = default;

AlbumTexts::Key AlbumTexts::keyOf(const EightBitValue& value) {
  const FieldBytes field = fieldBytes(value.bytes, value.field);
  const QByteArray bytes =
      field.bytes.size() == value.bytes.size() ? value.bytes : field.bytes.toByteArray();
  return {bytes, field.mayBeCut};
}

void AlbumTexts::add(const TagText& text) {
  for (const TagText::Part& part : text.parts()) {
    const auto* value = std::get_if<EightBitValue>(&part);
    if (!value) continue;
    Key key = keyOf(*value);
    if (index_.contains(key)) continue;
    index_.insert(key, static_cast<qsizetype>(votes_.size()));
    Vote& vote = votes_.emplace_back();
    vote.key = std::move(key);
    const FieldBytes field{vote.key.bytes, vote.key.mayBeCut};
    if ((vote.text = asciiOrUtf8(field))) {
      anyUtf8_ = anyUtf8_ || vote.text->size() != field.bytes.size();
      continue;
    }
    const EightBitReadings readings = readEightBitText(field);
    for (const Reading& reading : readings.readings) {
      vote.evidence.plausibility[reading.page] = reading.plausibility;
      vote.cut[reading.page] = reading.bytes.size() < field.bytes.size();
    }
    vote.evidence.japaneseOverWestern = readings.japaneseWeight - weighWindows1252(field.bytes);
    vote.own = chooseBy(vote.evidence).page;
  }
}

Evidence AlbumTexts::albumEvidence() const {
  Evidence album;
  std::array<int, kCodePages.size()> sums{};
  std::array<int, kCodePages.size()> betterThanWestern{};  // texts read better, less worse
  std::bitset<kCodePages.size()> reads;
  for (const Vote& vote : votes_) {
    if (vote.text) continue;
    const auto& p = vote.evidence.plausibility;
    const int floor = *std::max_element(p.begin(), p.end()) - kMostAgainst;  // and unread
    for (std::size_t page = 0; page < kCodePages.size(); ++page) {
      sums[page] += std::max(p[page], floor);
      reads[page] = reads[page] || p[page] != Evidence::kNoReading;
      betterThanWestern[page] += (p[page] > p[kWesternPage]) - (p[page] < p[kWesternPage]);
    }
    album.japaneseOverWestern +=
        p[kJapanesePage] == Evidence::kNoReading
            ? -kMostWeight
            : std::clamp(vote.evidence.japaneseOverWestern, -kMostWeight, kMostWeight);
  }
  const int bar =
      std::max(sums[kWesternPage], reads[kJapanesePage] ? sums[kJapanesePage] : INT_MIN);
  for (std::size_t page = 0; page < kCodePages.size(); ++page) {
    if (!reads[page]) continue;
    album.plausibility[page] = sums[page];
    // The sign test of AlbumTexts.h, step 2: a challenger that fails it can't pass the bar.
    if (kCodePages[page].standing == Standing::kChallenger && betterThanWestern[page] <= 0) {
      album.plausibility[page] = std::min(sums[page], bar + kCodePages[page].margin);
    }
  }
  return album;
}

AlbumVerdict AlbumTexts::decide() {
  const bool voted = std::any_of(votes_.begin(), votes_.end(),
                                 [](const Vote& vote) { return !vote.text.has_value(); });
  AlbumVerdict verdict;
  if (forced_) {
    verdict.forced = voted || anyUtf8_;
    if (verdict.forced) verdict.encoding = forced_;
  } else if (voted) {
    const Choice choice = chooseBy(albumEvidence());
    verdict = {.encoding = TextEncoding::ofPage(choice.page), .margin = choice.margin};
  } else if (anyUtf8_) {
    verdict.encoding = TextEncoding::utf8();
  }
  decideEach(verdict);
  return verdict;
}

void AlbumTexts::decideEach(const AlbumVerdict& verdict) {
  const bool inPage = verdict.encoding && !verdict.encoding->isUtf8();
  for (Vote& vote : votes_) {
    if (vote.text) {
      if (inPage && !verdict.forced) claimUtf8(vote, verdict.encoding->page());
      continue;
    }
    std::size_t page = vote.own;
    if (inPage) {
      const std::size_t album = verdict.encoding->page();
      const bool reads = vote.evidence.plausibility[album] != Evidence::kNoReading;
      if (reads && (verdict.forced || !keepsOwnReading(vote.evidence, vote.own, album))) {
        page = album;
      }
    }
    const QByteArrayView bytes =
        vote.cut[page] ? QByteArrayView(vote.key.bytes).chopped(1) : QByteArrayView(vote.key.bytes);
    vote.text = decodeStrict(kCodePages[page], bytes).value();  // the page read these bytes
  }
}

void AlbumTexts::claimUtf8(Vote& vote, std::size_t album) {
  const FieldBytes field{vote.key.bytes, vote.key.mayBeCut};
  if (vote.text->size() == field.bytes.size()) return;  // ASCII
  for (const Reading& reading : readEightBitText(field).readings) {
    if (reading.page != album) continue;
    const auto utf8 = utf8Plausibility(*vote.text, field.bytes.size());
    if (utf8 ? reading.plausibility - *utf8 > kOverwhelming : reading.plausibility > 0) {
      vote.text = textOf(reading);
    }
  }
}

QString AlbumTexts::read(const TagText& text) const {
  return text.read([&](const EightBitValue& value) {
    const auto found = index_.constFind(keyOf(value));
    return found == index_.cend() ? decodeEightBitText(value.bytes, value.field)
                                  : *votes_[static_cast<std::size_t>(*found)].text;
  });
}

}  // namespace orv::text

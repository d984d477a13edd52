#pragma once

#include "text/Evidence.h"
#include "text/TagText.h"
#include "text/TextEncoding.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace orv::text {

// The album's verdict on its 8-bit texts.
struct AlbumVerdict {
  // The code page its texts were read in, or UTF-8 where every 8-bit text of the album is
  // valid UTF-8; none when no text of the album has a byte outside ASCII.
  std::optional<TextEncoding> encoding{};
  // By how many half-bits the evidence chose it (Choice::margin: how far the summed
  // evidence is from choosing another page); none where nothing was weighed: the encoding
  // was forced, UTF-8 was all there was, or no other page read any of the texts.
  std::optional<int> margin{};
  bool forced = false;  // the user's encoding, not the album's evidence
  bool operator==(const AlbumVerdict&) const = default;
};

// The 8-bit texts of one album, read together. A real album is tagged by one person with
// one program: its titles, artists and album titles together say plainly which code page
// that program wrote, where one short text alone can't ("넬" is ｳﾚ in Shift-JIS as well).
//
//   1. Every text of the album is added: its ASCII and valid UTF-8 values don't vote
//      (decodeEightBitText, step 1; for UTF-8, see step 4); every other 8-bit value votes
//      with its readings in every code page (Readings.h), once however often the album
//      repeats it.
//   2. The verdict: the readings of all the votes, summed page by page, decided by the
//      rule that decides one text (chooseBy; EightBitText.h, steps 3 and 4): a challenger
//      must beat both the Japanese and the Western sum by its margin, once for the whole
//      album, and the Japanese and the Western weights are summed too. So an album of one
//      text reads it as that text alone reads. Each text's say is limited, so that a few
//      texts of another tagger (a compilation's) can't sink the album's page: against a
//      page a text counts at most 8 bits below its own most plausible reading (8 bits
//      where the page can't read it), and between Japanese and Western at most 3 points
//      either way. And a challenger must also read more of the texts better than
//      Windows-1252 reads them than worse: a few bits that one text gives it (a lone "È"
//      of an Italian album, "Č" in Windows-1250) are no verdict against many texts that
//      read a little better as Western.
//   3. Each text is then read in the album's code page where that page reads it. It keeps
//      its own reading (decodeEightBitText's) only where the page can't read it, or where
//      its own evidence for another reading is overwhelming: a reading 12 bits more
//      plausible than the page's (4,096 times as likely), or, between Japanese and
//      Western, the text's own weights, which decide for it alone and rarely err; only
//      their tie goes to the album. The short texts that read wrong alone lose to the
//      album's page by at most 11.5 bits in the labelled tables ("잼잼" as Cyrillic
//      "АлАл", "陈奕迅" as "ｳﾂﾞﾈﾑｸ"); a foreign track's texts mostly win by far more, but
//      a short one (a kanji or two in a Korean album) may take the album's page.
//   4. A valid UTF-8 text stays UTF-8 unless the album's page (not UTF-8) reads it
//      overwhelmingly more plausibly, as in step 3: short Chinese names are valid UTF-8
//      more often than one would think (薛之谦 in GBK is "Ѧ֮ǫ"). Its UTF-8 reading is as
//      plausible as its writing in the page that writes it most plausibly, the bytes UTF-8
//      spends beyond that page's counting as random ones. Where no page has all its
//      characters, it is taken to be another page's bytes when the album's page reads them
//      more plausibly than random bytes; "Hà Nội" and emoji stay UTF-8 that way too, as the
//      album's page reads them as rare characters.
//
// With a forced encoding (the user's) every 8-bit text is read in that page where it can
// be, and keeps its own reading where it can't; valid UTF-8 stays UTF-8, and forced UTF-8
// leaves every other text its own reading. The verdict then has no margin.
//
// A short Korean title in a Korean album:
//
//   AlbumTexts album;
//   album.add(nell);   // "\xB3\xDA": 넬, alone ｳﾚ
//   album.add(walk);   // 기억을 걷는 시간 in CP949
//   album.add(fade);   // 멀어지다 in CP949
//   album.decide() == {.encoding = TextEncoding::ofPage(pageNamed("euc-kr")), .margin = 15}
//   album.read(nell) == u"넬"
//
// A Western title in a Japanese compilation:
//
//   album.add(sjis(u"勝手にシンドバッド")), album.add(sjis(u"いとしのエリー"));
//   album.add(helene);  // "H\xE9l\xE8ne": alone Hélène, though Shift-JIS reads H駘鈩e
//   album.decide().encoding == TextEncoding::ofPage(kJapanesePage)
//   album.read(helene) == u"Hélène"   // its own weights say Western, by 5 points
class AlbumTexts {
 public:
  explicit AlbumTexts(std::optional<TextEncoding> forced = std::nullopt);
  ~AlbumTexts();

  // Adds the 8-bit values of `text`; only before decide().
  void add(const TagText& text);
  // Decides, once every text is added, and gives the verdict.
  AlbumVerdict decide();
  // `text` as the album reads it; only after decide(), and only texts that were added.
  QString read(const TagText& text) const;

 private:
  struct Vote;
  struct Key {
    QByteArray bytes;  // up to the first NUL
    bool mayBeCut = false;
    bool operator==(const Key&) const = default;
  };
  friend size_t qHash(const Key& key, size_t seed) {
    return qHashMulti(seed, key.bytes, key.mayBeCut);
  }
  static Key keyOf(const EightBitValue& value);
  Evidence albumEvidence() const;
  void decideEach(const AlbumVerdict& verdict);
  void claimUtf8(Vote& vote, std::size_t album);  // step 4

  std::optional<TextEncoding> forced_;
  QHash<Key, qsizetype> index_;  // into votes_
  std::vector<Vote> votes_;
  bool anyUtf8_ = false;
};

}  // namespace orv::text

// The album's decision on its 8-bit texts: the labelled table grouped into albums, the
// labelled albums, small mixed albums, and the verdict.

#include "text/AlbumTexts.h"

#include "tests/mp3/LabelledAlbums.h"
#include "tests/support/CodePageTexts.h"
#include "text/EightBitText.h"

#include <gtest/gtest.h>

#include <map>

namespace orv::text {
namespace {

using namespace Qt::StringLiterals;
using test::TaggedText;
using test::TextLabel;

// `texts` read as one album; what each reads as, in order.
QStringList readTogether(const std::vector<TaggedText>& texts, AlbumVerdict* verdict = nullptr,
                         std::optional<TextEncoding> forced = std::nullopt) {
  AlbumTexts album(forced);
  for (const TaggedText& text : texts) album.add(text.tag);
  const AlbumVerdict decided = album.decide();
  if (verdict) *verdict = decided;
  QStringList read;
  for (const TaggedText& text : texts) read << album.read(text.tag);
  return read;
}

// Every text of the labelled table in an album of its part of the table and encoding, in
// ID3v2 frames and in ID3v1 fields: each reads as meant, the texts that alone read wrong
// too, those whose bytes happen to be valid UTF-8 ("ﾏｲ", "薛之谦") among them.
TEST(AlbumTexts, TheLabelledTableReadsRightInAlbumsOfEachPartAndEncoding) {
  std::map<QString, std::vector<const test::LabelledText*>> albums;
  for (const test::LabelledText& entry : test::labelledTexts()) {
    albums[test::nameOf(entry.label) + u" / "_s + entry.section].push_back(&entry);
  }
  for (const auto& [name, entries] : albums) {
    for (const EightBitField field : {EightBitField::kId3v2, EightBitField::kId3v1}) {
      SCOPED_TRACE(name.toStdString() + (field == EightBitField::kId3v1 ? " ID3v1" : " ID3v2"));
      std::vector<TaggedText> texts;
      for (const test::LabelledText* entry : entries) {
        texts.push_back(test::tagged(entry->text, entry->label, field));
      }
      const QStringList read = readTogether(texts);
      for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(read[qsizetype(i)].toStdString(), texts[i].meant.toStdString());
      }
    }
  }
}

// The labelled albums: in an album of one tagger every text reads as meant; in a
// compilation every text that reads right alone still does.
TEST(AlbumTexts, TheLabelledAlbumsReadRight) {
  for (const test::LabelledAlbum& album : test::labelledAlbums()) {
    for (const EightBitField field : {EightBitField::kId3v2, EightBitField::kId3v1}) {
      SCOPED_TRACE((album.artist + u" – "_s + album.title).toStdString());
      std::vector<TaggedText> texts;
      for (const test::TaggedTrack& track : test::taggedTracks(album, field)) {
        texts.insert(texts.end(), {track.title, track.artist, track.album});
      }
      const QStringList read = readTogether(texts);
      for (std::size_t i = 0; i < texts.size(); ++i) {
        const TaggedText& text = texts[i];
        if (album.oneTagger() || text.tag.alone() == text.meant) {
          EXPECT_EQ(read[qsizetype(i)].toStdString(), text.meant.toStdString());
        }
      }
    }
  }
}

TEST(AlbumTexts, MixedAlbumsLoseNothing) {
  const auto t = [](TextLabel label, const QString& text) {
    return test::tagged(text, label, EightBitField::kId3v2);
  };
  using L = TextLabel;
  const std::vector<std::vector<TaggedText>> albums = {
      // A Japanese compilation with Western tracks, and a Western one with a Japanese title.
      {t(L::kCp932, u"勝手にシンドバッド"_s), t(L::kCp932, u"サザンオールスターズ"_s),
       t(L::kCp932, u"いとしのエリー"_s), t(L::kWindows1252, u"Hélène"_s),
       t(L::kWindows1252, u"Comme ça"_s), t(L::kWindows1252, u"Roch Voisine"_s)},
      {t(L::kWindows1252, u"Motörhead"_s), t(L::kWindows1252, u"Rock’n’Roll"_s),
       t(L::kWindows1252, u"Ace of Spades – Live"_s), t(L::kCp932, u"DJ本田MIX"_s),
       t(L::kCp932, u"空"_s)},
      // Korean with Japanese tracks; Cyrillic with Western ones.
      {t(L::kCp949, u"아이유"_s), t(L::kCp949, u"밤편지"_s), t(L::kCp949, u"멀어지다"_s),
       t(L::kCp949, u"기억을 걷는 시간"_s), t(L::kCp932, u"ジャンピン"_s),
       t(L::kCp932, u"少女時代"_s)},
      {t(L::kWindows1251, u"Кино"_s), t(L::kWindows1251, u"Группа крови"_s),
       t(L::kWindows1251, u"ДДТ"_s), t(L::kWindows1252, u"Für Elise"_s),
       t(L::kWindows1252, u"Édith Piaf"_s)},
      // Simplified and traditional Chinese; UTF-8 among Shift-JIS.
      {t(L::kGbk, u"周杰伦"_s), t(L::kGbk, u"晴天"_s), t(L::kGbk, u"青花瓷"_s),
       t(L::kBig5, u"月亮代表我的心"_s), t(L::kBig5, u"小情歌"_s)},
      {t(L::kCp932, u"テスト"_s), t(L::kCp932, u"はじまり"_s), t(L::kUtf8, u"Björk"_s),
       t(L::kUtf8, u"東京"_s)},
      // UTF-8 of another tagger, even where no code page has its characters, among GBK
      // and CP949 texts.
      {t(L::kGbk, u"周杰伦"_s), t(L::kGbk, u"晴天"_s), t(L::kGbk, u"青花瓷"_s),
       t(L::kUtf8, u"Björk"_s), t(L::kUtf8, u"Hà Nội"_s), t(L::kUtf8, u"東京"_s),
       t(L::kUtf8, u"Живи 🎵"_s), t(L::kUtf8, u"ไทย"_s), t(L::kUtf8, u"Ωmega"_s)},
      {t(L::kCp949, u"아이유"_s), t(L::kCp949, u"밤편지"_s), t(L::kCp949, u"멀어지다"_s),
       t(L::kUtf8, u"Sigur Rós"_s), t(L::kUtf8, u"Ólafur Arnalds"_s), t(L::kUtf8, u"Ωmega"_s),
       t(L::kUtf8, u"שלום"_s), t(L::kUtf8, u"Việt"_s)},
  };
  for (const auto& texts : albums) {
    AlbumVerdict verdict;
    const QStringList read = readTogether(texts, &verdict);
    SCOPED_TRACE(verdict.encoding ? verdict.encoding->name() : "none");
    for (std::size_t i = 0; i < texts.size(); ++i) {
      EXPECT_EQ(read[qsizetype(i)].toStdString(), texts[i].meant.toStdString());
    }
  }
}

// Each text of the labelled table, as an album of its own, reads as it reads alone.
TEST(AlbumTexts, AnAlbumOfOneTextReadsItAsItReadsAlone) {
  for (const test::LabelledText& entry : test::labelledTexts()) {
    for (const EightBitField field : {EightBitField::kId3v2, EightBitField::kId3v1}) {
      const TaggedText text = test::tagged(entry.text, entry.label, field);
      EXPECT_EQ(readTogether({text}).front(), text.tag.alone()) << entry.text.toStdString();
    }
  }
}

TEST(AlbumTexts, TheVerdict) {
  const auto cp949 = [](const QString& text) {
    return test::tagged(text, TextLabel::kCp949, EightBitField::kId3v2);
  };
  const TextEncoding korean = TextEncoding::ofPage(pageNamed("euc-kr"));
  const struct {
    const char* what;
    std::vector<TaggedText> texts;
    std::optional<TextEncoding> forced;
    AlbumVerdict verdict;
    QStringList read;
  } cases[] = {
      {"the album's own",
       {cp949(u"넬"_s), cp949(u"기억을 걷는 시간"_s), cp949(u"멀어지다"_s)},
       {},
       {.encoding = korean, .margin = 0},
       {u"넬"_s, u"기억을 걷는 시간"_s, u"멀어지다"_s}},
      {"forced: what the page can't read is read alone",
       {cp949(u"넬"_s), test::tagged(u"Café"_s, TextLabel::kWindows1252, EightBitField::kId3v2)},
       TextEncoding::ofPage(kJapanesePage),
       {.encoding = TextEncoding::ofPage(kJapanesePage), .forced = true},
       {u"ｳﾚ"_s, u"Café"_s}},
      {"forced UTF-8: each read alone",
       {cp949(u"넬"_s), cp949(u"기억을 걷는 시간"_s)},
       TextEncoding::utf8(),
       {.encoding = TextEncoding::utf8(), .forced = true},
       {u"ｳﾚ"_s, u"기억을 걷는 시간"_s}},
      {"UTF-8 only",
       {test::tagged(u"Björk"_s, TextLabel::kUtf8, EightBitField::kId3v2)},
       {},
       {.encoding = TextEncoding::utf8()},
       {u"Björk"_s}},
      {"ASCII only: no verdict, forced or not",
       {test::tagged(u"Intro"_s, TextLabel::kWindows1252, EightBitField::kId3v1)},
       TextEncoding::ofPage(kWesternPage),
       {},
       {u"Intro"_s}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    AlbumVerdict verdict;
    EXPECT_EQ(readTogether(c.texts, &verdict, c.forced), c.read);
    EXPECT_EQ(verdict.encoding, c.verdict.encoding);
    EXPECT_EQ(verdict.forced, c.verdict.forced);
    EXPECT_EQ(verdict.margin.has_value(), c.verdict.margin.has_value());
  }
}

TEST(AlbumTexts, TheHeadersExamples) {
  const auto bytes = [](QByteArray b) {
    TagText text;
    text.append(EightBitValue{std::move(b)});
    return text;
  };
  const TagText nell = bytes("\xB3\xDA");
  AlbumTexts korean;
  korean.add(nell);
  for (const QString& title : {u"기억을 걷는 시간"_s, u"멀어지다"_s}) {
    korean.add(bytes(test::tagBytes({TextLabel::kCp949, title, {}, {}})));
  }
  EXPECT_EQ(korean.decide(),
            (AlbumVerdict{.encoding = TextEncoding::ofPage(pageNamed("euc-kr")), .margin = 15}));
  EXPECT_EQ(korean.read(nell), u"넬"_s);
  EXPECT_EQ(nell.alone(), u"ｳﾚ"_s);

  AlbumTexts compilation;
  const TagText helene = bytes(test::windows1252(u"Hélène"_s));
  for (const QString& title : {u"勝手にシンドバッド"_s, u"いとしのエリー"_s}) {
    compilation.add(bytes(test::sjis(title)));
  }
  compilation.add(helene);
  EXPECT_EQ(compilation.decide().encoding, TextEncoding::ofPage(kJapanesePage));
  EXPECT_EQ(compilation.read(helene), u"Hélène"_s);

  Evidence iu;  // 아이유
  for (const Reading& reading : readEightBitText({"\xBE\xC6\xC0\xCC\xC0\xAF"}).readings) {
    iu.plausibility[reading.page] = reading.plausibility;
  }
  EXPECT_EQ(chooseBy(iu), (Choice{pageNamed("euc-kr"), 40}));
}

TEST(TextEncoding, NamesAndAliasesInAnyLetterCase) {
  const struct {
    QString name;
    const char* encoding;  // nullptr: none
  } cases[] = {
      {u"shift_jis"_s, "shift_jis"},
      {u"SJIS"_s, "shift_jis"},
      {u"cp932"_s, "shift_jis"},
      {u"Windows-1252"_s, "windows-1252"},
      {u"latin1"_s, "windows-1252"},
      {u"CP1252"_s, "windows-1252"},
      {u"euc-kr"_s, "euc-kr"},
      {u"cp949"_s, "euc-kr"},
      {u"gbk"_s, "gbk"},
      {u"cp936"_s, "gbk"},
      {u"GB2312"_s, "gbk"},
      {u"big5"_s, "big5"},
      {u"cp950"_s, "big5"},
      {u"cp1251"_s, "windows-1251"},
      {u"cp1250"_s, "windows-1250"},
      {u"UTF-8"_s, "utf-8"},
      {u"utf8"_s, "utf-8"},
      {u"koi8-r"_s, nullptr},
      {u""_s, nullptr},
      {u"shift_jis "_s, nullptr},
  };
  for (const auto& c : cases) {
    const auto encoding = encodingNamed(c.name);
    EXPECT_EQ(encoding ? encoding->name() : "none", c.encoding ? c.encoding : "none")
        << c.name.toStdString();
  }
}

TEST(TagText, ValuesJoinAndAnId3v1FieldLosesTheWhiteSpaceAroundIt) {
  TagText text;
  text.append(EightBitValue{"  \x83\x65\x83\x58\x83\x67\t", EightBitField::kId3v1});
  text.append(u" / "_s);
  text.append(EightBitValue{" Caf\xE9 "});
  EXPECT_EQ(text.alone(), u"テスト /  Café "_s);
  EXPECT_EQ(text.read([](const EightBitValue&) { return u" x "_s; }), u"x /  x "_s);
  EXPECT_TRUE(TagText(QString()).isEmpty());
}

}  // namespace
}  // namespace orv::text

// Texts of real MP3 files: every tag format and text encoding, merged as TagLib merges them.

#include "platform/taglib/TagLibTrackDetails.h"
#include "tests/mp3/Mp3Files.h"
#include "tests/platform/taglib/DetailFiles.h"

#include <gtest/gtest.h>

namespace orv::test {
namespace {

using namespace Qt::StringLiterals;

using E = Id3Encoding;

struct TagCase {
  const char* name;
  QByteArray before;  // tags before the audio
  QByteArray after;   // tags after it
  QString artist, title, album;
};

std::vector<Id3v2Frame> sjisFrames(int version, const QString& artist, const QString& title,
                                   const QString& album) {
  const bool v22 = version == 2;
  return {rawLatin1Frame(v22 ? "TP1" : "TPE1", sjis(artist)),
          rawLatin1Frame(v22 ? "TT2" : "TIT2", sjis(title)),
          rawLatin1Frame(v22 ? "TAL" : "TALB", sjis(album))};
}

std::vector<TagCase> tagCases() {
  const QString a = u"宇多田ヒカル"_s, t = u"ファースト・ラヴ"_s, l = u"First Love ♪"_s;
  const QString aL = u"Françoise Hardy"_s, tL = u"Tous les garçons"_s, lL = u"Motörhead Covers"_s;
  // The 30-byte ID3v1 limit cuts the second byte of the 15th double-byte character.
  const QString longTitle = u"Aあいうえおかきくけこさしすせそ"_s;
  std::vector<TagCase> cases = {
      {"id3v22 latin1", id3v2Tag(2, textFrames(2, aL, tL, lL, E::kLatin1)), {}, aL, tL, lL},
      {"id3v22 utf16", id3v2Tag(2, textFrames(2, a, t, l, E::kUtf16)), {}, a, t, l},
      {"id3v22 shift-jis", id3v2Tag(2, sjisFrames(2, a, t, u"ラヴ"_s)), {}, a, t, u"ラヴ"_s},
      {"id3v23 latin1", id3v2Tag(3, textFrames(3, aL, tL, lL, E::kLatin1)), {}, aL, tL, lL},
      {"id3v23 utf16 le", id3v2Tag(3, textFrames(3, a, t, l, E::kUtf16)), {}, a, t, l},
      {"id3v23 utf16 be bom", id3v2Tag(3, textFrames(3, a, t, l, E::kUtf16, true)), {}, a, t, l},
      {"id3v23 shift-jis", id3v2Tag(3, sjisFrames(3, a, t, u"ラヴ"_s)), {}, a, t, u"ラヴ"_s},
      {"id3v24 latin1", id3v2Tag(4, textFrames(4, aL, tL, lL, E::kLatin1), 256), {}, aL, tL, lL},
      {"id3v24 utf16", id3v2Tag(4, textFrames(4, a, t, l, E::kUtf16)), {}, a, t, l},
      {"id3v24 utf16be", id3v2Tag(4, textFrames(4, a, t, l, E::kUtf16BE)), {}, a, t, l},
      {"id3v24 utf8", id3v2Tag(4, textFrames(4, a, t, l, E::kUtf8)), {}, a, t, l},
      {"id3v24 shift-jis", id3v2Tag(4, sjisFrames(4, a, t, u"ラヴ"_s)), {}, a, t, u"ラヴ"_s},
      {"ape", {}, apeTag(a, t, l), a, t, l},
      // TagLib reads APE text as UTF-8 only; 8-bit items are read as ID3v1 is, each of
      // several values on its own, and the last item of a key wins.
      {"ape 8-bit",
       {},
       rawApeTag({{"ARTIST", sjis(a)},
                  {"Title", "old"},
                  {"title", windows1252(tL)},
                  {"Album", sjis(u"ラヴ"_s) + '\0' + windows1252(lL)}}),
       a,
       tL,
       u"ラヴ "_s + lL},
      {"id3v1 ascii", {}, id3v1Tag("Intro", "The Band", "Debut"), "The Band", "Intro", "Debut"},
      {"id3v1 latin1", {}, id3v1Tag(tL.toLatin1(), aL.toLatin1(), lL.toLatin1()), aL, tL, lL},
      {"id3v1 shift-jis", {}, id3v1Tag(sjis(t), sjis(a), sjis(u"ラヴ"_s)), a, t, u"ラヴ"_s},
      {"id3v1 shift-jis cut",
       {},
       id3v1Tag(sjis(longTitle), sjis(a), {}),
       a,
       longTitle.chopped(1),
       {}},
      // ID3v1 fields lose their surrounding spaces as TagLib's own reading does; ID3v2
      // texts keep theirs, and double quotes pass untouched.
      {"id3v1 spaces", {}, id3v1Tag("  Intro  ", " ", ""), {}, "Intro", {}},
      {"id3v2 spaces and quotes",
       id3v2Tag(3, textFrames(3, "   ", R"( Say "Hi" )", "\"", E::kLatin1)),
       {},
       "   ",
       R"( Say "Hi" )",
       "\""},
      // Field by field: ID3v2 first, then APE, then ID3v1.
      {"merged", id3v2Tag(3, {textFrame("TIT2", "v2 title", E::kUtf16)}),
       apeTag("ape artist", "ape title", {}) + id3v1Tag("v1 title", "v1 artist", "v1 album"),
       "ape artist", "v2 title", "v1 album"},
      {"empty id3v2 frame falls through",
       id3v2Tag(4, {textFrame("TIT2", "", E::kUtf8)}),
       id3v1Tag("v1 title", "", ""),
       {},
       "v1 title",
       {}},
      {"no tags", {}, {}, {}, {}, {}},
  };
  return cases;
}

TEST(TagTexts, EveryFormatAndEncoding) {
  DetailFiles files;
  for (const TagCase& c : tagCases()) {
    SCOPED_TRACE(c.name);
    const QString name = QString::fromLatin1(c.name) + ".mp3";
    files.put(name, c.before + shortMp3() + c.after);
    const auto d = files.details(name);
    EXPECT_EQ(d.artist, c.artist);
    EXPECT_EQ(d.title, c.title);
    EXPECT_EQ(d.albumTitle, c.album);
    EXPECT_EQ(d.playTime, "0:00:01");  // the tags hide no audio and add none
  }
}

TEST(TagTexts, TagsOfARealWriterReadBack) {
  // Beside the hand-made tags above, an ID3v2.4 and an APE tag rendered by TagLib, with an
  // ID3v1 tag, all three in one file.
  DetailFiles files;
  files.put("all.mp3",
            id3v2TagByTagLib(u"椎名林檎"_s, u"丸の内サディスティック"_s, u"無罪モラトリアム"_s) +
                shortMp3() + apeTag(u"APE"_s, u"APE"_s, u"APE"_s) + id3v1Tag("v1", "v1", "v1"));
  const auto d = files.details("all.mp3");
  EXPECT_EQ(d.artist, u"椎名林檎"_s);
  EXPECT_EQ(d.title, u"丸の内サディスティック"_s);
  EXPECT_EQ(d.albumTitle, u"無罪モラトリアム"_s);
}

// 8-bit values leave TagLib as their bytes, one per value of a frame, with what TagLib
// puts between them, for the album to read; a frame of another encoding that spells a
// token of the capture stays the text it is.
TEST(TagTexts, EightBitValuesKeepTheirBytes) {
  DetailFiles files;
  const QString token =
      u"\uFDD0"
      "0"
      "\uFDD1"_s;
  files.put("raw.mp3", id3v2Tag(4, {rawLatin1Frame("TPE1", QByteArray("\xB3\xDA\0Caf\xE9", 7)),
                                    textFrame("TIT2", token, E::kUtf16)}) +
                           shortMp3() + id3v1Tag({}, {}, "Album"));
  const platform::TrackDetails d =
      platform::TagLibTrackDetails(/*readAhead=*/false).read(files.folder() + "raw.mp3");
  text::TagText artist, album;
  artist.append(text::EightBitValue{"\xB3\xDA"});
  artist.append(u" "_s);
  artist.append(text::EightBitValue{"Caf\xE9"});
  album.append(text::EightBitValue{QByteArray("Album").leftJustified(30, '\0'),
                                   text::EightBitField::kId3v1});
  EXPECT_EQ(d.artist, artist);
  EXPECT_EQ(d.title, text::TagText(token));
  EXPECT_EQ(d.albumTitle, album);
}

TEST(TagTexts, FileNamesAreBytesOfTheFileSystem) {
  DetailFiles files;
  const QString name = u"01 はじまり ”Intro”.mp3"_s;
  files.put(name, id3v2Tag(3, {textFrame("TIT2", u"はじまり"_s, E::kUtf16)}) + shortMp3());
  EXPECT_EQ(files.details(name).title, u"はじまり"_s);
}

}  // namespace
}  // namespace orv::test

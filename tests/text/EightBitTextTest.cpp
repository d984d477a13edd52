#include "text/EightBitText.h"

#include "tests/support/CodePageTexts.h"
#include "text/Cp932.h"

#include <gtest/gtest.h>

namespace orv::text {
namespace {

using namespace Qt::StringLiterals;

using test::sjis;

TEST(EightBitText, ShiftJisReadsAsJapanese) {
  for (const QString& text :
       {u"テスト"_s, u"宇多田ヒカル"_s, u"ｻｻﾞﾝｵｰﾙｽﾀｰｽﾞ"_s, u"LOVEマシーン"_s, u"B'zのテーマ"_s,
        u"モーニング娘。"_s, u"①番目の曲"_s, u"Ｔｏｋｙｏ"_s, u"iPhone用ケース"_s,
        u"ONE PIECEの歌 (TV)"_s, u"ﾃﾞｨｽｸ 2"_s}) {
    for (const auto field : {EightBitField::kId3v1, EightBitField::kId3v2}) {
      EXPECT_EQ(decodeEightBitText(sjis(text), field), text) << text.toStdString();
    }
  }
}

TEST(EightBitText, GenuineLatin1StaysLatin1) {
  // Each of these is valid CP932 too: the rule, not the decoder, keeps them Latin-1.
  for (const QString& text : {u"Françoise Hardy"_s, u"Motörhead"_s, u"Björk"_s, u"Hélène Ségara"_s,
                              u"Ça plane pour moi"_s, u"Weißwurst"_s, u"Ångström"_s, u"Sigur Rós"_s,
                              u"Amélie"_s, u"© 1999"_s, u"ÉCOLE"_s, u"Señor"_s}) {
    const QByteArray bytes = text.toLatin1();
    ASSERT_TRUE(cp932::decodeStrict(bytes).has_value()) << text.toStdString();
    for (const auto field : {EightBitField::kId3v1, EightBitField::kId3v2}) {
      EXPECT_EQ(decodeEightBitText(bytes, field), text) << text.toStdString();
    }
  }
  // And these are not CP932 at all.
  for (const QString& text :
       {u"Beyoncé"_s, u"Café del Mar"_s, u"Noël"_s, u"Mötley Crüe"_s, u"Jürgen"_s, u"Tiësto"_s}) {
    EXPECT_EQ(decodeEightBitText(text.toLatin1(), EightBitField::kId3v2), text);
  }
}

TEST(EightBitText, AsciiAndEmpty) {
  EXPECT_EQ(decodeEightBitText("Hello \"World\"", EightBitField::kId3v2), u"Hello \"World\""_s);
  EXPECT_EQ(decodeEightBitText("", EightBitField::kId3v1), u""_s);
  EXPECT_EQ(decodeEightBitText(QByteArray(30, '\0'), EightBitField::kId3v1), u""_s);
}

TEST(EightBitText, EndsAtTheFirstNul) {
  const QByteArray padded = sjis(u"テスト"_s) + QByteArray(24, '\0');
  EXPECT_EQ(decodeEightBitText(padded, EightBitField::kId3v1), u"テスト"_s);
  EXPECT_EQ(decodeEightBitText(QByteArray("Mot\xF6rhead\0junk", 14), EightBitField::kId3v1),
            u"Motörhead"_s);
  EXPECT_EQ(decodeEightBitText(QByteArray("Intro\0Outro", 11), EightBitField::kId3v2), u"Intro"_s);
}

TEST(EightBitText, FullId3v1FieldCutInACharacterReadsAsJapanese) {
  // "A" and 15 kana are 31 bytes; the field keeps 30, the last a lone lead byte.
  const QByteArray cut = sjis(u"Aあいうえおかきくけこさしすせそ"_s).left(30);
  ASSERT_EQ(cut.size(), 30);
  EXPECT_EQ(decodeEightBitText(cut, EightBitField::kId3v1), u"Aあいうえおかきくけこさしすせ"_s);
  // Only a field filled to its end can have been cut: elsewhere a lone lead byte means
  // the text is not CP932, and so it is Windows-1252.
  const QString western = test::windows1252Text(cut);
  EXPECT_EQ(decodeEightBitText(cut + QByteArray(1, '\0'), EightBitField::kId3v1), western);
  EXPECT_EQ(decodeEightBitText(cut, EightBitField::kId3v2), western);
  // A Western field that ends in an accent loses nothing.
  QByteArray rene = QString(u"Chansons de René"_s).toLatin1();
  rene.prepend(QByteArray(30 - rene.size(), ' '));
  EXPECT_EQ(decodeEightBitText(rene, EightBitField::kId3v1), QString::fromLatin1(rene));
}

TEST(EightBitText, Windows1252MarksAndUndefinedBytes) {
  const struct {
    QByteArray bytes;
    QString text;
  } cases[] = {
      {"Don\x92t Stop", u"Don’t Stop"_s},
      {"\x93Live\x94 \x96 Disc 1", u"“Live” – Disc 1"_s},
      {"Wait\x85", u"Wait…"_s},
      {"\x80uro Hits\x99", u"€uro Hits™"_s},
      {"C\x9Cur", u"Cœur"_s},
      // Undefined in Windows-1252: kept as the control character of the same number. (They
      // are Cyrillic letters too; 0x98 is none, nor a Central European letter.)
      {"Caf\xE9 \x81\x8D\x8F\x90\x9D\x98", u"Café \u0081\u008D\u008F\u0090\u009D˜"_s},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(decodeEightBitText(c.bytes, EightBitField::kId3v2), c.text) << c.text.toStdString();
  }
}

TEST(EightBitText, ValidUtf8ReadsAsUtf8) {
  for (const QString& text : {u"Björk"_s, u"東京"_s, u"Sigur Rós – Ágætis byrjun"_s, u"🎵"_s}) {
    EXPECT_EQ(decodeEightBitText(text.toUtf8(), EightBitField::kId3v2), text) << text.toStdString();
  }
  // Overlong forms, surrogates, code points past U+10FFFF and cut sequences are no UTF-8:
  // they are weighed as 8-bit text like any other.
  for (const QByteArray& bytes : {QByteArray("\xC0\xAF"), QByteArray("\xED\xA0\x80"),
                                  QByteArray("\xF4\x90\x80\x80"), QByteArray("\xE3\x81")}) {
    const QString text = decodeEightBitText(bytes, EightBitField::kId3v2);
    EXPECT_FALSE(text.isEmpty() || text.contains(QChar::ReplacementCharacter))
        << bytes.toHex().toStdString();
  }
  // An ID3v1 field filled with UTF-8 loses the character its end cut, as with Shift-JIS.
  const QByteArray cut = QString(u"Björk ビョーク ホモジェニック"_s).toUtf8().left(30);
  EXPECT_EQ(decodeEightBitText(cut, EightBitField::kId3v1), u"Björk ビョーク ホモジ"_s);
}

TEST(EightBitText, OtherCodePagesReadAsTheirWritersMeantThem) {
  const struct {
    QByteArray bytes;
    QString text;
  } cases[] = {
      {"\xBE\xC6\xC0\xCC\xC0\xAF", u"아이유"_s},                        // CP949
      {"\xC7\xE7\xCC\xEC", u"晴天"_s},                                  // GBK
      {"\xB4\xB8\xA4\xD1", u"晴天"_s},                                  // Big5
      {"\x81\x30\x81\x30\xD6\xDC\xBD\xDC\xC2\xD7", u"\u0080周杰伦"_s},  // GB18030
      {"\xCA\xE8\xED\xEE", u"Кино"_s},                                  // Windows-1251
      {"Dvo\xF8\xE1k", u"Dvořák"_s},                                    // Windows-1250
  };
  for (const auto& c : cases) {
    EXPECT_EQ(decodeEightBitText(c.bytes, EightBitField::kId3v2), c.text) << c.text.toStdString();
  }
  // A full ID3v1 field cut inside its last syllable loses that syllable.
  const QByteArray cut = QByteArray(
      "IU \xC1\xC1\xC0\xBA \xB3\xAF \xB9\xE3\xC6\xED\xC1\xF6 "
      "\xB6\xF3\xC0\xCF\xB6\xF4 \xBA\xED\xB7\xE7\xB9");
  ASSERT_EQ(cut.size(), 30);
  EXPECT_EQ(decodeEightBitText(cut, EightBitField::kId3v1), u"IU 좋은 날 밤편지 라일락 블루"_s);
}

TEST(EightBitText, WeighsBothReadings) {
  const struct {
    QByteArray bytes;
    int japanese, western;
  } cases[] = {
      {sjis(u"DJ本田MIX"_s), 6, -2}, {sjis(u"Bの曲"_s), 6, -4}, {sjis(u"ｻｻﾞﾝ"_s), 4, -2},
      {sjis(u"空"_s), 2, 1},         {"Andr\xE9s", -2, 3},      {"H\xE9l\xE8ne", 1, 6},
      {"Don\x92t Stop", 1, 3},       {"Comme \xE7\x61", 1, 2},  {"\xC9\x43OLE", -2, 2},
      {"Bj\xF6rk", -4, 3},
  };
  for (const auto& c : cases) {
    const EightBitWeights w = weighEightBitText(c.bytes, EightBitField::kId3v2);
    EXPECT_TRUE(w.cp932Valid);
    EXPECT_EQ(w.japanese, c.japanese) << c.bytes.toHex().toStdString();
    EXPECT_EQ(w.western, c.western) << c.bytes.toHex().toStdString();
  }
  EXPECT_FALSE(weighEightBitText("Caf\xE9", EightBitField::kId3v2).cp932Valid);
}

}  // namespace
}  // namespace orv::text

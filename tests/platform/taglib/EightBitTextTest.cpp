#include "platform/taglib/EightBitText.h"

#include "platform/Cp932.h"
#include "tests/mp3/Mp3Files.h"

#include <gtest/gtest.h>

namespace orv::platform {
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
  // the text is not CP932.
  EXPECT_EQ(decodeEightBitText(cut + QByteArray(1, '\0'), EightBitField::kId3v1),
            QString::fromLatin1(cut));
  EXPECT_EQ(decodeEightBitText(cut, EightBitField::kId3v2), QString::fromLatin1(cut));
  // A Latin-1 field that ends in an accent loses nothing.
  QByteArray cafe = QString(u"Chansons de René"_s).toLatin1();
  cafe.prepend(QByteArray(30 - cafe.size(), ' '));
  EXPECT_EQ(decodeEightBitText(cafe, EightBitField::kId3v1), QString::fromLatin1(cafe));
}

TEST(EightBitText, ReadsAsJapaneseRule) {
  struct Case {
    QString text;
    bool japanese;
  };
  const Case cases[] = {
      {u"テスト"_s, true},
      {u"LOVEマシーン"_s, true},
      {u"Bの曲"_s, true},           // a run glued to a letter on one side only
      {u"AあB"_s, true},            // kana between letters: still Japanese
      {u"Fran輟ise"_s, false},      // "Françoise": kanji glued between Latin letters
      {u"Mot\uE04Ehead"_s, false},  // a user-defined character
      {u"ﾇa plane"_s, false},       // "Ça": a lone half-width katakana
      {u"ｻｻﾞﾝ"_s, true},
      {u"Hello"_s, false},  // nothing outside ASCII: Latin-1 and CP932 agree anyway
      {u""_s, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(readsAsJapanese(c.text), c.japanese) << c.text.toStdString();
}

}  // namespace
}  // namespace orv::platform

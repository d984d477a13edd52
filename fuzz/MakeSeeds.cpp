// Writes the seed corpora of the fuzz targets into <fuzz folder>/<target>/corpus: real MP3
// frames of every MPEG version and header, every tag kind and text encoding, and the bad
// files the tests make; tag texts; page records; play times.
//
//   build/fuzz/fuzz_make_seeds fuzz

#include "tests/mp3/Mp3Files.h"
#include "tests/support/Files.h"

#include <QDir>

#include <cstdio>
#include <utility>
#include <vector>

using namespace orv::test;
using namespace Qt::StringLiterals;
using E = Id3Encoding;

namespace {

using Seeds = std::vector<std::pair<const char*, QByteArray>>;

void writeSeeds(const QString& fuzzFolder, const char* target, const Seeds& seeds) {
  QDir corpus(fuzzFolder + u'/' + QString::fromLatin1(target) + u"/corpus"_s);
  corpus.removeRecursively();
  QDir().mkpath(corpus.path());
  qsizetype total = 0;
  for (const auto& [name, bytes] : seeds) {
    writeFile(corpus.filePath(QString::fromLatin1(name)), bytes);
    total += bytes.size();
  }
  std::printf("%s: %zu seeds, %lld bytes\n", target, seeds.size(), static_cast<long long>(total));
}

QByteArray lyrics3v2() {
  const QByteArray body = "LYRICSBEGININD0000211";
  return body + QByteArray::number(body.size()).rightJustified(6, '0') + "LYRICS200";
}

Seeds trackDetailsSeeds() {
  const auto mp3 = [](int rate, int channels, double seconds, const QStringList& options) {
    return encodeMp3(pcm(rate, channels, seconds), rate, channels, options);
  };
  // A small file with an Info header to put tags around: 8 kHz mono at 32 kbps.
  const QByteArray base = mp3(8000, 1, 0.5, {"-b", "32"});
  const QByteArray vbr = mp3(44100, 2, 0.3, {"-V", "2"});
  const QString a = u"宇多田ヒカル"_s, t = u"ファースト・ラヴ"_s, l = u"First Love ♪"_s;
  const QString aL = u"Françoise Hardy"_s, tL = u"Tous les garçons"_s;
  const QByteArray v2 = id3v2Tag(3, {textFrame("TIT2", u"タグだけ"_s, E::kUtf16)}, 64);
  QByteArray absurd = vbr;  // a Xing frame count far beyond what the bytes hold
  if (const qsizetype x = absurd.indexOf("Xing"); x > 0) absurd[x + 9] = '\x7F';
  QByteArray footer = id3v2Tag(4, textFrames(4, a, t, l, E::kUtf8));
  footer[5] = '\x10';  // the footer flag, without the footer

  return {
      {"mpeg1_cbr_info", mp3(44100, 2, 0.3, {"-b", "128"})},
      {"mpeg1_vbr_xing", vbr},
      {"mpeg1_cbr_no_header", mp3(44100, 2, 0.3, {"-b", "128", "-t"})},
      {"mpeg1_32k_mono", mp3(32000, 1, 0.3, {"-b", "64"})},
      {"mpeg2_22k_mono_vbr", mp3(22050, 1, 0.5, {"-V", "4"})},
      {"mpeg2_24k_no_header", mp3(24000, 2, 0.4, {"-V", "2", "-t"})},
      {"mpeg25_8k_8kbps", mp3(8000, 1, 0.8, {"-b", "8"})},
      {"mpeg25_11k_vbr", mp3(11025, 2, 0.5, {"-V", "6"})},
      {"mpeg25_8k_info", base},
      {"id3v22_latin1", id3v2Tag(2, textFrames(2, aL, tL, u"Motörhead"_s, E::kLatin1)) + base},
      {"id3v22_utf16", id3v2Tag(2, textFrames(2, a, t, l, E::kUtf16)) + base},
      {"id3v23_utf16_be_bom", id3v2Tag(3, textFrames(3, a, t, l, E::kUtf16, true)) + base},
      {"id3v23_shift_jis",
       id3v2Tag(3, {rawLatin1Frame("TPE1", sjis(a)), rawLatin1Frame("TIT2", sjis(t))}) + base},
      {"id3v24_utf8_padding", id3v2Tag(4, textFrames(4, a, t, l, E::kUtf8), 256) + base},
      {"id3v24_utf16be", id3v2Tag(4, textFrames(4, a, t, l, E::kUtf16BE)) + base},
      {"id3v24_footer_flag", footer + base},
      {"id3v24_by_taglib", id3v2TagByTagLib(a, t, l) + base},
      {"id3v2_twice", v2 + v2 + base},
      {"ape", base + apeTag(a, t, l)},
      {"ape_8bit_items", base + rawApeTag({{"artist", sjis(a)},
                                           {"Title", windows1252(u"Tous les garçons"_s)},
                                           {"ALBUM", QByteArray("one\0two", 7)},
                                           {"Cover", QByteArray(40, '\x7F')}})},
      {"id3v1_ascii", base + id3v1Tag("Intro", "The Band", "Debut")},
      {"id3v1_shift_jis_cut",
       base + id3v1Tag(sjis(u"Aあいうえおかきくけこさしすせそ"_s), sjis(a), {})},
      {"every_tag", id3v2Tag(3, textFrames(3, a, t, l, E::kUtf16)) + base + apeTag(a, t, l) +
                        lyrics3v2() + id3v1Tag("t", "a", "l")},
      {"zero_bytes", {}},
      {"random_bytes", randomBytes(2000)},
      {"wav_renamed", wavFile(pcm(8000, 1, 0.1), 8000, 1)},
      {"id3v2_only", v2},
      {"id3v1_only", id3v1Tag("v1 only", {}, {})},
      {"ape_only", apeTag({}, "ape only", {})},
      {"id3v2_then_random", v2 + randomBytes(1500)},
      {"info_frame_only", base.left(72)},
      {"cut_short", vbr.left(vbr.size() / 2)},
      {"xing_frames_absurd", absurd},
      {"audio_appended", base + base},
      {"junk_appended", base + QByteArray(500, '\x55')},
  };
}

Seeds eightBitTextSeeds() {
  return {
      {"ascii", "Intro"},
      {"latin1", "Fran\xE7oise Hardy"},
      {"latin1_umlaut", "Mot\xF6rhead"},
      {"latin1_one_katakana",
       "\xC7"
       "a plane pour moi"},
      {"shift_jis", sjis(u"宇多田ヒカル"_s)},
      {"shift_jis_with_latin", sjis(u"LOVEマシーン"_s)},
      {"shift_jis_half_width", sjis(u"ｱｲｳｴｵ"_s)},
      {"shift_jis_cut", sjis(u"Aあいうえおかきくけこさしすせそ"_s).left(30)},
      {"shift_jis_user_defined", "\xF0\x40\xF0\x41"},
      {"nul_inside", QByteArray("abc\0def", 7)},
      {"nul_padded_id3v1", QByteArray("Intro").leftJustified(30, '\0')},
      {"windows1252", "Don\x92t Stop \x96 Andr\xE9s"},
      {"windows1252_undefined", "Caf\x81\x8D\x8F\x90\x9D"},
      {"utf8", "Bj\xC3\xB6rk \xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88"},
      {"utf8_cut", QByteArray("\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88").repeated(3).left(26) +
                       QByteArray(4, '\xE3')},
      {"shift_jis_kanji_glued", "DJ\x96{\x93\x63MIX"},
      {"korean", "\xBE\xC6\xC0\xCC\xC0\xAF \xC1\xC1\xC0\xBA \xB3\xAF"},
      {"simplified_chinese", "\xD6\xDC\xBD\xDC\xC2\xD7 \xC7\xE7\xCC\xEC"},
      {"traditional_chinese", "\xA9P\xAAN\xAD\xDB \xB4\xB8\xA4\xD1"},
      {"gb18030_four_bytes", "\x81\x30\x81\x30\xD6\xDC"},
      {"cyrillic", "\xC3\xF0\xF3\xEF\xEF\xE0 \xEA\xF0\xEE\xE2\xE8"},
      {"central_european", "Anton\xEDn Dvo\xF8\xE1k"},
      // Albums: their texts joined by "\xFF\xFF".
      {"album_korean",
       "\xB3\xDA\xFF\xFF\xB8\xD6\xBE\xEE\xC1\xF6\xB4\xD9\xFF\xFF"
       "\xBE\xC6\xC0\xCC\xC0\xAF"},
      {"album_compilation", sjis(u"勝手にシンドバッド"_s) + "\xFF\xFF" + sjis(u"いとしのエリー"_s) +
                                "\xFF\xFFH\xE9l\xE8ne\xFF\xFFRock\x92n\x92Roll"},
  };
}

// A page-writer input: the flag byte, then the fields joined by "\xFF\xFF".
QByteArray pageInput(char flag, const QList<QByteArray>& fields) {
  return flag + fields.join("\xFF\xFF");
}

QByteArray utf16(const QString& text) {
  return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

Seeds albumPageSeeds() {
  return {
      {"one_track", pageInput(0, {"Album", "Artist", "01_a.mp3", "Song", "0:03:25"})},
      {"three_tracks",
       pageInput(2, {"  First Love ", u"宇多田ヒカル"_s.toUtf8(), u"01_ファースト.mp3"_s.toUtf8(),
                     R"(Say "Hi")", "0:04:17", "A", "X", "2 \"b\".mp3", "</script>", "3:25", "A",
                     "AC\\DC", "3.mp3", "\t\r\n\x7F", "596:31:23"})},
      {"not_cp932", pageInput(1, {u"¥ ~ 😀"_s.toUtf8(), u"\u2028\u2029"_s.toUtf8(), "x.mp3",
                                  u"～〜−"_s.toUtf8(), "", "", "", "", "", " : : "})},
      {"bad_play_time",
       pageInput(1, {"A", "B", "c.mp3", "D", "0:03:25", "A", "B", "e.mp3", "F", "1:2:3:4"})},
      {"play_time_overflow", pageInput(0, {"A", "B", "c.mp3", "D", "596:31:24"})},
      {"utf16_lone_surrogate",
       pageInput(4, {utf16(u"Album"_s), utf16(QString(QChar(0xD800)) + u"x"_s), utf16(u"f.mp3"_s),
                     utf16(u"\"quoted\""_s), utf16(u"1:00:00"_s)})},
  };
}

Seeds playTimeSeeds() {
  const auto text = [](const char* t, char flag = 0) { return flag + QByteArray(t); };
  return {
      {"h_mm_ss", text("0:03:25")},
      {"hh_mm_ss", text("00:03:25")},
      {"hours", text("1:02:03")},
      {"one_colon", text("3:25")},
      {"no_colon", text("325")},
      {"empty", text("")},
      {"colons_only", text("::")},
      {"spaces", text(" 0 : 03 :\t25\n")},
      {"negative", text("-1:00:00")},
      {"largest", text("596:31:23")},
      {"one_second_too_many", text("596:31:24")},
      {"third_colon", text("1:2:3:4")},
      {"halves", text("2.5:3.5:0.5")},
      {"above_half", text("0:0:0.5000001")},
      {"exponent_and_radix", text("1E3:&H10:.5")},
      {"piece_at_limits", text("32767:-32768:-32768.5")},
      {"piece_overflow", text("32767.5:0:0")},
      {"full_width", text("０：03:25")},
      {"length_limit_below", text("0:03:25", '\x72')},  // 32,766 characters
      {"length_limit", text("0:03:25", '\x82')},        // 32,767 characters
      {"utf16", '\x01' + utf16(u"1:02:03"_s)},
  };
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FUZZ_FOLDER\n", argv[0]);
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  writeSeeds(folder, "track_details", trackDetailsSeeds());
  writeSeeds(folder, "eight_bit_text", eightBitTextSeeds());
  writeSeeds(folder, "album_page", albumPageSeeds());
  writeSeeds(folder, "play_time", playTimeSeeds());
  return 0;
}

// How well 8-bit tag texts read, each alone (as every text was read before the album's
// decision) and in their albums (AlbumTexts), per code page, on the labelled albums
// (tests/mp3/labelled_albums.txt) and on the labelled table grouped into one album per
// part and encoding (tests/mp3/labelled_texts.txt). Only texts with bytes outside ASCII
// count, each distinct text of an album once. It prints the tables the closing notes of
// this work quote, and with --list every text misread.
//
//   build/bench/album_texts_eval [--set tune|held|late|all] [--list]
//
// "tune" albums were looked at while the album rule was made, "held" ones were held back
// and then seen once they showed a fault, "late" ones written after the rule's last change
// (see the table's head).

#include "tests/mp3/LabelledAlbums.h"
#include "tests/mp3/LabelledTexts.h"
#include "text/AlbumTexts.h"

#include <QCoreApplication>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <map>

namespace {

using namespace orv;
using namespace orv::test;
using text::EightBitField;

// What became of the texts of some albums.
struct Score {
  int albums = 0, texts = 0, alone = 0, inAlbum = 0;
  int albumsBelowAlone = 0, albumsBelowInAlbum = 0;  // under 98 % right
  int aloneAsAnAlbum = 0;  // texts whose album of their own reads them otherwise than alone
  void add(const Score& s) {
    albums += s.albums, texts += s.texts, alone += s.alone, inAlbum += s.inAlbum;
    albumsBelowAlone += s.albumsBelowAlone, albumsBelowInAlbum += s.albumsBelowInAlbum;
    aloneAsAnAlbum += s.aloneAsAnAlbum;
  }
};

bool listMisreads = false;

QString percent(int right, int of) {
  return of == 0 ? QStringLiteral("-")
                 : QString::number(100.0 * right / of, 'f', 1) + QStringLiteral(" %");
}

// One album's texts (`tracks`' titles, artists and album titles), read alone and together.
Score score(const std::vector<TaggedTrack>& tracks, const QString& name) {
  text::AlbumTexts album;
  for (const TaggedTrack& t : tracks) {
    for (const TaggedText* text : {&t.title, &t.artist, &t.album}) album.add(text->tag);
  }
  const text::AlbumVerdict verdict = album.decide();
  Score s{.albums = 1};
  QSet<QString> seen;
  for (const TaggedTrack& t : tracks) {
    for (const TaggedText* text : {&t.title, &t.artist, &t.album}) {
      const auto& value = std::get<text::EightBitValue>(text->tag.parts().front());
      const QString key = QString::fromLatin1(value.bytes.toHex());
      if (!text->eightBit || seen.contains(key)) continue;
      seen.insert(key);
      ++s.texts;
      const QString alone = text->tag.alone(), inAlbum = album.read(text->tag);
      s.alone += alone == text->meant;
      s.inAlbum += inAlbum == text->meant;
      text::AlbumTexts own;
      own.add(text->tag);
      own.decide();
      s.aloneAsAnAlbum += own.read(text->tag) != alone;
      if (listMisreads && (alone != text->meant || inAlbum != text->meant)) {
        std::printf(
            "  %s %s  %s  %s: alone %s, in the album %s (%s, %s bits)\n",
            inAlbum == text->meant ? "right in album:" : "MISREAD:       ", qPrintable(name),
            qPrintable(nameOf(text->label)), qPrintable(text->meant), qPrintable(alone),
            qPrintable(inAlbum), verdict.encoding ? verdict.encoding->name().data() : "none",
            verdict.margin ? qPrintable(QString::number(*verdict.margin / 2.0)) : "-");
      }
    }
  }
  s.albumsBelowAlone = s.alone < 0.98 * s.texts;
  s.albumsBelowInAlbum = s.inAlbum < 0.98 * s.texts;
  return s;
}

void printHead(const char* title) {
  std::printf("\n%s\n%-26s %6s %6s | %9s %9s | %9s %9s | %s\n", title, "", "albums", "texts",
              "ID3v2", "", "ID3v1", "", "albums under 98 %");
  std::printf("%-26s %6s %6s | %9s %9s | %9s %9s | %s\n", "", "", "", "alone", "in album", "alone",
              "in album", "ID3v2 alone/album, ID3v1 alone/album");
}

void printRow(const QString& row, const Score& v2, const Score& v1) {
  std::printf("%-26s %6d %6d | %9s %9s | %9s %9s | %d/%d, %d/%d%s\n", qPrintable(row), v2.albums,
              v2.texts, qPrintable(percent(v2.alone, v2.texts)),
              qPrintable(percent(v2.inAlbum, v2.texts)), qPrintable(percent(v1.alone, v1.texts)),
              qPrintable(percent(v1.inAlbum, v1.texts)), v2.albumsBelowAlone, v2.albumsBelowInAlbum,
              v1.albumsBelowAlone, v1.albumsBelowInAlbum,
              v2.aloneAsAnAlbum + v1.aloneAsAnAlbum > 0 ? "  (an album of one text differs!)" : "");
}

void evaluateAlbums(const QString& set) {
  std::map<QString, std::pair<Score, Score>> rows;  // by code page, then compilations
  std::pair<Score, Score> all;
  for (const LabelledAlbum& album : labelledAlbums()) {
    if (set != u"all" && album.set != set) continue;
    const QString name = album.artist + QStringLiteral(" – ") + album.title;
    const QString row = album.oneTagger() ? nameOf(album.label) : QStringLiteral("~compilations");
    const Score v2 = score(taggedTracks(album, EightBitField::kId3v2), name + " (ID3v2)");
    const Score v1 = score(taggedTracks(album, EightBitField::kId3v1), name + " (ID3v1)");
    rows[row].first.add(v2), rows[row].second.add(v1);
    all.first.add(v2), all.second.add(v1);
  }
  printHead(qPrintable(QStringLiteral("Labelled albums (%1)").arg(set)));
  for (const auto& [row, scores] : rows) printRow(row, scores.first, scores.second);
  printRow(QStringLiteral("all"), all.first, all.second);
}

// The labelled table, one album per part of it and encoding.
void evaluateTable() {
  std::map<QString, std::vector<const LabelledText*>> albums;
  for (const LabelledText& entry : labelledTexts()) {
    albums[nameOf(entry.label) + QStringLiteral(" / ") + entry.section].push_back(&entry);
  }
  std::map<QString, std::pair<Score, Score>> rows;
  std::pair<Score, Score> all;
  for (const auto& [name, entries] : albums) {
    std::pair<std::vector<TaggedTrack>, std::vector<TaggedTrack>> tracks;
    for (const LabelledText* entry : entries) {
      // Each text a track's title; its artist and album title ASCII.
      for (const EightBitField field : {EightBitField::kId3v2, EightBitField::kId3v1}) {
        auto& t = field == EightBitField::kId3v2 ? tracks.first : tracks.second;
        t.push_back({tagged(entry->text, entry->label, field),
                     tagged(QStringLiteral("Artist"), entry->label, field),
                     tagged(QStringLiteral("Album"), entry->label, field)});
      }
    }
    const Score v2 = score(tracks.first, name + " (ID3v2)");
    const Score v1 = score(tracks.second, name + " (ID3v1)");
    const QString row = name.section(QStringLiteral(" / "), 0, 0);
    rows[row].first.add(v2), rows[row].second.add(v1);
    all.first.add(v2), all.second.add(v1);
  }
  printHead("Labelled table, one album per part and encoding");
  for (const auto& [row, scores] : rows) printRow(row, scores.first, scores.second);
  printRow(QStringLiteral("all"), all.first, all.second);
}

// Each text of the labelled table as one more track of each one-tagger album of another
// encoding: how many of the texts that read right alone still do in the album.
void evaluateGuests(const QString& set, int group) {
  std::map<QString, std::pair<int, int>> rows;  // right alone, right in the album too
  std::map<TextLabel, std::vector<const LabelledText*>> byLabel;
  for (const LabelledText& entry : labelledTexts()) byLabel[entry.label].push_back(&entry);
  for (const LabelledAlbum& album : labelledAlbums()) {
    if (!album.oneTagger() || album.label == TextLabel::kUtf8) continue;
    if (set != u"all" && album.set != set) continue;
    const std::vector<TaggedTrack> tracks = taggedTracks(album, EightBitField::kId3v2);
    for (const LabelledText& entry : labelledTexts()) {
      if (entry.label == album.label || entry.label == TextLabel::kUtf8) continue;
      const TaggedText guest = tagged(entry.text, entry.label, EightBitField::kId3v2);
      if (!guest.eightBit || guest.tag.alone() != guest.meant) continue;
      text::AlbumTexts texts;
      for (const TaggedTrack& t : tracks) {
        for (const TaggedText* text : {&t.title, &t.artist, &t.album}) texts.add(text->tag);
      }
      texts.add(guest.tag);
      // and the next group - 1 texts of its kind with it
      const auto& kind = byLabel[entry.label];
      const auto at = std::find(kind.begin(), kind.end(), &entry) - kind.begin();
      for (int k = 1; k < group; ++k) {
        texts.add(
            tagged(kind[(at + 7 * k) % kind.size()]->text, entry.label, EightBitField::kId3v2).tag);
      }
      texts.decide();
      auto& row = rows[nameOf(entry.label) + QStringLiteral(" in ") + nameOf(album.label)];
      ++row.first;
      const QString read = texts.read(guest.tag);
      row.second += read == guest.meant;
      if (listMisreads && read != guest.meant) {
        std::printf("  guest %-8s %s in %s: %s\n", qPrintable(nameOf(entry.label)),
                    qPrintable(guest.meant), qPrintable(album.title), qPrintable(read));
      }
    }
  }
  std::printf(
      "\nTexts of the labelled table as guests in the labelled albums (%s), %d of a kind: of those "
      "that "
      "read right alone, how many still do\n",
      qPrintable(set), group);
  std::pair<int, int> all;
  for (const auto& [row, counts] : rows) {
    std::printf("%-22s %5d %8s\n", qPrintable(row), counts.first,
                qPrintable(percent(counts.second, counts.first)));
    all.first += counts.first, all.second += counts.second;
  }
  std::printf("%-22s %5d %8s\n", "all", all.first, qPrintable(percent(all.second, all.first)));
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QStringList sets{QStringLiteral("tune"), QStringLiteral("held"), QStringLiteral("late"),
                   QStringLiteral("all")};
  const QStringList arguments = app.arguments().mid(1);
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == u"--list") {
      listMisreads = true;
    } else if (arguments[i] == u"--set" && i + 1 < arguments.size()) {
      sets = {arguments[++i]};
    } else {
      std::fprintf(stderr, "usage: album_texts_eval [--set tune|held|late|all] [--list]\n");
      return 2;
    }
  }
  for (const QString& set : sets) evaluateAlbums(set);
  for (const QString& set : sets) evaluateGuests(set, 1);
  for (const QString& set : sets) evaluateGuests(set, 3);
  evaluateTable();
  return 0;
}

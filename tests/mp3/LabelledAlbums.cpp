#include "tests/mp3/LabelledAlbums.h"

#include "tests/support/Files.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <stdexcept>

namespace orv::test {
namespace {

TextLabel labelOf(const QString& name, const QString& line) {
  const auto label = labelNamed(name);
  if (!label)
    throw std::runtime_error("labelled_albums.txt: unknown label in " + line.toStdString());
  return *label;
}

LabelledAlbum albumOf(const QStringList& fields, const QString& line) {
  static const QStringList kSets{QStringLiteral("tune"), QStringLiteral("held"),
                                 QStringLiteral("late")};
  if (fields.size() != 5 || !kSets.contains(fields[1])) {
    throw std::runtime_error("labelled_albums.txt: not an album: " + line.toStdString());
  }
  return {.set = fields[1],
          .label = labelOf(fields[2], line),
          .artist = fields[3],
          .title = fields[4],
          .tracks = {}};
}

}  // namespace

bool LabelledAlbum::oneTagger() const {
  return std::all_of(tracks.begin(), tracks.end(),
                     [&](const LabelledTrack& track) { return track.label == label; });
}

TaggedText tagged(const QString& text, TextLabel label, text::EightBitField field) {
  constexpr qsizetype kId3v1Field = 30;
  const auto bytesOf = [&](const QString& t) { return tagBytes({label, t, {}, {}}); };
  QByteArray bytes = bytesOf(text);
  QString meant = text;
  const bool eightBit = std::any_of(bytes.begin(), bytes.end(), [](char c) { return c & 0x80; });
  if (field == text::EightBitField::kId3v1) {
    // The characters that fit whole.
    while (bytesOf(meant).size() > kId3v1Field) meant.chop(meant.back().isLowSurrogate() ? 2 : 1);
    bytes = bytes.left(kId3v1Field).leftJustified(kId3v1Field, '\0');
    meant = QString(meant).remove(
        QRegularExpression(QStringLiteral("^[ \\t\\n\\f\\r]+|[ \\t\\n\\f\\r]+$")));
  }
  text::TagText tag;
  tag.append(text::EightBitValue{bytes, field});
  return {tag, meant, label, eightBit};
}

std::vector<TaggedTrack> taggedTracks(const LabelledAlbum& album, text::EightBitField field) {
  std::vector<TaggedTrack> tracks;
  for (const LabelledTrack& track : album.tracks) {
    tracks.push_back({tagged(track.title, track.label, field),
                      tagged(track.artist, track.label, field),
                      tagged(album.title, album.label, field)});
  }
  return tracks;
}

const std::vector<LabelledAlbum>& labelledAlbums() {
  static const std::vector<LabelledAlbum> table = [] {
    std::vector<LabelledAlbum> out;
    for (const QString& line : QString::fromUtf8(readFile(ORV_LABELLED_ALBUMS)).split(u'\n')) {
      if (line.isEmpty() || line.startsWith(u'#')) continue;
      const QStringList fields = line.split(u'\t');
      if (fields[0] == u"album") {
        out.push_back(albumOf(fields, line));
        continue;
      }
      if (!fields[0].isEmpty() || out.empty() || fields.size() > 4) {
        throw std::runtime_error("labelled_albums.txt: not a track: " + line.toStdString());
      }
      LabelledAlbum& album = out.back();
      const QString artist = fields.value(2);
      album.tracks.push_back({fields[1], artist.isEmpty() ? album.artist : artist,
                              fields.size() > 3 ? labelOf(fields[3], line) : album.label});
    }
    return out;
  }();
  return table;
}

}  // namespace orv::test

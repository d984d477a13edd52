#pragma once

#include "text/EightBitField.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <variant>
#include <vector>

namespace orv::text {

// One 8-bit value of a tag, as raw as the tag holds it: which code page it is read in is
// decided later, album by album (AlbumTexts.h).
struct EightBitValue {
  QByteArray bytes;  // an ID3v1 field's 30 bytes with their padding, or a value up to its NUL
  EightBitField field = EightBitField::kId3v2;
  bool operator==(const EightBitValue&) const = default;
};

// A text as the tags give one field of a track (its title, say): a sequence of parts, each
// a text read already (a frame in UTF-16 or UTF-8, the space that joins several values)
// or an 8-bit value whose reading waits for the album. A text from a QString is read
// already; an empty one has no parts.
//
//   TagText title;
//   title.append(EightBitValue{"\xB3\xDA"});   // 넬 in CP949, or ｳﾚ in Shift-JIS
//   title.append(u" (Live)"_s);
//   title.read([](const EightBitValue&) { return u"넬"_s; }) == u"넬 (Live)"
//   title.alone() == u"ｳﾚ (Live)"        // decided by its own bytes, decodeEightBitText
class TagText {
 public:
  using Part = std::variant<QString, EightBitValue>;

  TagText() = default;
  TagText(const QString& text) {  // NOLINT(google-explicit-constructor): text read already
    if (!text.isEmpty()) parts_.emplace_back(text);
  }

  void append(Part part) { parts_.push_back(std::move(part)); }
  const std::vector<Part>& parts() const { return parts_; }

  // Whether the tag holds nothing for the field. An 8-bit value counts as something even
  // when empty (an APE item's empty values join the others with a space); only an ID3v1
  // field of white space reads empty without being so, and no tag comes after ID3v1.
  bool isEmpty() const { return parts_.empty(); }

  // The text, each 8-bit value read by `read`; an ID3v1 field without the white space
  // around it (" \t\n\f\r", as TagLib strips it).
  QString read(const std::function<QString(const EightBitValue&)>& read) const;

  // The text with each 8-bit value decided by its own bytes alone (decodeEightBitText).
  QString alone() const;

  bool operator==(const TagText&) const = default;

 private:
  std::vector<Part> parts_;
};

}  // namespace orv::text

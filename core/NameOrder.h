#pragma once

#include <QString>

namespace orv {

// A file name with the key the program sorts names by: each character upper-cased on
// its own (one character stays one character), compared as UTF-16 code units, so that
// names sort without regard to letter case as on the album folders' original file
// system; names with equal keys sort by their own code units. The key is worked out
// once, for lists of many names.
//
//   OrderedName(" a b.mp3") < OrderedName("A-C.mp3")   // " " before "-"
//   OrderedName("A-C.mp3") < OrderedName("a_b.mp3")    // "-" before "_"
//   OrderedName("A.mp3") < OrderedName("a.mp3")        // equal keys: "A" before "a"
struct OrderedName {
  explicit OrderedName(QString fileName);

  QString key;  // upper-cased
  QString name;

  friend bool operator<(const OrderedName& a, const OrderedName& b) {
    const int byKey = a.key.compare(b.key);
    return byKey != 0 ? byKey < 0 : a.name < b.name;
  }
};

// `text` with each character upper-cased on its own, as OrderedName keys it; for
// matching names without regard to letter case.
//
//   upperCased(u"straße.mp3") == u"STRAßE.MP3"
QString upperCased(const QString& text);

}  // namespace orv

#include "platform/taglib/ApeTexts.h"

#include <taglib/apefooter.h>

#include <algorithm>
#include <utility>

namespace orv::platform {
namespace {

QByteArrayView view(const TagLib::ByteVector& data, qint64 pos, qint64 size) {
  return QByteArrayView(data.data() + pos, static_cast<qsizetype>(size));
}

// The values of a text item, split at their NULs as TagLib splits them, each kept as its
// bytes, and joined by a space as TagLib joins them.
text::TagText valuesOf(QByteArrayView value) {
  text::TagText values;
  bool first = true;
  while (!value.isEmpty()) {
    if (!std::exchange(first, false)) values.append(QStringLiteral(" "));
    const qsizetype nul = value.indexOf('\0');
    values.append(text::EightBitValue{value.first(nul < 0 ? value.size() : nul).toByteArray(),
                                      text::EightBitField::kId3v2});
    if (nul < 0) break;
    value = value.sliced(nul + 1);
  }
  return values;
}

}  // namespace

TrackTexts readApeTexts(TagLib::File& file, long footer) {
  using TagLib::APE::Footer;
  file.seek(footer);
  const Footer header(file.readBlock(Footer::size()));
  const qint64 size = qint64(header.tagSize()) - Footer::size();  // the items
  if (size <= 0 || size > footer) return {};
  file.seek(footer - static_cast<long>(size));
  const TagLib::ByteVector items = file.readBlock(static_cast<unsigned long>(size));
  const qint64 end = items.size();

  TrackTexts texts;
  qint64 pos = 0;
  for (unsigned i = 0; i < header.itemCount() && pos + 11 <= end; ++i) {
    const qint64 length = items.toUInt(static_cast<unsigned>(pos), false);
    const unsigned flags = items.toUInt(static_cast<unsigned>(pos) + 4, false);
    const int nul = items.find('\0', static_cast<unsigned>(pos) + 8);
    if (nul < 0) break;
    const QByteArray key = view(items, pos + 8, nul - pos - 8).toByteArray().toUpper();
    const qint64 value = nul + 1;
    const qint64 available = std::min(length, std::max<qint64>(end - value, 0));
    pos = value + length;
    if ((flags >> 1 & 3) != 0) continue;  // binary or locator, not text
    text::TagText* field = key == "ARTIST"  ? &texts.artist
                           : key == "TITLE" ? &texts.title
                           : key == "ALBUM" ? &texts.album
                                            : nullptr;
    if (field != nullptr) *field = valuesOf(view(items, value, available));
  }
  return texts;
}

}  // namespace orv::platform

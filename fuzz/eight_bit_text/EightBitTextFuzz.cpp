// The decision how to read 8-bit tag text, on arbitrary bytes, as an ID3v1 field and as
// an ID3v2 text: the text is valid UTF-16, holds no NUL and no more characters than the
// bytes, and bytes that are all ASCII come back as they are, up to the first NUL. Bytes
// with a NUL read alike in both kinds of field: only a full ID3v1 field may be cut.
// And the album's decision, on the texts between "\xFF\xFF" as one album (ID3v2 and
// ID3v1 fields in turn), by its own verdict and with each encoding forced: every text
// reads as valid UTF-16 with no NUL and no more characters than its bytes, ASCII as it is
// alone; and an album of the first text alone reads it as it reads alone.

#include "fuzz/FuzzSupport.h"
#include "text/AlbumTexts.h"
#include "text/EightBitText.h"

#include <algorithm>
#include <cstdint>

using namespace orv;
using namespace orv::fuzz;
using text::EightBitField;

namespace {

// The album's reading of each of `texts` (all ASCII where `ascii`), by its verdict or with
// `forced`.
void checkAlbum(const std::vector<text::TagText>& texts, std::optional<text::TextEncoding> forced,
                const std::vector<bool>& ascii) {
  text::AlbumTexts album(forced);
  for (const text::TagText& text : texts) album.add(text);
  const text::AlbumVerdict verdict = album.decide();
  FUZZ_CHECK(verdict.forced == (forced && verdict.encoding.has_value()),
             QStringLiteral("a forced verdict"));
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const QString read = album.read(texts[i]);
    const auto& value = std::get<text::EightBitValue>(texts[i].parts().front());
    const QString where = QStringLiteral("text %1 of bytes %2 read in its album as %3")
                              .arg(i)
                              .arg(QString::fromLatin1(value.bytes.toHex(' ')), shown(read));
    FUZZ_CHECK(read.isValidUtf16(), where);
    FUZZ_CHECK(!read.contains(QChar(u'\0')), where);
    FUZZ_CHECK(read.size() <= value.bytes.size(), where);
    FUZZ_CHECK(!ascii[i] || read == texts[i].alone(), where);
  }
}

void checkAlbums(QByteArrayView bytes) {
  std::vector<text::TagText> texts;
  std::vector<bool> ascii;
  for (const QByteArrayView field : splitFields(bytes)) {
    text::TagText& text = texts.emplace_back();
    text.append(text::EightBitValue{field.toByteArray(), texts.size() % 2 == 0
                                                             ? EightBitField::kId3v1
                                                             : EightBitField::kId3v2});
    ascii.push_back(std::all_of(field.begin(), field.end(), [](char c) { return c >= 0; }));
  }
  checkAlbum(texts, std::nullopt, ascii);
  for (std::size_t page = 0; page < text::kCodePages.size(); ++page) {
    checkAlbum(texts, text::TextEncoding::ofPage(page), ascii);
  }
  checkAlbum(texts, text::TextEncoding::utf8(), ascii);

  text::AlbumTexts alone;
  alone.add(texts.front());
  alone.decide();
  FUZZ_CHECK(alone.read(texts.front()) == texts.front().alone(),
             QStringLiteral("bytes %1 read as %2 in an album of their own, as %3 alone")
                 .arg(QString::fromLatin1(bytes.toByteArray().toHex(' ')),
                      shown(alone.read(texts.front())), shown(texts.front().alone())));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArrayView bytes(data, static_cast<qsizetype>(size));
  const bool ascii = std::all_of(data, data + size, [](std::uint8_t b) { return b < 0x80; });
  const qsizetype nul = bytes.indexOf('\0');
  const QString asAscii = QString::fromLatin1(nul < 0 ? bytes : bytes.first(nul));

  constexpr EightBitField kFields[] = {EightBitField::kId3v1, EightBitField::kId3v2};
  QString texts[2];
  for (int i = 0; i < 2; ++i) {
    texts[i] = text::decodeEightBitText(bytes, kFields[i]);
    const QString& text = texts[i];
    const auto where = [&] {
      return QStringLiteral("%1 field of bytes %2 read as %3")
          .arg(i == 0 ? "ID3v1" : "ID3v2")
          .arg(QString::fromLatin1(bytes.toByteArray().toHex(' ')))
          .arg(shown(text));
    };
    FUZZ_CHECK(text.isValidUtf16(), where());
    FUZZ_CHECK(!text.contains(QChar(u'\0')), where());
    FUZZ_CHECK(text.size() <= bytes.size(), where());
    FUZZ_CHECK(!ascii || text == asAscii, where());
  }
  FUZZ_CHECK(nul < 0 || texts[0] == texts[1],
             QStringLiteral("bytes %1 read as %2 in ID3v1, %3 in ID3v2")
                 .arg(QString::fromLatin1(bytes.toByteArray().toHex(' ')), shown(texts[0]),
                      shown(texts[1])));
  checkAlbums(bytes);
  return 0;
}

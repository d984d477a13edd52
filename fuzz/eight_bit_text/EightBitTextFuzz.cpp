// The decision how to read 8-bit tag text, on arbitrary bytes, as an ID3v1 field and as
// an ID3v2 text: the text is valid UTF-16, holds no NUL and no more characters than the
// bytes, and bytes that are all ASCII come back as they are, up to the first NUL. Bytes
// with a NUL read alike in both kinds of field: only a full ID3v1 field may be cut.

#include "fuzz/FuzzSupport.h"
#include "text/EightBitText.h"

#include <algorithm>
#include <cstdint>

using namespace orv;
using namespace orv::fuzz;
using text::EightBitField;

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
  return 0;
}

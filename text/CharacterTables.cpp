#include "text/CharacterTables.h"

#include "text/Bytes.h"
#include "text/Iconv.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace orv::text {
namespace {

// Decodes as much of `in` as is valid in `page`; see decodeValidPrefix.
size_t iconvDecode(const CodePage& page, const char* in, size_t size, char16_t* out,
                   size_t& written) {
  written = 0;
  iconv_t cd = utf16Decoder(page.iconvName);
  if (cd == nullptr) return 0;
  return decodeValidPrefix(cd, in, size, out, written);
}

// Each character of a code page as iconv decodes it, asked once: decoding short texts
// through iconv costs microseconds a text, these tables nanoseconds.
struct CharacterTable {
  std::array<char16_t, 128> single{};  // bytes 0x80-0xFF; 0 where none is a character
  std::vector<char16_t> pairs;         // [(lead - 0x80) * 256 + trail]; 0 where none
};

constexpr int kFirstTrail = 0x40, kLastTrail = 0xFE, kTrails = kLastTrail - kFirstTrail + 1;

// The characters of one lead byte: all its pairs in one run through iconv, which stops at
// each pair that is none and goes on after it.
void fillRow(const CodePage& page, int lead, char16_t* row) {
  std::array<char, 2 * kTrails> in;
  for (int k = 0; k < kTrails; ++k) {
    in[2 * k] = static_cast<char>(lead);
    in[2 * k + 1] = static_cast<char>(kFirstTrail + k);
  }
  std::array<char16_t, 2 * kTrails> out;
  for (int k = 0; k < kTrails;) {
    size_t written = 0;
    const size_t used =
        iconvDecode(page, in.data() + 2 * k, 2 * (kTrails - k), out.data(), written);
    const int pairs = static_cast<int>(used / 2);
    if (used % 2 != 0 || written != static_cast<size_t>(pairs)) break;  // not one unit a pair
    for (int j = 0; j < pairs; ++j) row[kFirstTrail + k + j] = out[j];
    k += pairs + 1;  // past the pair where it stopped
    if (k >= kTrails) return;
  }
  for (int k = 0; k < kTrails; ++k) {  // pair by pair
    size_t written = 0;
    if (iconvDecode(page, in.data() + 2 * k, 2, out.data(), written) == 2 && written == 1) {
      row[kFirstTrail + k] = out[0];
    }
  }
}

CharacterTable makeTable(const CodePage& page) {
  CharacterTable table;
  if (page.ownCharacters != nullptr) {
    table.single = *page.ownCharacters;
    return table;
  }
  for (int b = 0x80; b <= 0xFF; ++b) {
    const char c = static_cast<char>(b);
    char16_t out[1];
    size_t written = 0;
    if (iconvDecode(page, &c, 1, out, written) == 1 && written == 1)
      table.single[b - 0x80] = out[0];
  }
  if (page.width == Width::kSingleByte) return table;
  table.pairs.assign(128 * 256, 0);
  for (int lead = 0x81; lead <= 0xFE; ++lead)
    fillRow(page, lead, &table.pairs[(lead - 0x80) * 256]);
  return table;
}

// The table of `page`. All are made at once, when first needed: every 8-bit text is read
// in every page.
const CharacterTable& tableOf(const CodePage& page) {
  static const std::array<CharacterTable, kCodePages.size()> tables = [] {
    std::array<CharacterTable, kCodePages.size()> t;
    for (std::size_t p = 0; p < kCodePages.size(); ++p) t[p] = makeTable(kCodePages[p]);
    return t;
  }();
  return tables[static_cast<std::size_t>(&page - kCodePages.data())];
}

// GB18030's four-byte characters, which no table holds: iconv decodes the whole text.
bool hasFourByteSequence(const CodePage& page, QByteArrayView bytes) {
  if (!page.fourByteSequences) return false;
  for (qsizetype i = 0; i + 1 < bytes.size(); ++i) {
    if (static_cast<Byte>(bytes[i]) >= 0x81 && bytes[i + 1] >= '0' && bytes[i + 1] <= '9') {
      return true;
    }
  }
  return false;
}

std::optional<QString> decodeByIconv(const CodePage& page, QByteArrayView bytes) {
  QString out(bytes.size(), Qt::Uninitialized);
  size_t written = 0;
  const auto size = static_cast<size_t>(bytes.size());
  if (iconvDecode(page, bytes.data(), size, reinterpret_cast<char16_t*>(out.data()), written) !=
      size) {
    return std::nullopt;
  }
  out.truncate(static_cast<qsizetype>(written));
  return out;
}

// The bytes of each character of one page, the reverse of its CharacterTable: a single
// byte, or lead * 256 + trail; 0 where the page has no such character. Where a page has
// two writings of one character (CP932's NEC and IBM rows), the first is taken: both read
// back alike.
using ReverseTable = std::vector<std::uint16_t>;

ReverseTable makeReverse(const CharacterTable& table) {
  ReverseTable reverse(0x10000, 0);
  for (int b = 0x80; b <= 0xFF; ++b) {
    const char16_t c = table.single[b - 0x80];
    if (c != 0 && reverse[c] == 0) reverse[c] = static_cast<std::uint16_t>(b);
  }
  for (std::size_t i = 0; i < table.pairs.size(); ++i) {
    const char16_t c = table.pairs[i];
    if (c != 0 && reverse[c] == 0) reverse[c] = static_cast<std::uint16_t>(0x8000 + i);
  }
  return reverse;
}

// Made when first needed: only UTF-8 texts of albums in another page are written back.
const ReverseTable& reverseOf(const CodePage& page) {
  static const std::array<ReverseTable, kCodePages.size()> tables = [] {
    std::array<ReverseTable, kCodePages.size()> t;
    for (std::size_t p = 0; p < kCodePages.size(); ++p) t[p] = makeReverse(tableOf(kCodePages[p]));
    return t;
  }();
  return tables[static_cast<std::size_t>(&page - kCodePages.data())];
}

}  // namespace

std::optional<QByteArray> encodeStrict(const CodePage& page, QStringView text) {
  const ReverseTable& reverse = reverseOf(page);
  QByteArray out;
  out.reserve(2 * text.size());
  for (const QChar ch : text) {
    const char16_t c = ch.unicode();
    const std::uint16_t bytes = c < 0x80 ? c : reverse[c];
    if (bytes == 0 && c != 0) return std::nullopt;
    if (bytes > 0xFF) out.append(static_cast<char>(bytes >> 8));
    out.append(static_cast<char>(bytes & 0xFF));
  }
  return out;
}

std::optional<QString> decodeStrict(const CodePage& page, QByteArrayView bytes) {
  if (hasFourByteSequence(page, bytes)) return decodeByIconv(page, bytes);
  const CharacterTable& table = tableOf(page);
  QString out(bytes.size(), Qt::Uninitialized);
  char16_t* p = reinterpret_cast<char16_t*>(out.data());
  qsizetype n = 0;
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const Byte b = static_cast<Byte>(bytes[i]);
    char16_t c = b < 0x80 ? b : table.single[b - 0x80];
    if (c == 0 && b >= 0x80 && !table.pairs.empty() && i + 1 < bytes.size()) {
      c = table.pairs[(b - 0x80) * 256 + static_cast<Byte>(bytes[i + 1])];
      ++i;
    }
    if (c == 0 && b != 0) return std::nullopt;
    p[n++] = c;
  }
  out.truncate(n);
  return out;
}

const std::array<char16_t, 128>& highCharacters(const CodePage& page) {
  static constexpr std::array<char16_t, 128> kNone{};
  return page.width == Width::kSingleByte ? tableOf(page).single : kNone;
}

}  // namespace orv::text

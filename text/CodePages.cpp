#include "text/CodePages.h"

#include <iconv.h>

#include <array>
#include <cstddef>
#include <mutex>
#include <vector>

namespace orv::text {
namespace {

using Byte = unsigned char;

// glibc's names; "GB18030" decodes GBK and GB 2312 too, "CP950" is Big5 with Microsoft's
// additions.
const char* iconvName(CodePage page) {
  switch (page) {
    case CodePage::kJapanese:
      return "CP932";
    case CodePage::kKorean:
      return "CP949";
    case CodePage::kSimplifiedChinese:
      return "GB18030";
    case CodePage::kTraditionalChinese:
      return "CP950";
    case CodePage::kCyrillic:
      return "CP1251";
    case CodePage::kCentralEuropean:
      return "CP1250";
  }
  return "";
}

bool isSingleByte(CodePage page) {
  return page == CodePage::kCyrillic || page == CodePage::kCentralEuropean;
}

// The converter of `page` for this thread, reset; nullptr when the system has none.
iconv_t converter(CodePage page) {
  thread_local std::array<iconv_t, 6> handles = [] {
    std::array<iconv_t, 6> h;
    h.fill(reinterpret_cast<iconv_t>(-1));
    return h;
  }();
  iconv_t& cd = handles[static_cast<int>(page)];
  if (cd == reinterpret_cast<iconv_t>(-1)) cd = iconv_open("UTF-16LE", iconvName(page));
  if (cd == reinterpret_cast<iconv_t>(-1)) return nullptr;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  return cd;
}

// Decodes as much of `in` (`size` bytes) as is valid into `out`, which has room for
// `size` code units. Returns the bytes used; the code units written go to `written`.
size_t iconvDecode(CodePage page, const char* in, size_t size, char16_t* out, size_t& written) {
  written = 0;
  iconv_t cd = converter(page);
  if (cd == nullptr) return 0;
  char* inPtr = const_cast<char*>(in);
  size_t inLeft = size;
  char* outPtr = reinterpret_cast<char*>(out);
  size_t outLeft = size * sizeof(char16_t);
  iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  written = size - outLeft / sizeof(char16_t);
  return size - inLeft;
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
void fillRow(CodePage page, int lead, char16_t* row) {
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

CharacterTable makeTable(CodePage page) {
  CharacterTable table;
  for (int b = 0x80; b <= 0xFF; ++b) {
    const char c = static_cast<char>(b);
    char16_t out[1];
    size_t written = 0;
    if (iconvDecode(page, &c, 1, out, written) == 1 && written == 1)
      table.single[b - 0x80] = out[0];
  }
  if (isSingleByte(page)) return table;
  table.pairs.assign(128 * 256, 0);
  for (int lead = 0x81; lead <= 0xFE; ++lead)
    fillRow(page, lead, &table.pairs[(lead - 0x80) * 256]);
  return table;
}

// The table of `page`, made when first needed.
const CharacterTable& tableOf(CodePage page) {
  constexpr int kPages = 6;
  static std::array<std::once_flag, kPages> made;
  static std::array<CharacterTable, kPages> tables;
  const int p = static_cast<int>(page);
  std::call_once(made[p], [&] { tables[p] = makeTable(page); });
  return tables[p];
}

// GB18030's four-byte characters, which no table holds: iconv decodes the whole text.
bool hasFourByteSequence(CodePage page, QByteArrayView bytes) {
  if (page != CodePage::kSimplifiedChinese) return false;
  for (qsizetype i = 0; i + 1 < bytes.size(); ++i) {
    if (static_cast<Byte>(bytes[i]) >= 0x81 && bytes[i + 1] >= '0' && bytes[i + 1] <= '9') {
      return true;
    }
  }
  return false;
}

}  // namespace

std::optional<QString> decodeStrict(CodePage page, QByteArrayView bytes) {
  if (hasFourByteSequence(page, bytes)) {
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

char16_t highCharacter(CodePage page, unsigned char b) {
  if (b < 0x80) return b;
  return isSingleByte(page) ? tableOf(page).single[b - 0x80] : 0;
}

}  // namespace orv::text

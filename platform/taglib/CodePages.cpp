#include "platform/taglib/CodePages.h"

#include <iconv.h>

#include <array>
#include <cstddef>

namespace orv::platform {
namespace {

// glibc's names; "GB18030" decodes GBK and GB 2312 too, "CP950" is Big5 with Microsoft's
// additions.
const char* iconvName(CodePage page) {
  switch (page) {
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

constexpr int kPages = 5;

// One converter per code page and thread, opened on first use.
class Decoders {
 public:
  Decoders() { handles_.fill(kClosed); }
  ~Decoders() {
    for (iconv_t cd : handles_) {
      if (cd != kClosed) iconv_close(cd);
    }
  }
  Decoders(const Decoders&) = delete;
  Decoders& operator=(const Decoders&) = delete;

  // The converter of `page`, reset; nullptr when the system has none.
  iconv_t get(CodePage page) {
    iconv_t& cd = handles_[static_cast<int>(page)];
    if (cd == kClosed) cd = iconv_open("UTF-16LE", iconvName(page));
    if (cd == kClosed) return nullptr;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    return cd;
  }

 private:
  static inline const iconv_t kClosed = reinterpret_cast<iconv_t>(-1);
  std::array<iconv_t, kPages> handles_;
};

bool inRange(unsigned char b, unsigned char low, unsigned char high) {
  return b >= low && b <= high;
}

// Whether the lead and trail bytes of `bytes` fit a double-byte code page's shape: a quick
// way to leave most texts of other code pages to iconv unasked.
bool hasDoubleByteShape(CodePage page, QByteArrayView bytes) {
  if (page == CodePage::kCyrillic || page == CodePage::kCentralEuropean) return true;
  const auto at = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
  for (qsizetype i = 0; i < bytes.size();) {
    const unsigned char b = at(i);
    if (b < 0x80 || (b == 0x80 && page == CodePage::kTraditionalChinese)) {
      ++i;
      continue;
    }
    if (b == 0x80 || b == 0xFF || i + 1 == bytes.size()) return false;
    const unsigned char t = at(i + 1);
    bool fits = false;
    switch (page) {
      case CodePage::kKorean:
        fits = inRange(t, 0x41, 0x5A) || inRange(t, 0x61, 0x7A) || inRange(t, 0x81, 0xFE);
        break;
      case CodePage::kSimplifiedChinese:
        if (inRange(t, 0x30, 0x39)) {  // four bytes
          if (i + 3 >= bytes.size() || !inRange(at(i + 2), 0x81, 0xFE) ||
              !inRange(at(i + 3), 0x30, 0x39)) {
            return false;
          }
          i += 4;
          continue;
        }
        fits = inRange(t, 0x40, 0x7E) || inRange(t, 0x80, 0xFE);
        break;
      case CodePage::kTraditionalChinese:
        fits = inRange(t, 0x40, 0x7E) || inRange(t, 0xA1, 0xFE);
        break;
      default:
        break;
    }
    if (!fits) return false;
    i += 2;
  }
  return true;
}

}  // namespace

std::optional<QString> decodeStrict(CodePage page, QByteArrayView bytes) {
  if (!hasDoubleByteShape(page, bytes)) return std::nullopt;
  thread_local Decoders decoders;
  iconv_t cd = decoders.get(page);
  if (cd == nullptr) return std::nullopt;
  // Never more UTF-16 code units than bytes: a four-byte GB18030 character is at most a
  // surrogate pair.
  QString out(bytes.size(), Qt::Uninitialized);
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = static_cast<size_t>(bytes.size());
  char* outPtr = reinterpret_cast<char*>(out.data());
  size_t outLeft = static_cast<size_t>(bytes.size()) * sizeof(char16_t);
  if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLeft != 0) {
    return std::nullopt;
  }
  out.resize(bytes.size() - static_cast<qsizetype>(outLeft / sizeof(char16_t)));
  return out;
}

char16_t highCharacter(CodePage page, unsigned char b) {
  using Half = std::array<char16_t, 128>;
  const auto make = [](CodePage p) {
    Half half{};
    for (int i = 0; i < 128; ++i) {
      const char c = static_cast<char>(0x80 + i);
      if (auto text = decodeStrict(p, QByteArrayView(&c, 1)); text && text->size() == 1) {
        half[i] = text->at(0).unicode();
      }
    }
    return half;
  };
  static const Half cyrillic = make(CodePage::kCyrillic);
  static const Half central = make(CodePage::kCentralEuropean);
  if (b < 0x80) return b;
  if (page == CodePage::kCyrillic) return cyrillic[b - 0x80];
  if (page == CodePage::kCentralEuropean) return central[b - 0x80];
  return 0;
}

}  // namespace orv::platform

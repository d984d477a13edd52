#include "text/JapaneseWeights.h"

#include "text/Bytes.h"

#include <cstdint>

namespace orv::text {
namespace {

// What a CP932 character is, as far as the weighing cares.
enum class J : std::uint8_t {
  kKana,
  kFullWidth,  // full-width forms, CJK punctuation and symbols
  kKanji1,
  kKanji2,      // level-2 kanji, the IBM extensions and their NEC-selected copies
  kNecSpecial,  // NEC's row 13: ① Ⅱ № ㈱ ㌔ …
  kHalfWidth,
  kUserDefined,
  kOther,  // Greek, Cyrillic, box drawing
};

bool isLeadByte(Byte b) {
  return (b >= 0x81 && b <= 0x84) || (b >= 0x87 && b <= 0x9F) || (b >= 0xE0 && b <= 0xEA) ||
         b == 0xED || b == 0xEE || (b >= 0xF0 && b <= 0xFC);
}

bool isTrailByte(Byte b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

J classifyDoubleByte(Byte lead, Byte trail) {
  const unsigned code = unsigned(lead) << 8 | trail;
  if (lead == 0x81) {
    if (code == 0x815B || (code >= 0x8152 && code <= 0x8155)) return J::kKana;  // ー ヽヾゝゞ
    if (code >= 0x8158 && code <= 0x815A) return J::kKanji1;                    // 々 〆 〇
    return J::kFullWidth;
  }
  if (lead == 0x82) return code >= 0x829F ? J::kKana : J::kFullWidth;
  if (lead == 0x83) return code <= 0x8396 ? J::kKana : J::kOther;
  if (lead == 0x84) return J::kOther;
  if (lead == 0x87) return J::kNecSpecial;
  if (lead == 0xED || lead == 0xEE || lead >= 0xFA) return J::kKanji2;
  if (lead >= 0xF0) return J::kUserDefined;
  if (code >= 0x889F && code <= 0x9872) return J::kKanji1;
  if (code >= 0x989F) return J::kKanji2;
  return J::kOther;
}

// One run of characters outside ASCII in the CP932 reading.
class JapaneseRun {
 public:
  void add(J kind) {
    if (length_++ == 0) first_ = kind;
    static constexpr int kInRun[] = {3, 2, 3, 2, 2, 1, -4, 1};
    weight_ += kInRun[static_cast<int>(kind)];
    strong_ = strong_ || kind == J::kKana || kind == J::kFullWidth || kind == J::kKanji1 ||
              kind == J::kNecSpecial;
  }
  bool empty() const { return length_ == 0; }

  int weight(bool gluedBefore, bool gluedAfter) const {
    const bool glued = gluedBefore || gluedAfter;
    if (length_ == 1) {
      switch (first_) {
        case J::kKanji1:
          return glued ? 1 : 2;
        case J::kKanji2:
          return glued ? -2 : 1;
        case J::kNecSpecial:
          return glued ? -2 : 2;
        case J::kOther:
          return glued ? 0 : 1;
        case J::kHalfWidth:
          return glued ? -2 : 0;
        default:
          return weight_;
      }
    }
    return weight_ - (!strong_ && gluedBefore && gluedAfter ? 3 : 0);
  }

 private:
  int length_ = 0;
  int weight_ = 0;
  J first_ = J::kOther;
  bool strong_ = false;
};

}  // namespace

JapaneseWeight weighCp932(const FieldBytes& field) {
  const QByteArrayView s = field.bytes;
  JapaneseWeight reading;
  JapaneseRun run;
  bool gluedBefore = false;
  const auto endRun = [&](bool gluedAfter) {
    if (!run.empty()) reading.weight += run.weight(gluedBefore, gluedAfter);
    run = JapaneseRun();
  };
  for (qsizetype i = 0; i < s.size();) {
    const Byte b = byteAt(s, i);
    if (b < 0x80) {
      endRun(isAsciiLetter(b));
      gluedBefore = isAsciiLetter(b);
      ++i;
    } else if (b >= 0xA1 && b <= 0xDF) {
      run.add(J::kHalfWidth);
      ++i;
    } else if (!isLeadByte(b)) {
      return {};
    } else if (i + 1 == s.size()) {
      if (!field.mayBeCut) return {};
      reading.cut = true;
      reading.weight -= 1;
      break;
    } else if (!isTrailByte(byteAt(s, i + 1))) {
      return {};
    } else {
      run.add(classifyDoubleByte(b, byteAt(s, i + 1)));
      i += 2;
    }
  }
  endRun(false);
  reading.valid = true;
  return reading;
}

}  // namespace orv::text

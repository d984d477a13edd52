// The play-time conversion against the plain second one of ReferencePlayTime: for every
// text, the same milliseconds or the same error number.
//
// Input: a flag byte, then the text's bytes. Flag bit 0: the bytes are UTF-16 code units
// (else UTF-8). Bits 1 to 3 = 1: spaces are put before the text until it is 32,759 +
// (flag >> 4) characters long, so that the length limit of 32,767 is reached from both
// sides (by one input in eight: long texts are slow).

#include "core/RuntimeError.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/ReferencePlayTime.h"
#include "output/PlayTime.h"

#include <cstdint>

using namespace orv;
using namespace orv::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const QByteArrayView bytes(data + 1, static_cast<qsizetype>(size - 1));
  const int flag = data[0];
  QString text = textOfBytes(bytes, (flag & 1) != 0);
  if ((flag & 0xE) == 2) text = text.rightJustified(32759 + (flag >> 4), u' ');

  PlayTimeOutcome actual;
  try {
    actual = {false, PlayTimeToMilliseconds(text).value()};
  } catch (const RuntimeError& e) {
    actual = {true, e.number()};
  }
  const PlayTimeOutcome expected = referencePlayTime(text);
  FUZZ_CHECK(actual == expected,
             QStringLiteral("text %1 (%2 characters): converted %3, expected %4")
                 .arg(shown(QStringView(text).right(200)), QString::number(text.size()),
                      describe(actual), describe(expected)));
  return 0;
}

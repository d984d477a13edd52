#include "output/PlayTime.h"
#include "platform/RuntimeError.h"

namespace orv {

Int32 PlayTimeToMilliseconds(QString) { throw RuntimeError(1, QStringLiteral("未実装")); }

}  // namespace orv

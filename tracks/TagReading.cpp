#include "tracks/TagReading.h"
#include "platform/RuntimeError.h"

namespace orv {

void ReadTrackTags(TrackTable&, Int16, platform::DetailSourceFactory&) { throw RuntimeError(1, QStringLiteral("未実装")); }

}  // namespace orv

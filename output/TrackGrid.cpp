#include "output/TrackGrid.h"
#include "platform/RuntimeError.h"

namespace orv {

void SetUpTrackGrid(platform::Grid&, Int16) { throw RuntimeError(1, QStringLiteral("未実装")); }
void FillTrackGrid(platform::Grid&, platform::Label&, platform::Label&, const TrackTable&, Int16) { throw RuntimeError(1, QStringLiteral("未実装")); }

}  // namespace orv

#include "output/AlbumPage.h"
#include "platform/RuntimeError.h"

namespace orv {

void WriteAlbumHtml(const TrackTable&, Int16, const QString&, platform::FileSystem&) { throw RuntimeError(1, QStringLiteral("未実装")); }

}  // namespace orv

#include "tracks/FolderScan.h"
#include "platform/RuntimeError.h"

namespace orv {

void ScanFolder(Int16, Int16, Int16&, const QString&, ScanContext&) { throw RuntimeError(1, QStringLiteral("未実装")); }

}  // namespace orv

#include "tracks/FileSelection.h"
#include "platform/RuntimeError.h"

namespace orv {

QString SelectMp3File(platform::OpenFileDialog&) { throw RuntimeError(1, QStringLiteral("未実装")); }
void DeriveAlbumFolder(const QString&, QString&) { throw RuntimeError(1, QStringLiteral("未実装")); }

}  // namespace orv

#include "platform/taglib/TagLibDetailSource.h"

#include "platform/RuntimeError.h"

namespace orv::platform {

std::unique_ptr<DetailSource> TagLibDetailSourceFactory::create() { throw RuntimeError(1, QStringLiteral("未実装")); }

}  // namespace orv::platform

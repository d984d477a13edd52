#pragma once

#include "platform/PictureConverter.h"

namespace orv::platform {

// Pictures read and written by Qt's image readers and writers (Qt Gui, no display).
// What the readers say about a broken picture (libjpeg's and libpng's warnings) stays
// unsaid: the picture is refused, and that is all the caller needs to know. Other
// messages of Qt's pass as before.
class QtPictureConverter final : public PictureConverter {
 public:
  QtPictureConverter();
  std::optional<QByteArray> toJpeg(const QByteArray& picture) override;
  bool keepsAsItIs(QByteArrayView start) override;
  std::optional<SmallPictures> smallPictures(const QByteArray& picture, int longestSide) override;
};

}  // namespace orv::platform

// Pictures as covers: a JPEG kept byte for byte, any other format converted, anything
// that is no picture refused. No display.

#include "platform/qtgui/QtPictureConverter.h"
#include "tests/support/Pictures.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

TEST(QtPictureConverter, KeepsAJpegAndConvertsEveryOtherPicture) {
  const QImage picture = quarters();
  const QByteArray jpeg = imageFile(picture, "jpeg");
  const QByteArray png = imageFile(picture, "png");
  // Half of it transparent: that half comes out white, not black.
  QImage seeThrough = picture.convertToFormat(QImage::Format_ARGB32);
  {
    QPainter painter(&seeThrough);
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.fillRect(0, 32, 64, 32, Qt::transparent);
  }
  QImage onWhite = picture;
  QPainter(&onWhite).fillRect(0, 32, 64, 32, Qt::white);

  const struct {
    const char* what;
    QByteArray bytes;
    QImage looks;  // null: the bytes themselves
  } converted[] = {
      {"a JPEG", jpeg, {}},
      {"a JPEG with text after its end", jpeg + "trailing", {}},
      {"a PNG", png, picture},
      {"a BMP", imageFile(picture, "bmp"), picture},
      {"a PNG with transparent parts", imageFile(seeThrough, "png"), onWhite},
  };
  platform::QtPictureConverter converter;
  for (const auto& c : converted) {
    SCOPED_TRACE(c.what);
    const std::optional<QByteArray> out = converter.toJpeg(c.bytes);
    ASSERT_TRUE(out.has_value());
    EXPECT_EQ(converter.keepsAsItIs(c.bytes), c.looks.isNull());
    if (c.looks.isNull()) {
      EXPECT_EQ(*out, c.bytes);
    } else {
      EXPECT_TRUE(out->startsWith("\xFF\xD8\xFF"));
      EXPECT_TRUE(looksLike(*out, c.looks));
    }
  }

  QByteArray brokenJpeg = jpeg;
  brokenJpeg.replace(4, brokenJpeg.size() - 4, QByteArray(600, '\x01'));
  const struct {
    const char* what;
    QByteArray bytes;
  } refused[] = {
      {"nothing", {}},
      {"text", "not a picture at all"},
      {"a JPEG's first bytes before noise", brokenJpeg},
      {"a JPEG cut off in its header", jpeg.left(jpeg.indexOf("\xFF\xC0") + 6)},
      {"half a PNG", png.left(png.size() / 2)},
  };
  for (const auto& c : refused) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(converter.toJpeg(c.bytes), std::nullopt);
    EXPECT_FALSE(converter.keepsAsItIs(c.bytes));
  }
  // The header alone tells, as far as the scan.
  EXPECT_TRUE(converter.keepsAsItIs(QByteArrayView(jpeg).first(jpeg.indexOf("\xFF\xDA") + 14)));
}

}  // namespace
}  // namespace orv::test

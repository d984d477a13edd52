// Pictures as covers: a JPEG kept byte for byte, any other format converted, anything
// that is no picture refused; and their small copies. No display.

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

// A picture made small: at most 320 px on its longest side and a doubled copy of at most
// 640, never enlarged, the proportions kept, large JPEGs read reduced by libjpeg.
TEST(QtPictureConverter, MakesSmallCopiesOfEveryPicture) {
  const auto sized = [](int width, int height) {
    return quarters(std::max(width, height)).scaled(width, height);
  };
  QImage seeThrough = quarters(400).convertToFormat(QImage::Format_ARGB32);
  seeThrough.fill(Qt::transparent);
  const struct {
    const char* what;
    QByteArray bytes;
    QImage normal;   // what the copy looks like
    QImage doubled;  // null: no doubled copy
  } cases[] = {
      {"a 1500 px JPEG, read at half", imageFile(quarters(1500), "jpeg"), quarters(320),
       quarters(640)},
      {"a 3000 × 1500 JPEG, read at a quarter", imageFile(sized(3000, 1500), "jpeg"),
       sized(320, 160), sized(640, 320)},
      {"a 500 px PNG", imageFile(quarters(500), "png"), quarters(320), quarters(500)},
      {"a 200 px JPEG, never enlarged", imageFile(quarters(200), "jpeg"), quarters(200), {}},
      {"a grey JPEG", imageFile(quarters(700).convertToFormat(QImage::Format_Grayscale8), "jpeg"),
       quarters(320)
           .convertToFormat(QImage::Format_Grayscale8)
           .convertToFormat(QImage::Format_RGB32),
       quarters(640)
           .convertToFormat(QImage::Format_Grayscale8)
           .convertToFormat(QImage::Format_RGB32)},
      {"a transparent PNG, on white", imageFile(seeThrough, "png"),
       [] {
         QImage white(320, 320, QImage::Format_RGB32);
         white.fill(Qt::white);
         return white;
       }(),
       [] {
         QImage white(400, 400, QImage::Format_RGB32);
         white.fill(Qt::white);
         return white;
       }()},
  };
  platform::QtPictureConverter converter;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::optional<platform::SmallPictures> small = converter.smallPictures(c.bytes, 320);
    ASSERT_TRUE(small.has_value());
    EXPECT_TRUE(looksLike(small->normal, c.normal));
    if (c.doubled.isNull()) {
      EXPECT_TRUE(small->doubled.isEmpty());
    } else {
      EXPECT_TRUE(looksLike(small->doubled, c.doubled));
    }
  }
  QByteArray broken = imageFile(quarters(1500), "jpeg");
  broken.truncate(broken.indexOf("\xFF\xC0") + 6);
  EXPECT_EQ(converter.smallPictures("not a picture", 320), std::nullopt);
  EXPECT_EQ(converter.smallPictures(broken, 320), std::nullopt);
}

}  // namespace
}  // namespace orv::test

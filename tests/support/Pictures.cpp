#include "tests/support/Pictures.h"

#include <QBuffer>
#include <QColor>
#include <QImageWriter>
#include <QPainter>

#include <cstdlib>
#include <stdexcept>

namespace orv::test {

QImage quarters(int side) {
  QImage image(side, side, QImage::Format_RGB32);
  const int half = side / 2;
  QPainter painter(&image);
  painter.fillRect(0, 0, half, half, Qt::red);
  painter.fillRect(half, 0, side - half, half, Qt::green);
  painter.fillRect(0, half, half, side - half, Qt::blue);
  painter.fillRect(half, half, side - half, side - half, Qt::yellow);
  return image;
}

QByteArray imageFile(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  if (!writer.write(image))
    throw std::runtime_error("no image file: " + writer.errorString().toStdString());
  return bytes;
}

::testing::AssertionResult looksLike(const QByteArray& file, const QImage& expected,
                                     int tolerance) {
  const QImage got = QImage::fromData(file).convertToFormat(QImage::Format_RGB32);
  if (got.isNull()) return ::testing::AssertionFailure() << "no picture";
  if (got.size() != expected.size()) {
    return ::testing::AssertionFailure()
           << "size " << got.width() << "x" << got.height() << ", not " << expected.width() << "x"
           << expected.height();
  }
  const QImage want = expected.convertToFormat(QImage::Format_RGB32);
  qint64 difference = 0;
  for (int y = 0; y < want.height(); ++y) {
    for (int x = 0; x < want.width(); ++x) {
      const QRgb a = got.pixel(x, y);
      const QRgb b = want.pixel(x, y);
      difference += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                    std::abs(qBlue(a) - qBlue(b));
    }
  }
  const double average = double(difference) / (3.0 * want.width() * want.height());
  if (average > tolerance) {
    return ::testing::AssertionFailure() << "colours differ by " << average << " on average";
  }
  return ::testing::AssertionSuccess();
}

}  // namespace orv::test

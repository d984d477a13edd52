#include "platform/qtgui/QtPictureConverter.h"

#include "core/RuntimeError.h"
#include "platform/qtgui/JpegCodec.h"
#include "platform/qtgui/JpegHeader.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

#include <algorithm>
#include <mutex>

namespace orv::platform {
namespace {

constexpr int kJpegQuality = 90;

// The small copies' quality: at 85 a face's skin shows no blocks and small lettering no
// ringing at the sizes a card draws, where 75 starts to smear both; above 90 the files
// grow by half again for nothing one sees. The copy for ordinary screens keeps its colour
// whole, as coloured lettering needs; the doubled one, whose pixels are half as large,
// halves it (encodeJpeg). A 320 px cover comes to 20 to 40 KB.
constexpr int kSmallJpegQuality = 85;

// Without Qt's JPEG plugin every cover would be refused as unreadable and the albums
// would get the placeholder without a word: a broken installation, said as such.
RuntimeError noJpegSupport() {
  return RuntimeError(ErrorCode::kInternalError,
                      QStringLiteral("JPEG の画像を扱えません。Qt の画像プラグイン（qjpeg）が"
                                     "見つかりません。"));
}

// The picture on white, without an alpha channel: JPEG has none, and a transparent
// background would otherwise turn black.
QImage opaque(const QImage& image) {
  if (!image.hasAlphaChannel()) return image;
  QImage ground(image.size(), QImage::Format_RGB32);
  ground.fill(Qt::white);
  QPainter painter(&ground);
  painter.drawImage(0, 0, image);
  return ground;
}

// Set while this thread reads or writes a picture.
thread_local bool handlingPicture = false;
// Whatever handled messages before: Qt's own, unless someone else installed one.
QtMessageHandler otherHandler = nullptr;

void quietWhileHandlingPictures(QtMsgType type, const QMessageLogContext& context,
                                const QString& text) {
  if (handlingPicture && type != QtFatalMsg) return;
  otherHandler(type, context, text);
}

class HandlingPicture {
 public:
  HandlingPicture() { handlingPicture = true; }
  ~HandlingPicture() { handlingPicture = false; }
};

// A JPEG is known by its first two bytes, as Qt's own JPEG reader knows it. Decoding a
// whole JPEG costs a hundred times and more what its header does, which a library of
// hundreds of albums would feel (18 ms for a 30 KB cover, 270 ms for a 1 MB one). A
// header that reads marks a JPEG that browsers draw.
bool isJpeg(QByteArrayView bytes) { return bytes.startsWith("\xFF\xD8"); }

// `picture` decoded, a JPEG reduced as it is read so that its longest side stays at least
// `atLeast`; any other format, or a JPEG libjpeg refuses, whole by Qt's readers.
QImage decodeForSmallPictures(const QByteArray& picture, int atLeast) {
  if (isJpeg(picture)) {
    if (QImage image = decodeJpegReduced(picture, atLeast); !image.isNull()) return image;
  }
  QBuffer in;
  in.setData(picture);
  in.open(QIODevice::ReadOnly);
  QImageReader reader(&in);
  return reader.read();
}

// `image` no larger than `longestSide` on its longest side, its proportions kept.
QImage fitted(const QImage& image, int longestSide) {
  if (std::max(image.width(), image.height()) <= longestSide) return image;
  return image.scaled(longestSide, longestSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

QtPictureConverter::QtPictureConverter() {
  static std::once_flag installed;
  std::call_once(installed,
                 [] { otherHandler = qInstallMessageHandler(quietWhileHandlingPictures); });
}

bool QtPictureConverter::keepsAsItIs(QByteArrayView start) {
  return isJpeg(start) && jpegHeaderReads(start);
}

std::optional<QByteArray> QtPictureConverter::toJpeg(const QByteArray& picture) {
  const HandlingPicture quiet;
  static const bool jpegSupported = QImageReader::supportedImageFormats().contains("jpeg") &&
                                    QImageWriter::supportedImageFormats().contains("jpeg");
  if (!jpegSupported) throw noJpegSupport();

  // The format comes from the bytes, whatever the file's name says.
  if (isJpeg(picture)) {
    if (!jpegHeaderReads(picture)) return std::nullopt;
    return picture;
  }
  QBuffer in;
  in.setData(picture);
  in.open(QIODevice::ReadOnly);
  QImageReader reader(&in);
  const QImage image = reader.read();
  if (image.isNull()) return std::nullopt;

  QByteArray jpeg;
  QBuffer out(&jpeg);
  out.open(QIODevice::WriteOnly);
  QImageWriter writer(&out, "jpeg");
  writer.setQuality(kJpegQuality);
  if (!writer.write(opaque(image))) {
    throw RuntimeError(
        ErrorCode::kInternalError,
        QStringLiteral("画像を JPEG に変換できません。（%1）").arg(writer.errorString()));
  }
  return jpeg;
}

std::optional<SmallPictures> QtPictureConverter::smallPictures(const QByteArray& picture,
                                                               int longestSide) {
  const HandlingPicture quiet;
  const QImage image = decodeForSmallPictures(picture, 2 * longestSide);
  if (image.isNull()) return std::nullopt;
  const QImage flat = opaque(image).convertToFormat(QImage::Format_RGB32);
  const QImage doubled = fitted(flat, 2 * longestSide);
  const QImage normal = fitted(doubled, longestSide);
  SmallPictures small{.normal = encodeJpeg(normal, kSmallJpegQuality, true), .doubled = {}};
  if (doubled.size() != normal.size()) {
    small.doubled = encodeJpeg(doubled, kSmallJpegQuality, false);
  }
  if (small.normal.isEmpty() || (doubled.size() != normal.size() && small.doubled.isEmpty())) {
    throw RuntimeError(ErrorCode::kInternalError,
                       QStringLiteral("表紙の縮小版を JPEG にできません。"));
  }
  return small;
}

}  // namespace orv::platform

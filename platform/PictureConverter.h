#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace orv::platform {

// Pictures turned into JPEG files, the one format every browser and every older player
// shows as an album's cover.
class PictureConverter {
 public:
  virtual ~PictureConverter() = default;

  // `picture`, the bytes of an image file, as the bytes of a JPEG file. A JPEG is given
  // back byte for byte, never encoded again, once its header reads as an image's; any
  // other format that can be decoded (PNG, GIF, BMP, …) is converted at quality 90,
  // transparent parts laid on white. nullopt when `picture` is no image that can be read:
  // not an image, a format that is not known, a broken image, one too large to decode.
  // Safe to call from several threads at once.
  //
  //   converter.toJpeg(readFile("cover.jpg"))   // the same bytes
  //   converter.toJpeg(readFile("cover.png"))   // a JPEG of the same picture
  //   converter.toJpeg("not a picture")         // nullopt
  virtual std::optional<QByteArray> toJpeg(const QByteArray& picture) = 0;

  // Whether toJpeg gives back as it is a file that begins with `start`: a JPEG whose
  // header `start` holds whole, and which reads. False for anything else, a JPEG whose
  // header runs on past `start` too: the whole file tells. A cover need then only be
  // read whole to be copied. Safe to call from several threads at once.
  //
  //   converter.keepsAsItIs(first8KB("cover.jpg"))   // true
  //   converter.keepsAsItIs(first8KB("cover.png"))   // false: toJpeg(whole file) tells
  virtual bool keepsAsItIs(QByteArrayView start) = 0;
};

}  // namespace orv::platform

#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace orv::platform {

// A picture made small for a list of many, as JPEG files: `normal` at most the side asked
// for on its longest side, `doubled` at most twice that for screens of twice the
// density, empty where the picture itself is no larger than `normal`.
struct SmallPictures {
  QByteArray normal;
  QByteArray doubled;
};

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

  // `picture`, the bytes of an image file, made small (SmallPictures) for `longestSide`
  // pixels: never enlarged, its proportions kept, transparent parts laid on white, at a
  // quality that keeps faces and lettering clean. A large JPEG is decoded already
  // reduced, at the smallest power-of-two fraction that still gives twice `longestSide`,
  // for a fraction of a whole decode's work. nullopt when `picture` is no image that can
  // be read (as toJpeg). Safe to call from several threads at once.
  //
  //   converter.smallPictures(readFile("jacket.jpg"), 320)   // 1500 px: 320 and 640 px
  //   converter.smallPictures(readFile("small.png"), 320)    // 200 px: 200 px, no doubled
  virtual std::optional<SmallPictures> smallPictures(const QByteArray& picture,
                                                     int longestSide) = 0;
};

}  // namespace orv::platform

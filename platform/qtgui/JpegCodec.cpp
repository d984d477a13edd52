#include "platform/qtgui/JpegCodec.h"

#include "platform/qtgui/QuietJpegErrors.h"

#include <algorithm>
#include <cstdlib>

namespace orv::platform {
namespace {

// The largest of 8, 4 and 2 that leaves `longest` at least `atLeast`; 1 when none does.
unsigned reduction(unsigned longest, int atLeast) {
  unsigned denominator = 8;
  while (denominator > 1 && longest / denominator < static_cast<unsigned>(atLeast)) {
    denominator /= 2;
  }
  return denominator;
}

// Only plain data and objects made before the jump's mark live in these frames, so that
// the jump skips no destructor.
bool decodeInto(jpeg_decompress_struct& info, QuietJpegErrors& errors, QByteArrayView jpeg,
                int atLeast, QImage& image) {
  if (setjmp(errors.failed) != 0) return false;
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(jpeg.data()),
               static_cast<unsigned long>(jpeg.size()));
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return false;
  if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK) return false;
  info.scale_num = 1;
  info.scale_denom = reduction(std::max(info.image_width, info.image_height), atLeast);
  info.out_color_space = JCS_EXT_BGRX;  // QImage's RGB32, byte by byte on little-endian
  jpeg_start_decompress(&info);
  image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                 QImage::Format_RGB32);
  if (image.isNull()) return false;
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = image.scanLine(static_cast<int>(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  return true;
}

bool encodeInto(jpeg_compress_struct& info, QuietJpegErrors& errors, const QImage& image,
                int quality, bool fullColour, unsigned char*& out, unsigned long& size) {
  if (setjmp(errors.failed) != 0) return false;
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &out, &size);
  info.image_width = static_cast<JDIMENSION>(image.width());
  info.image_height = static_cast<JDIMENSION>(image.height());
  info.input_components = 4;
  info.in_color_space = JCS_EXT_BGRX;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  if (fullColour) {
    info.comp_info[0].h_samp_factor = info.comp_info[0].v_samp_factor = 1;
  }
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    // libjpeg reads the rows only; its interface just doesn't say so.
    auto* row = const_cast<JSAMPLE*>(image.constScanLine(static_cast<int>(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  return true;
}

}  // namespace

QImage decodeJpegReduced(QByteArrayView jpeg, int atLeast) {
  static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "RGB32 is BGRX in memory on little-endian only");
  jpeg_decompress_struct info{};
  QuietJpegErrors errors{};
  info.err = quietly(errors);
  QImage image;
  const bool decoded = decodeInto(info, errors, jpeg, atLeast, image);
  jpeg_destroy_decompress(&info);
  return decoded ? image : QImage();
}

QByteArray encodeJpeg(const QImage& image, int quality, bool fullColour) {
  jpeg_compress_struct info{};
  QuietJpegErrors errors{};
  info.err = quietly(errors);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  const bool encoded = encodeInto(info, errors, image, quality, fullColour, out, size);
  jpeg_destroy_compress(&info);
  QByteArray jpeg =
      encoded ? QByteArray(reinterpret_cast<const char*>(out), static_cast<qsizetype>(size))
              : QByteArray();
  std::free(out);
  return jpeg;
}

}  // namespace orv::platform

#include "platform/qtgui/JpegHeader.h"

#include "platform/qtgui/QuietJpegErrors.h"

namespace orv::platform {
namespace {

// One decompressor for each thread, made at its first header and then reset after each:
// making one allocates its memory pools, which costs more than reading a header.
class HeaderReader {
 public:
  HeaderReader() { info_.err = quietly(errors_); }
  HeaderReader(const HeaderReader&) = delete;
  HeaderReader& operator=(const HeaderReader&) = delete;
  ~HeaderReader() {
    if (made_) jpeg_destroy_decompress(&info_);
  }

  // Only plain data lives in this frame, so that the jump skips no destructor.
  bool reads(QByteArrayView file) {
    if (setjmp(errors_.failed) != 0) {
      if (making_) {
        // Out of memory while it was made: what there is of it goes, and the next header
        // makes it anew.
        jpeg_destroy_decompress(&info_);
        making_ = made_ = false;
      } else {
        jpeg_abort_decompress(&info_);  // idle again, ready for the next header
      }
      return false;
    }
    if (!made_) {
      making_ = true;
      jpeg_create_decompress(&info_);
      making_ = false;
      made_ = true;
    }
    jpeg_mem_src(&info_, reinterpret_cast<const unsigned char*>(file.data()),
                 static_cast<unsigned long>(file.size()));
    const bool reads = jpeg_read_header(&info_, TRUE) == JPEG_HEADER_OK && info_.image_width > 0 &&
                       info_.image_height > 0;
    jpeg_abort_decompress(&info_);
    return reads;
  }

 private:
  jpeg_decompress_struct info_{};
  QuietJpegErrors errors_{};
  bool made_ = false;
  bool making_ = false;
};

}  // namespace

bool jpegHeaderReads(QByteArrayView file) {
  if (file.size() < 2) return false;
  thread_local HeaderReader reader;
  return reader.reads(file);
}

}  // namespace orv::platform

#include "platform/qtgui/JpegHeader.h"

// jpeglib.h needs size_t and FILE declared before it.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <csetjmp>

namespace orv::platform {
namespace {

// libjpeg ends a failed read in error_exit, which must not return: it jumps back out
// of the read. Warnings (a file that ends early, say) are kept quiet; they say no more
// than the result does.
struct QuietErrors {
  jpeg_error_mgr manager;
  std::jmp_buf failed;
};

[[noreturn]] void jumpOut(j_common_ptr info) {
  std::longjmp(reinterpret_cast<QuietErrors*>(info->err)->failed, 1);
}

void ignore(j_common_ptr) {}

}  // namespace

// Only plain data lives in this frame, so that the jump skips no destructor.
bool jpegHeaderReads(QByteArrayView file) {
  if (file.size() < 2) return false;
  jpeg_decompress_struct info;
  QuietErrors errors;
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = jumpOut;
  errors.manager.output_message = ignore;
  if (setjmp(errors.failed) != 0) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(file.data()),
               static_cast<unsigned long>(file.size()));
  const bool reads = jpeg_read_header(&info, TRUE) == JPEG_HEADER_OK && info.image_width > 0 &&
                     info.image_height > 0;
  jpeg_destroy_decompress(&info);
  return reads;
}

}  // namespace orv::platform

#pragma once

// jpeglib.h needs size_t and FILE declared before it.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <csetjmp>

namespace orv::platform {

// libjpeg ends a failure in error_exit, which must not return: it jumps back out to the
// mark set in `failed`. Its warnings (a file that ends early, say) say no more than the
// result does, and are kept quiet.
struct QuietJpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf failed;
};

// Makes `errors` the error manager to give libjpeg: info.err = quietly(errors).
jpeg_error_mgr* quietly(QuietJpegErrors& errors);

}  // namespace orv::platform

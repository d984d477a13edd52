#include "platform/qtgui/QuietJpegErrors.h"

namespace orv::platform {
namespace {

[[noreturn]] void jumpOut(j_common_ptr info) {
  std::longjmp(reinterpret_cast<QuietJpegErrors*>(info->err)->failed, 1);
}

void ignore(j_common_ptr) {}

}  // namespace

jpeg_error_mgr* quietly(QuietJpegErrors& errors) {
  jpeg_error_mgr* manager = jpeg_std_error(&errors.manager);
  manager->error_exit = jumpOut;
  manager->output_message = ignore;
  return manager;
}

}  // namespace orv::platform

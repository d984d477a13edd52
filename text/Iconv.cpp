#include "text/Iconv.h"

#include <string>
#include <utility>
#include <vector>

namespace orv::text {
namespace {

const iconv_t kNone = reinterpret_cast<iconv_t>(-1);

// The converters one thread has opened, by name; kNone where the system has none.
class Decoders {
 public:
  Decoders() = default;
  Decoders(const Decoders&) = delete;
  Decoders& operator=(const Decoders&) = delete;
  ~Decoders() {
    for (const auto& [name, cd] : open_) {
      if (cd != kNone) iconv_close(cd);
    }
  }

  iconv_t of(const char* name) {
    for (const auto& [open, cd] : open_) {
      if (open == name) return cd;
    }
    open_.emplace_back(name, iconv_open("UTF-16LE", name));
    return open_.back().second;
  }

 private:
  std::vector<std::pair<std::string, iconv_t>> open_;
};

}  // namespace

iconv_t utf16Decoder(const char* name) {
  thread_local Decoders decoders;
  iconv_t cd = decoders.of(name);
  if (cd == kNone) return nullptr;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
  return cd;
}

size_t decodeValidPrefix(iconv_t cd, const char* in, size_t size, char16_t* out, size_t& written) {
  char* inPtr = const_cast<char*>(in);
  size_t inLeft = size;
  char* outPtr = reinterpret_cast<char*>(out);
  size_t outLeft = size * sizeof(char16_t);
  iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  written = size - outLeft / sizeof(char16_t);
  return size - inLeft;
}

}  // namespace orv::text

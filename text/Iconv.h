#pragma once

#include <iconv.h>

#include <cstddef>

namespace orv::text {

// glibc's converter from the code page `name` ("CP949") to UTF-16, for this thread and in
// its initial state; nullptr when the system has none. Each thread opens each code page
// once, and closes them when it ends.
//
//   iconv_t cd = utf16Decoder("CP932");   // not nullptr on glibc
//   utf16Decoder("NO-SUCH-CODE") == nullptr
iconv_t utf16Decoder(const char* name);

// Decodes as much of `in` (`size` bytes) as `cd` finds valid into `out`, which has room
// for `size` code units. Returns the bytes used; the code units written go to `written`.
//
//   char16_t out[4];
//   size_t written;
//   decodeValidPrefix(utf16Decoder("CP932"), "\x83\x65\x83", 3, out, written) == 2
//   // written == 1, out[0] == u'テ': the last byte starts a character that isn't there
size_t decodeValidPrefix(iconv_t cd, const char* in, size_t size, char16_t* out, size_t& written);

}  // namespace orv::text

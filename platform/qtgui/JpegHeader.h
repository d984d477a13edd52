#pragma once

#include <QByteArrayView>

namespace orv::platform {

// Whether `file`, the bytes of a file, begins with a JPEG header that reads: the start
// of image, then tables and a frame whose size, components and sampling make sense,
// up to the start of the scan. What follows the header is not looked at, so this is
// no proof that the whole picture decodes, but it is what browsers need to start
// drawing one. Reading the header alone costs a few microseconds, decoding the whole
// picture a hundred times and more.
//
//   jpegHeaderReads(readFile("cover.jpg"))   // true
//   jpegHeaderReads("\xFF\xD8 noise")         // false
bool jpegHeaderReads(QByteArrayView file);

}  // namespace orv::platform

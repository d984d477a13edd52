#pragma once

// Pictures for the cover tests, made and looked at with Qt's own image readers and
// writers.

#include <QByteArray>
#include <QImage>

#include <gtest/gtest.h>

namespace orv::test {

// A square of four coloured quarters (red, green, blue, yellow), `side` pixels wide, so
// that a picture turned round or mixed up shows.
QImage quarters(int side = 64);

// `image` as the bytes of an image file of `format` ("png", "jpeg", "gif", "bmp").
QByteArray imageFile(const QImage& image, const char* format);

// Whether `file` decodes to a picture of `expected`'s size whose colours are those of
// `expected` on average within `tolerance` per channel (room for JPEG's losses).
::testing::AssertionResult looksLike(const QByteArray& file, const QImage& expected,
                                     int tolerance = 6);

}  // namespace orv::test

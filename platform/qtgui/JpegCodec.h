#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

namespace orv::platform {

// `jpeg` decoded by libjpeg already reduced: at the smallest of 1/1, 1/2, 1/4 and 1/8
// whose longest side is still `atLeast` pixels (or whole, when the picture is no larger).
// That spares the inverse transforms and most of the memory, not the reading of every
// coefficient, which is most of a large cover's cost: a 1.5 MB, 1500 px cover takes 13 ms
// whole and 11 ms at 1/8 here, nearly all of it libjpeg's Huffman decoding. An RGB32
// image; a null one for a JPEG libjpeg can't decode to RGB (broken, CMYK), which Qt's own
// reader may still read.
//
//   decodeJpegReduced(readFile("1500px.jpg"), 640).width()   // 750
QImage decodeJpegReduced(QByteArrayView jpeg, int atLeast);

// `image` (RGB32, opaque) as a baseline JPEG file of `quality` (1 to 100), with the
// standard Huffman tables: tables made for the image save 6 to 10 % of a copy's bytes but
// take a second pass over its coefficients, 2 to 3 ms of a cover's 20. `fullColour` keeps
// the colour at the full resolution, so that coloured lettering keeps its edges; without
// it the colour has half the resolution each way (4:2:0), a third smaller and quicker,
// which a picture drawn on a screen of twice the density doesn't show.
//
//   encodeJpeg(image, 85, true)
QByteArray encodeJpeg(const QImage& image, int quality, bool fullColour);

}  // namespace orv::platform

#pragma once

#include "text/EightBitField.h"

#include <QString>

#include <optional>

namespace orv::text {

// The text of `field` when its bytes are pure ASCII, or valid UTF-8 with at least one
// multi-byte sequence (8-bit texts almost never are); nullopt when they are neither, and
// so 8-bit text in some code page. A field that may be cut may end inside a sequence,
// which is dropped.
//
//   asciiOrUtf8({"Bj\xC3\xB6rk"}) == u"Björk"
//   asciiOrUtf8({"Bj\xF6rk"}) == std::nullopt
//   asciiOrUtf8({"\xE6\x9D\xB1\xE4\xBA", true}) == u"東"   // an ID3v1 field cut in 京
std::optional<QString> asciiOrUtf8(const FieldBytes& field);

}  // namespace orv::text

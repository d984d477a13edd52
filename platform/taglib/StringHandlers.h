#pragma once

#include "text/EightBitField.h"
#include "text/TagText.h"

#include <taglib/tbytevector.h>
#include <taglib/tstring.h>

#include <optional>
#include <string>
#include <vector>

namespace orv::platform {

// Makes TagLib read 8-bit tag text (ID3v1 fields, ID3v2 frames marked ISO-8859-1) with
// decodeEightBitText, so Shift-JIS, Windows-1252 and UTF-8 bytes read as their writers
// meant them. TagLib keeps its string handlers process-wide; this installs them once, on
// first call, from any thread, and they stay installed (and alive) until the process
// ends. Call it before opening a file.
//
//   installEightBitStringHandlers();
//   TagLib::MPEG::File file(...);  // file.tag()->title() == u"テスト" for Shift-JIS bytes
void installEightBitStringHandlers();

// The raw bytes of the 8-bit texts that TagLib reads on this thread while one lives, for
// the album to decide how to read them (text/AlbumTexts.h). The handlers above are
// TagLib's only way in, and they serve every file of the process: so while a
// RawEightBitTexts lives, the handlers on its thread keep each value's bytes here and hand
// TagLib a token naming them instead of a text, decoding nothing. TagLib reads a tag
// whole as it is made, on the thread that makes it, and keeps the tokens as the values'
// texts; textOf() turns the text TagLib then gives for a field back into the values'
// bytes. A thread's RawEightBitTexts serve one file's tags at a time; any thread may have
// one (the read-ahead threads do), and threads without one decode as before.
//
//   RawEightBitTexts raw;
//   const TagLib::ID3v1::Tag tag(&file, offset);
//   raw.textOf(tag.title(), text::EightBitField::kId3v1)
//       // a TagText of one EightBitValue: the field's 30 bytes
class RawEightBitTexts {
 public:
  RawEightBitTexts();
  ~RawEightBitTexts();
  RawEightBitTexts(const RawEightBitTexts&) = delete;
  RawEightBitTexts& operator=(const RawEightBitTexts&) = delete;

  // The text TagLib read for one field as a TagText: each token the 8-bit value it names,
  // from a field of kind `field`, and whatever TagLib put between them (the space that
  // joins several values) text. Only for a field that TagLib read as 8-bit text: an ID3v1
  // field, or an ID3v2 frame marked ISO-8859-1. A value with no bytes before its first NUL
  // has no part.
  text::TagText textOf(const TagLib::String& read, text::EightBitField field) const;

  // What the handlers hand TagLib for `bytes`, kept here.
  TagLib::String keep(const TagLib::ByteVector& bytes);

 private:
  // The number of the token at s[i], whose last character s[end] is; none where none is.
  std::optional<std::size_t> tokenAt(const std::wstring& s, std::size_t i, std::size_t& end) const;

  std::vector<TagLib::ByteVector> values_;
  RawEightBitTexts* outer_;
};

}  // namespace orv::platform

#pragma once

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

}  // namespace orv::platform

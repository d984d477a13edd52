#pragma once

#include "platform/taglib/TrackTexts.h"

#include <taglib/tfile.h>

namespace orv::platform {

// Reads the artist, title and album items of the APE tag whose 32-byte footer lies at
// `footer` in `file`, each value kept as its bytes (8-bit text, read as an ID3v2 frame's).
// TagLib reads APE text only as UTF-8: an item that is not valid UTF-8 (Shift-JIS or
// Windows-1252 from old taggers) becomes an empty text and its bytes are gone, and TagLib
// has no string handler for APE to hook. So these three items are read here, byte for
// byte, as TagLib walks them: keys in any letter case, the last item of a key wins, text
// items only, several values joined by a space.
//
//   readApeTexts(file, layout.apeFooter).album.alone() == u"ベスト"  // Shift-JIS bytes
TrackTexts readApeTexts(TagLib::File& file, long footer);

}  // namespace orv::platform

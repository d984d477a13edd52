#pragma once

#include "text/CodePages.h"

#include <QByteArrayView>
#include <QString>

#include <array>
#include <optional>

namespace orv::text {

// `bytes` decoded in `page`, when every one of them is part of a character of it; nullopt
// when one is not, or when the system has no converter for it. Each page's characters are
// asked of iconv once (or taken from its own table), so decoding costs nanoseconds.
//
//   decodeStrict(kCodePages[pageNamed("euc-kr")], "\xC7\xD1") == u"한"
//   decodeStrict(kCodePages[pageNamed("windows-1251")], "\x98") == std::nullopt  // unassigned
//   decodeStrict(kCodePages[kWesternPage], "\x81") == u"\u0081"
std::optional<QString> decodeStrict(const CodePage& page, QByteArrayView bytes);

// The characters of the bytes 0x80-0xFF in the single-byte page `page`, from 0x80 on; 0
// where the page assigns none, and everywhere in a double-byte page.
//
//   highCharacters(kCodePages[pageNamed("windows-1251")])[0xC0 - 0x80] == u'А'
//   highCharacters(kCodePages[pageNamed("windows-1251")])[0x98 - 0x80] == 0
const std::array<char16_t, 128>& highCharacters(const CodePage& page);

}  // namespace orv::text

#pragma once

#include "text/CodePages.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

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

// `text` written in `page`, when the page has every one of its characters (as decodeStrict
// reads them: the bytes read back as `text`); nullopt when it lacks one. GB18030's
// four-byte characters count as lacking. The first call makes each page's reverse table.
//
//   encodeStrict(kCodePages[pageNamed("euc-kr")], u"한") == "\xC7\xD1"
//   encodeStrict(kCodePages[kWesternPage], u"한") == std::nullopt
std::optional<QByteArray> encodeStrict(const CodePage& page, QStringView text);

// The characters of the bytes 0x80-0xFF in the single-byte page `page`, from 0x80 on; 0
// where the page assigns none, and everywhere in a double-byte page.
//
//   highCharacters(kCodePages[pageNamed("windows-1251")])[0xC0 - 0x80] == u'А'
//   highCharacters(kCodePages[pageNamed("windows-1251")])[0x98 - 0x80] == 0
const std::array<char16_t, 128>& highCharacters(const CodePage& page);

}  // namespace orv::text

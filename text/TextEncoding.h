#pragma once

#include "text/CodePages.h"

#include <QString>
#include <QStringView>

#include <cstddef>
#include <optional>
#include <string_view>

namespace orv::text {

// An encoding of 8-bit tag text: one of the code pages of kCodePages, or UTF-8 (from
// taggers that ignore the encoding byte). Its name is the WHATWG Encoding Standard's, as
// browsers and Python name it.
//
//   TextEncoding::ofPage(pageNamed("big5")).name() == "big5"
//   TextEncoding::utf8().name() == "utf-8"
class TextEncoding {
 public:
  static constexpr TextEncoding utf8() { return TextEncoding(kCodePages.size()); }
  static constexpr TextEncoding ofPage(std::size_t page) { return TextEncoding(page); }

  constexpr bool isUtf8() const { return page_ == kCodePages.size(); }
  // Its row in kCodePages; only when it is no UTF-8.
  constexpr std::size_t page() const { return page_; }
  constexpr std::string_view name() const {
    return isUtf8() ? std::string_view("utf-8") : kCodePages[page_].name;
  }
  constexpr bool operator==(const TextEncoding&) const = default;

 private:
  constexpr explicit TextEncoding(std::size_t page) : page_(page) {}
  std::size_t page_;
};

// The encoding that `name` names, in any letter case: its own name or one of its aliases
// (CodePage::aliases; "utf8" for UTF-8); nullopt when it names none.
//
//   encodingNamed(u"SJIS") == TextEncoding::ofPage(kJapanesePage)
//   encodingNamed(u"latin1")->name() == "windows-1252"
//   encodingNamed(u"koi8-r") == std::nullopt
std::optional<TextEncoding> encodingNamed(QStringView name);

// The encodings' own names, in the order of kCodePages and UTF-8 last, separated by
// `separator`: what a user may choose from.
//
//   encodingNames(u"、") == u"shift_jis、windows-1252、…、windows-1250、utf-8"
QString encodingNames(QStringView separator);

}  // namespace orv::text

#include "platform/taglib/StringHandlers.h"

#include "text/EightBitText.h"

#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>

#include <QString>

#include <cassert>
#include <string>

namespace orv::platform {
namespace {

// This thread's RawEightBitTexts, if one lives.
thread_local RawEightBitTexts* current = nullptr;

// A token: U+FDD0, the value's number in decimal digits, U+FDD1. Noncharacters, which no
// tag text holds, and which RawEightBitTexts::textOf only looks for in fields of 8-bit
// text, whose every value is a token.
constexpr wchar_t kTokenStart = 0xFDD0, kTokenEnd = 0xFDD1;

QByteArrayView view(const TagLib::ByteVector& data) {
  return QByteArrayView(data.data(), static_cast<qsizetype>(data.size()));
}

TagLib::String toTagLib(const QString& text) {
  return TagLib::String(text.toUtf8().toStdString(), TagLib::String::UTF8);
}

class Id3v1Handler final : public TagLib::ID3v1::StringHandler {
 public:
  // TagLib's own handler strips the surrounding white space of ID3v1 fields; so does this
  // (and so does TagText::read for a raw field).
  TagLib::String parse(const TagLib::ByteVector& data) const override {
    if (current) return current->keep(data);
    return toTagLib(text::decodeEightBitText(view(data), text::EightBitField::kId3v1))
        .stripWhiteSpace();
  }
};

class Id3v2Latin1Handler final : public TagLib::ID3v2::Latin1StringHandler {
 public:
  TagLib::String parse(const TagLib::ByteVector& data) const override {
    if (current) return current->keep(data);
    return toTagLib(text::decodeEightBitText(view(data), text::EightBitField::kId3v2));
  }
};

}  // namespace

void installEightBitStringHandlers() {
  // TagLib neither copies nor deletes the handlers, and ID3v1's base class has no virtual
  // destructor: they are created once and never destroyed, so no file read during exit
  // (another static's destructor, another thread) meets a dead handler.
  static const bool installed = [] {
    TagLib::ID3v1::Tag::setStringHandler(new Id3v1Handler);
    TagLib::ID3v2::Tag::setLatin1StringHandler(new Id3v2Latin1Handler);
    return true;
  }();
  (void)installed;
}

RawEightBitTexts::RawEightBitTexts() : outer_(current) {
  installEightBitStringHandlers();
  current = this;
}

RawEightBitTexts::~RawEightBitTexts() {
  assert(current == this);
  current = outer_;
}

TagLib::String RawEightBitTexts::keep(const TagLib::ByteVector& bytes) {
  values_.push_back(bytes);
  std::wstring token(1, kTokenStart);
  token += std::to_wstring(values_.size() - 1);
  token += kTokenEnd;
  return TagLib::String(token);
}

std::optional<std::size_t> RawEightBitTexts::tokenAt(const std::wstring& s, std::size_t i,
                                                     std::size_t& end) const {
  if (s[i] != kTokenStart) return std::nullopt;
  end = s.find(kTokenEnd, i);
  if (end == std::wstring::npos || end == i + 1 || end - i > 10) return std::nullopt;
  std::size_t number = 0;
  for (std::size_t k = i + 1; k < end; ++k) {
    if (s[k] < L'0' || s[k] > L'9') return std::nullopt;
    number = number * 10 + static_cast<std::size_t>(s[k] - L'0');
  }
  if (number >= values_.size()) return std::nullopt;
  return number;
}

text::TagText RawEightBitTexts::textOf(const TagLib::String& read,
                                       text::EightBitField field) const {
  const std::wstring s = read.toWString();
  text::TagText out;
  std::size_t textFrom = 0;  // the text since the last token
  for (std::size_t i = 0; i < s.size(); ++i) {
    std::size_t end = 0;
    const auto number = tokenAt(s, i, end);
    if (!number) continue;
    if (i > textFrom)
      out.append(QString::fromWCharArray(s.data() + textFrom, qsizetype(i - textFrom)));
    const TagLib::ByteVector& bytes = values_[*number];
    const QByteArray value(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (!text::fieldBytes(value, field).bytes.isEmpty()) {
      out.append(text::EightBitValue{value, field});
    }
    i = end;
    textFrom = end + 1;
  }
  if (s.size() > textFrom) {
    out.append(QString::fromWCharArray(s.data() + textFrom, qsizetype(s.size() - textFrom)));
  }
  return out;
}

}  // namespace orv::platform

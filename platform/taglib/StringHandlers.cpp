#include "platform/taglib/StringHandlers.h"

#include "text/EightBitText.h"

#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/tstring.h>

namespace orv::platform {
namespace {

QByteArrayView view(const TagLib::ByteVector& data) {
  return QByteArrayView(data.data(), static_cast<qsizetype>(data.size()));
}

TagLib::String toTagLib(const QString& text) {
  return TagLib::String(text.toUtf8().toStdString(), TagLib::String::UTF8);
}

class Id3v1Handler final : public TagLib::ID3v1::StringHandler {
 public:
  // TagLib's own handler strips the surrounding white space of ID3v1 fields; so does this.
  TagLib::String parse(const TagLib::ByteVector& data) const override {
    return toTagLib(text::decodeEightBitText(view(data), text::EightBitField::kId3v1))
        .stripWhiteSpace();
  }
};

class Id3v2Latin1Handler final : public TagLib::ID3v2::Latin1StringHandler {
 public:
  TagLib::String parse(const TagLib::ByteVector& data) const override {
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

}  // namespace orv::platform

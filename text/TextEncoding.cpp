#include "text/TextEncoding.h"

#include <QStringList>

namespace orv::text {
namespace {

constexpr std::string_view kUtf8Aliases = "utf8";

// Whether the space-separated `names` hold `name`.
constexpr bool holds(std::string_view names, std::string_view name) {
  while (!names.empty()) {
    const std::size_t space = names.find(' ');
    if (names.substr(0, space) == name) return true;
    if (space == std::string_view::npos) break;
    names.remove_prefix(space + 1);
  }
  return false;
}

// The encoding whose name or alias `name` (in small letters) is.
constexpr std::optional<TextEncoding> named(std::string_view name) {
  for (std::size_t p = 0; p < kCodePages.size(); ++p) {
    if (kCodePages[p].name == name || holds(kCodePages[p].aliases, name)) {
      return TextEncoding::ofPage(p);
    }
  }
  if (name == TextEncoding::utf8().name() || holds(kUtf8Aliases, name)) return TextEncoding::utf8();
  return std::nullopt;
}

// No name or alias names two encodings: each finds the encoding it belongs to.
static_assert([] {
  for (std::size_t p = 0; p < kCodePages.size(); ++p) {
    if (named(kCodePages[p].name) != TextEncoding::ofPage(p)) return false;
    std::string_view aliases = kCodePages[p].aliases;
    while (!aliases.empty()) {
      const std::size_t space = aliases.find(' ');
      if (named(aliases.substr(0, space)) != TextEncoding::ofPage(p)) return false;
      aliases.remove_prefix(space == std::string_view::npos ? aliases.size() : space + 1);
    }
  }
  return named("utf-8") == TextEncoding::utf8() && named(kUtf8Aliases) == TextEncoding::utf8();
}());

}  // namespace

std::optional<TextEncoding> encodingNamed(QStringView name) {
  const QByteArray small = name.toString().toLower().toUtf8();
  return named(std::string_view(small.constData(), static_cast<std::size_t>(small.size())));
}

QString encodingNames(QStringView separator) {
  QStringList names;
  for (const CodePage& page : kCodePages) names << QString::fromUtf8(page.name);
  names << QString::fromUtf8(TextEncoding::utf8().name());
  return names.join(separator);
}

}  // namespace orv::text

#include "batch/CoverFiles.h"

#include <QLatin1StringView>
#include <QStringView>

#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>

namespace orv::batch {
namespace {

constexpr QLatin1StringView kImageSuffixes[] = {QLatin1StringView("jpg"), QLatin1StringView("jpeg"),
                                                QLatin1StringView("png")};
constexpr QLatin1StringView kCoverNames[] = {
    QLatin1StringView("cover"), QLatin1StringView("folder"), QLatin1StringView("front"),
    QLatin1StringView("album")};
constexpr qsizetype kAlbumArtRank = std::size(kCoverNames);

bool sameLetters(QStringView text, QLatin1StringView word) {
  return text.compare(word, Qt::CaseInsensitive) == 0;
}

// Where `name` ranks among the candidates (lower is better); nullopt for no candidate.
// Views, not copies: it looks at every name of the album folder.
std::optional<qsizetype> rank(QStringView name) {
  const qsizetype dot = name.lastIndexOf(u'.');
  if (dot <= 0) return std::nullopt;
  const QStringView suffix = name.sliced(dot + 1);
  if (std::none_of(std::begin(kImageSuffixes), std::end(kImageSuffixes),
                   [&](QLatin1StringView s) { return sameLetters(suffix, s); })) {
    return std::nullopt;
  }
  const QStringView base = name.first(dot);
  for (qsizetype k = 0; k < kAlbumArtRank; ++k) {
    if (sameLetters(base, kCoverNames[k])) return k;
  }
  if (!base.startsWith(QLatin1StringView("AlbumArt"), Qt::CaseInsensitive)) return std::nullopt;
  return kAlbumArtRank + (base.contains(QLatin1StringView("Large"), Qt::CaseInsensitive) ? 0 : 1);
}

}  // namespace

std::vector<QString> coverFileCandidates(const std::vector<QString>& names) {
  std::vector<std::pair<qsizetype, QString>> ranked;
  for (const QString& name : names) {
    if (const auto r = rank(name)) ranked.emplace_back(*r, name);
  }
  std::stable_sort(ranked.begin(), ranked.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<QString> candidates;
  candidates.reserve(ranked.size());
  for (auto& [r, name] : ranked) candidates.push_back(std::move(name));
  return candidates;
}

}  // namespace orv::batch

#include "batch/CoverFiles.h"

#include <QStringList>

#include <algorithm>
#include <optional>
#include <utility>

namespace orv::batch {
namespace {

const QStringList kImageSuffixes = {QStringLiteral("jpg"), QStringLiteral("jpeg"),
                                    QStringLiteral("png")};
const QStringList kCoverNames = {QStringLiteral("cover"), QStringLiteral("folder"),
                                 QStringLiteral("front"), QStringLiteral("album")};

// Where `name` ranks among the candidates (lower is better); nullopt for no candidate.
std::optional<qsizetype> rank(const QString& name) {
  const qsizetype dot = name.lastIndexOf(u'.');
  if (dot <= 0 || !kImageSuffixes.contains(name.sliced(dot + 1), Qt::CaseInsensitive)) {
    return std::nullopt;
  }
  const QString base = name.first(dot);
  const qsizetype named = kCoverNames.indexOf(base.toLower());
  if (named >= 0) return named;
  if (!base.startsWith(QStringLiteral("AlbumArt"), Qt::CaseInsensitive)) return std::nullopt;
  return kCoverNames.size() + (base.contains(QStringLiteral("Large"), Qt::CaseInsensitive) ? 0 : 1);
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

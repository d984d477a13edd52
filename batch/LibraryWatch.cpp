#include "batch/LibraryWatch.h"

#include "batch/BatchOutput.h"
#include "core/Console.h"
#include "core/ProgramFiles.h"

#include <algorithm>

namespace orv::batch {

LibraryWatch::LibraryWatch(const BatchOptions& options, platform::FolderWatch& watch,
                           platform::FileSystem& fileSystem,
                           const platform::Interruption& interruption)
    : options_(options), watch_(watch), fileSystem_(fileSystem), interruption_(interruption) {
  for (const QString& named : options.folders) {
    roots_.push_back(absoluteFolder(named));
    watch_.follow(roots_.back());
  }
}

bool LibraryWatch::Position::operator<(const Position& other) const {
  if (root != other.root) return root < other.root;
  return std::lexicographical_compare(parts.begin(), parts.end(), other.parts.begin(),
                                      other.parts.end());
}

LibraryWatch::Position LibraryWatch::positionOf(const QString& folder) const {
  Position position;
  const auto root = std::find_if(roots_.begin(), roots_.end(),
                                 [&](const QString& r) { return folder.startsWith(r); });
  position.root = std::size_t(root - roots_.begin());
  const QString below = root == roots_.end() ? folder : folder.sliced(root->size());
  for (const QString& part : below.split(u'/', Qt::SkipEmptyParts))
    position.parts.emplace_back(part);
  return position;
}

int LibraryWatch::keepCurrent(const std::vector<AlbumOutcome>& firstPass, const WatchSteps& steps) {
  for (const AlbumOutcome& outcome : firstPass) {
    if (outcome.status == AlbumStatus::kBuilt || outcome.status == AlbumStatus::kCurrent) {
      known_[outcome.album.folder] = {positionOf(outcome.album.folder), outcome};
    }
  }
  writeError(QStringLiteral("フォルダーの変化を見張っています（Ctrl-C で終わります）。\n"));
  while (interruption_.requested() == 0) {
    std::optional<Clock::time_point> until;
    for (const auto& [folder, time] : quietAt_) until = std::min(until.value_or(time), time);
    const platform::FolderChanges changes = watch_.wait(until);
    if (interruption_.requested() != 0) break;
    if (changes.unfollowed > 0) {
      reportError(QStringLiteral("inotify で見張れるフォルダーの数の上限"
                                 "（fs.inotify.max_user_watches）に達したため、%1 個の"
                                 "フォルダーは 1 分ごとに見直します。")
                      .arg(changes.unfollowed));
    }
    noteChanges(changes);
    if (lookAgain(steps) && interruption_.requested() == 0) steps.writeIndex(libraryInOrder());
  }
  return exitSignalled(interruption_.requested());
}

void LibraryWatch::noteChanges(const platform::FolderChanges& changes) {
  const Clock::time_point quiet = Clock::now() + kQuietTime;
  for (const QString& folder : changes.folders) quietAt_[folder] = quiet;
  for (const QString& folder : changes.everythingBelow) {
    quietAt_[folder] = quiet;
    everythingBelow_.insert(folder);
  }
}

bool LibraryWatch::holdsTracks(const QString& folder) {
  try {
    return !fileSystem_.list(folder + kTrackPattern)->next().isEmpty();
  } catch (const RuntimeError&) {
    return true;  // its build tells what is wrong, as the run does
  }
}

void LibraryWatch::collectAlbums(const QString& folder, std::vector<AlbumFolder>& albums) {
  if (holdsTracks(folder)) albums.push_back({folder, std::nullopt});
  std::vector<QString> below;
  try {
    below = fileSystem_.listFolders(folder);
  } catch (const RuntimeError&) {
  }
  for (const QString& name : below) collectAlbums(folder + name + u'/', albums);
}

bool LibraryWatch::forget(const QString& folder, const std::set<QString>& stillThere) {
  bool forgotten = false;
  for (auto it = known_.lower_bound(folder); it != known_.end() && it->first.startsWith(folder);) {
    if (stillThere.contains(it->first)) {
      ++it;
    } else {
      it = known_.erase(it);
      forgotten = true;
    }
  }
  return forgotten;
}

bool LibraryWatch::exists(const QString& folder) {
  try {
    return fileSystem_.fileFacts(folder).has_value();
  } catch (const RuntimeError&) {
    return true;  // there, though it can't be looked at: its build tells why
  }
}

bool LibraryWatch::lookAgain(const WatchSteps& steps) {
  const Clock::time_point now = Clock::now();
  const auto busy = [&](const QString& folder) {
    const auto it = quietAt_.find(folder);
    return it != quietAt_.end() && it->second > now;
  };
  std::vector<AlbumFolder> albums;
  bool changed = false;
  for (auto it = quietAt_.begin(); it != quietAt_.end();) {
    if (it->second > now) {
      ++it;
      continue;
    }
    const QString folder = it->first;
    it = quietAt_.erase(it);
    std::set<QString> found;
    if (!exists(folder)) {
      // Gone, with every album below it.
    } else if (everythingBelow_.erase(folder) > 0) {
      const std::size_t before = albums.size();
      collectAlbums(folder, albums);
      for (std::size_t i = before; i < albums.size(); ++i) found.insert(albums[i].path);
    } else if (holdsTracks(folder)) {
      albums.push_back({folder, std::nullopt});
      continue;
    } else {
      // No album any more; the folders below it are albums of their own.
      changed = known_.erase(folder) > 0 || changed;
      continue;
    }
    changed = forget(folder, found) || changed;
  }
  // An album still being copied waits for its own quiet time; each is built once.
  std::sort(albums.begin(), albums.end(),
            [](const AlbumFolder& a, const AlbumFolder& b) { return a.path < b.path; });
  albums.erase(
      std::unique(albums.begin(), albums.end(),
                  [](const AlbumFolder& a, const AlbumFolder& b) { return a.path == b.path; }),
      albums.end());
  std::erase_if(albums, [&](const AlbumFolder& album) { return busy(album.path); });
  if (albums.empty()) return changed;

  const std::vector<AlbumOutcome> outcomes = steps.build(albums);
  for (const AlbumOutcome& outcome : outcomes) {
    const QString& folder = outcome.album.folder;
    switch (outcome.status) {
      case AlbumStatus::kNotStarted:
        continue;
      case AlbumStatus::kCurrent:
        changed = changed || !known_.contains(folder);
        known_[folder] = {positionOf(folder), outcome};
        continue;
      case AlbumStatus::kBuilt:
        known_[folder] = {positionOf(folder), outcome};
        break;
      default:
        known_.erase(folder);
        break;
    }
    changed = true;
    writeOut(options_.json ? albumJson(outcome) : albumLines(outcome, /*dryRun=*/false));
  }
  return changed;
}

std::vector<AlbumOutcome> LibraryWatch::libraryInOrder() const {
  std::vector<const Known*> albums;
  albums.reserve(known_.size());
  for (const auto& [folder, album] : known_) albums.push_back(&album);
  std::sort(albums.begin(), albums.end(),
            [](const Known* a, const Known* b) { return a->position < b->position; });
  std::vector<AlbumOutcome> outcomes;
  outcomes.reserve(albums.size());
  for (const Known* album : albums) outcomes.push_back(album->outcome);
  return outcomes;
}

}  // namespace orv::batch

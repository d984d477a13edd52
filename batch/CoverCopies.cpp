#include "batch/CoverCopies.h"

#include "core/InParallel.h"
#include "core/ProgramFiles.h"
#include "core/RuntimeError.h"

#include <QCryptographicHash>
#include <QDir>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <optional>
#include <vector>

namespace orv::batch {
namespace {

const QString kSuffix = QStringLiteral(".jpg");
const QString kDoubled = QStringLiteral("@2x");

// The names this folder's copies have, and nothing else in it may be removed: 16
// hexadecimal digits, or "placeholder-" and 8, then the doubled mark or not.
const QRegularExpression kCopyName(
    QStringLiteral("^([0-9a-f]{16}|placeholder-[0-9a-f]{8})(@2x)?\\.jpg$"));

QString hexOf(const QByteArray& bytes, qsizetype digits) {
  return QString::fromLatin1(
      QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex().left(digits));
}

// A copy's name, without ".jpg", for a cover of `version`.
QString stemOf(const platform::FileFacts& version) {
  const QByteArray key =
      QByteArray::number(version.id.device) + ':' + QByteArray::number(version.id.inode) + ':' +
      QByteArray::number(version.size) + ':' + QByteArray::number(version.modified) + ':' +
      QByteArray::number(version.changed);
  return hexOf(key, 16);
}

// The jacket.jpg of the album of `card`, whose folder is relative to `indexFolder`.
QString coverOf(const QDir& indexFolder, const QJsonObject& card) {
  const QString folder = card.value(QStringLiteral("folder")).toString();
  return QDir::cleanPath(indexFolder.absoluteFilePath(folder)) + u'/' + kCoverName;
}

// One run's copies: those found in the folder, and those made or kept for the cards.
class Run {
 public:
  Run(platform::FileSystem& fileSystem, platform::PictureConverter& pictures,
      const QString& programFolder, QString folder)
      : fileSystem_(fileSystem),
        pictures_(pictures),
        programFolder_(programFolder),
        folder_(std::move(folder)) {
    const auto listing = fileSystem_.list(folder_ + u'*');
    for (QString name = listing->next(); !name.isEmpty(); name = listing->next()) {
      if (kCopyName.match(name).hasMatch()) found_.insert(name);
    }
  }

  // The copy of `cover` ("cover", "cover2x"), made unless it is there; nullopt for a
  // cover that isn't there or can't be read as a picture.
  std::optional<QJsonObject> copyOf(const QString& cover) {
    std::optional<platform::FileFacts> version;
    try {
      version = fileSystem_.fileFacts(cover);
      if (!version) return std::nullopt;
      if (holdsPlaceholder(cover, *version)) return placeholderCopy();
    } catch (const RuntimeError&) {
      return std::nullopt;  // the album's own trouble: its card shows the cover itself
    }
    return copyNamed(stemOf(*version), [&] { return fileSystem_.readFile(cover); });
  }

  // Removes the copies found that no card names.
  void removeOthers() {
    for (const QString& name : std::as_const(found_)) {
      if (!used_.contains(name)) fileSystem_.removeFile(folder_ + name);
    }
  }

 private:
  // Whether `cover`, of `version`, holds the program's placeholder byte for byte, as
  // HoldsProgramCover tells it, with the placeholder read once for all the cards: on a
  // re-run over a library of placeholders, that is most of what the copies cost.
  bool holdsPlaceholder(const QString& cover, const platform::FileFacts& version) {
    const QByteArray& placeholder = placeholderBytes();
    return version.size == placeholder.size() && !placeholder.isEmpty() &&
           fileSystem_.readFile(cover) == placeholder;
  }

  const QByteArray& placeholderBytes() {
    std::call_once(placeholderRead_, [&] {
      if (fileSystem_.fileFacts(programFolder_ + kCoverName)) {
        placeholderBytes_ = fileSystem_.readFile(programFolder_ + kCoverName);
      }
    });
    return placeholderBytes_;
  }

  std::optional<QJsonObject> placeholderCopy() {
    const std::lock_guard once(placeholderMutex_);
    if (!placeholder_) {
      const QByteArray& bytes = placeholderBytes();
      placeholder_ =
          copyNamed(QStringLiteral("placeholder-") + hexOf(bytes, 8), [&] { return bytes; });
    }
    return *placeholder_;
  }

  template <typename Read>
  std::optional<QJsonObject> copyNamed(const QString& stem, Read&& read) {
    const QString normal = stem + kSuffix;
    const QString doubled = stem + kDoubled + kSuffix;
    QJsonObject fields{{QStringLiteral("cover"), stem}};
    if (found_.contains(normal)) {
      use(normal);
      if (found_.contains(doubled)) {
        use(doubled);
        fields.insert(QStringLiteral("cover2x"), true);
      }
      return fields;
    }
    QByteArray cover;
    try {
      cover = read();
    } catch (const RuntimeError&) {
      return std::nullopt;  // gone or unreadable since it was looked at: as above
    }
    const std::optional<platform::SmallPictures> small =
        pictures_.smallPictures(cover, kCoverCopySide);
    if (!small) return std::nullopt;
    // The doubled copy first: the normal one tells a later run that the pair is whole, so
    // a run killed between the two makes both again rather than keep half of them.
    if (!small->doubled.isEmpty()) {
      fileSystem_.replaceFileAtomically(folder_ + doubled, small->doubled);
      use(doubled);
      fields.insert(QStringLiteral("cover2x"), true);
    }
    fileSystem_.replaceFileAtomically(folder_ + normal, small->normal);
    use(normal);
    return fields;
  }

  void use(const QString& name) {
    const std::lock_guard lock(usedMutex_);
    used_.insert(name);
  }

  platform::FileSystem& fileSystem_;
  platform::PictureConverter& pictures_;
  const QString& programFolder_;
  const QString folder_;
  QSet<QString> found_;  // read only once the threads start
  std::mutex usedMutex_;
  QSet<QString> used_;
  std::once_flag placeholderRead_;
  QByteArray placeholderBytes_;  // empty: the program has none
  std::mutex placeholderMutex_;
  std::optional<std::optional<QJsonObject>> placeholder_;
};

}  // namespace

QString coverCopiesFolder(const QString& indexPath) {
  const qsizetype slash = indexPath.lastIndexOf(u'/');
  const qsizetype dot = indexPath.lastIndexOf(u'.');
  const QString stem = dot > slash + 1 ? indexPath.left(dot) : indexPath;
  return stem + QStringLiteral("-covers/");
}

CoverCopies::CoverCopies(platform::FileSystem& fileSystem, platform::PictureConverter& pictures,
                         QString programFolder, int jobs, std::function<bool()> keepGoing)
    : fileSystem_(fileSystem),
      pictures_(pictures),
      programFolder_(std::move(programFolder)),
      jobs_(jobs),
      keepGoing_(std::move(keepGoing)) {}

void CoverCopies::giveCards(const QString& indexPath, QJsonArray& cards) const {
  const QString folder = coverCopiesFolder(indexPath);
  fileSystem_.createFolder(folder);
  Run run(fileSystem_, pictures_, programFolder_, folder);
  const QDir indexFolder(indexPath.left(indexPath.lastIndexOf(u'/') + 1));
  std::vector<QJsonObject> given(static_cast<std::size_t>(cards.size()));
  for (qsizetype i = 0; i < cards.size(); ++i) given[i] = cards[i].toObject();
  std::atomic<bool> stopped{false};
  inParallel(given.size(), jobs_, [&](std::size_t i) {
    if (stopped || !keepGoing_()) {
      stopped = true;
      return;
    }
    QJsonObject& card = given[i];
    card.remove(QStringLiteral("cover"));
    card.remove(QStringLiteral("cover2x"));
    if (const auto copy = run.copyOf(coverOf(indexFolder, card))) {
      for (auto field = copy->begin(); field != copy->end(); ++field) {
        card.insert(field.key(), field.value());
      }
    }
  });
  for (qsizetype i = 0; i < cards.size(); ++i) cards[i] = given[static_cast<std::size_t>(i)];
  if (!stopped) run.removeOthers();
}

}  // namespace orv::batch

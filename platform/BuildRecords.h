#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace orv::platform {

// What Orv keeps of one album it built: the album's state when it was built, and what the
// build made of it, both in the batch's own words (bytes to the record).
struct BuildRecord {
  QByteArray state;
  QByteArray summary;
  bool operator==(const BuildRecord&) const = default;
};

// The record of the albums Orv built, by folder: kept in the user's cache, never in the
// music folders, and shared by every run of this user, several at once, each seeing what
// the others stored. It is a cache: without it every album is built again, nothing
// worse. Used from several threads at once.
//
// Failures raise a RuntimeError whose description names the record and why it can't be
// used (locked by another run for too long, a folder or file that takes no change, a full
// disk), in Japanese.
//
//   records.open(BuildRecords::Access::kReadWrite);
//   records.store("/music/album/", {state, summary});
//   records.find("/music/album/")->summary   // summary; nullopt for an album never stored
//   records.flush();                          // before the run ends
class BuildRecords {
 public:
  enum class Access {
    kRead,       // a dry run's: nothing is created or changed
    kReadWrite,  // created when missing; one that can't be read as it is, started afresh
  };
  // What open() found.
  enum class Found {
    kUsable,        // a record, as it was
    kNone,          // none yet: created (kReadWrite), or read as empty (kRead)
    kDamaged,       // not a record any more: started afresh, or (kRead) read as empty
    kOtherVersion,  // written by a version of Orv that keeps it otherwise: the same
  };

  virtual ~BuildRecords() = default;

  // Opens the record for the run; once, before any other call.
  virtual Found open(Access access) = 0;

  // The record of `folder` (absolute, ending in "/"), if one was stored.
  virtual std::optional<BuildRecord> find(const QString& folder) = 0;

  // Keeps `record` as `folder`'s, in place of any before it. Never with Access::kRead.
  // Records may be held back to be written together, a second at most: find() sees them
  // at once, other runs once they are written. What a run that ends without flush() held
  // back is lost, which only means that those albums are built again.
  virtual void store(const QString& folder, const BuildRecord& record) = 0;

  // Writes what store() holds back.
  virtual void flush() = 0;

  // Where the record lies, for the user: "/home/u/.cache/orv/builds.sqlite".
  virtual QString location() const = 0;
};

}  // namespace orv::platform

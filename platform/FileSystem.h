#pragma once

#include "core/RuntimeError.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <compare>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace orv::platform {

// Which file or folder a path leads to: the same for every path to it (a link, another
// spelling).
struct FileId {
  quint64 device = 0;
  quint64 inode = 0;
  auto operator<=>(const FileId&) const = default;
};

// What tells whether a file changed: its size, its times (nanoseconds since the epoch)
// and which file it is. The change time moves with every change of the file, its content,
// its name or its other times, and no program can set it back: a tagger that keeps the
// modification time, or a copy that keeps it, still moves it.
struct FileFacts {
  qint64 size = 0;
  qint64 modified = 0;  // st_mtim
  qint64 changed = 0;   // st_ctim
  FileId id;
  bool operator==(const FileFacts&) const = default;
};

// A file of a listing with its facts.
struct ListedFile {
  QString name;
  FileFacts facts;
  bool operator==(const ListedFile&) const = default;
};

class DryRunFileSystem;

// One folder listing, name by name.
class FolderListing {
 public:
  virtual ~FolderListing() = default;
  // The next name; an empty text at the end of the listing.
  virtual QString next() = 0;
};

// The file system, with paths as Unicode texts (file names are the file system's bytes,
// decoded as UTF-8). Every failure raises a RuntimeError whose description names the file;
// the error codes named below are those of ErrorCode.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Lists the regular files (a link to one counts) of the folder `pattern` names, whose
  // names match the pattern's last component ("*.mp3"; "*" is the only wildcard) in any
  // letter case. Hidden names (starting with ".") are left out. Names come sorted by their
  // upper-cased UTF-16 code units, ties by the names' own, as earlier versions took them.
  // A name that is not valid UTF-8 comes with U+FFFD in place of its bad bytes.
  // A folder that does not exist lists no name, like a folder without a match.
  //
  //   auto listing = fs.list("/music/album/*.mp3");
  //   for (QString name = listing->next(); !name.isEmpty(); name = listing->next()) …
  virtual std::unique_ptr<FolderListing> list(const QString& pattern) = 0;

  // The files list(pattern) lists, in its order, each with its facts (a link's are those
  // of its file), from the one listing: cheaper than fileFacts() for each. A file gone
  // between the listing and its look is left out.
  //
  //   for (const ListedFile& track : fs.listWithFacts("/music/album/*.mp3")) …
  virtual std::vector<ListedFile> listWithFacts(const QString& pattern) = 0;

  // The folders in `folder` (ending in "/"), sorted as list() sorts names. Hidden
  // folders and symbolic links to folders are left out, so that a walk through a music
  // library neither enters what the user hid nor runs in circles. Names that are not
  // valid UTF-8 come as in list(). A folder that does not exist holds none.
  //
  //   for (const QString& name : fs.listFolders("/music/")) walk("/music/" + name + "/");
  virtual std::vector<QString> listFolders(const QString& folder) = 0;

  // listFolders(folder), and whether list(folder + pattern) would list any file, from one
  // reading of the folder: what a walk through a library asks of every folder.
  //
  //   const FolderLook look = fs.lookIntoFolder("/music/", "*.mp3");
  //   if (look.holdsMatch) album("/music/");
  struct FolderLook {
    std::vector<QString> folders;
    bool holdsMatch = false;
  };
  virtual FolderLook lookIntoFolder(const QString& folder, const QString& pattern) = 0;

  // Raises kFileNotFound unless a file or folder exists under `path`.
  virtual void queryAttributes(const QString& path) = 0;

  // What `path` leads to, links followed; raises kFileNotFound when nothing is there.
  //
  //   fs.fileId("/music/Album") == fs.fileId("/music/link-to-album/")
  virtual FileId fileId(const QString& path) = 0;

  // The facts of the file `path` leads to, links followed; none when nothing is there
  // (or a part of the path is no folder). Raises what else stops the look, naming `path`.
  //
  //   fs.fileFacts("/music/album/01.mp3")->changed   // later after a retag, even one that
  //                                                 // set the modification time back
  virtual std::optional<FileFacts> fileFacts(const QString& path) = 0;

  // Raises what queryAttributes(path) raises, then opens the file `path` for reading and
  // closes it again, so that a file that exists but can't be read is found before
  // anything is done to the album. Raises kPermissionDenied (or the code of whatever else
  // stops the open) described as tag reading describes the same failure: "ファイル
  // 「<path>」を開けません。（<reason>）". A folder or anything else that is no regular
  // file passes, and so does a file gone between the look and the open: that is for tag
  // reading to judge.
  //
  //   fs.requireReadable("/music/album/01.mp3");   // throws after chmod 000 01.mp3
  virtual void requireReadable(const QString& path) = 0;

  // Renames `from` to `to`, never replacing a file: anything under `to` (a symbolic link
  // too, even one that leads nowhere) raises renameTakenError(from, to), a folder that
  // takes no change (read-only, or on a read-only mount) kPermissionDenied, both before
  // anything moves. Renaming a file to its own unchanged name does nothing and succeeds;
  // only a missing file raises then. A `to` that is already a second name of the same
  // file (a rename cut off midway) completes the rename: `from` is removed.
  //
  //   fs.rename("/a/x y.mp3", "/a/x_y.mp3");   // throws if "x_y.mp3" is taken
  virtual void rename(const QString& from, const QString& to) = 0;

  // The whole content of a file; raises kFileNotFound when there is none.
  virtual QByteArray readFile(const QString& path) = 0;

  // Replaces `path` with `content`, whole and atomically: a temporary file in the same
  // folder is written, flushed and synced, then renamed over `path`. The temporary file
  // has no name while it is written, where the file system allows that, so that a
  // process killed meanwhile leaves nothing; elsewhere it has a hidden name of its own
  // (see removeLeftoverTemporaryFiles). On failure `path` is unchanged and the
  // temporary file is gone; only a failure to sync the folder after
  // the rename is raised with the new content in place. A replaced file keeps its
  // permissions; a new one gets 0644 less the umask. Before any temporary file is made,
  // a `path` that is read-only (this user may not write it, or it grants writing to no
  // one) or a symbolic link raises kPathFileAccessError naming it, a folder in its place
  // the error its replacement would meet, and a folder of `path` that takes no new file
  // (read-only, on a read-only mount, missing) kPermissionDenied (kPathNotFound), naming
  // the folder.
  //
  //   fs.replaceFileAtomically("/music/album/disk.html", page);   // throws after chmod a-w
  virtual void replaceFileAtomically(const QString& path, const QByteArray& content) = 0;

  // Replaces `path` with `content` as replaceFileAtomically does, unless `path` is a
  // regular file (no link) that holds exactly `content`: that file is left as it is, with
  // its inode, times and permissions, and false is returned, even where it could not be
  // replaced (read-only). Anything else is replaced, or refused, as replaceFileAtomically
  // replaces or refuses it; true then. A file that can't be read is no match.
  //
  //   fs.replaceFileIfDifferent("/music/album/disk.html", page);   // false: same bytes
  virtual bool replaceFileIfDifferent(const QString& path, const QByteArray& content) = 0;

  // Creates `path` with `content`, whole and atomically, and never replaces anything:
  // written as replaceFileAtomically writes, but the complete temporary file takes the
  // name only while nothing is under it. Anything under `path` (a file, folder or link),
  // there before or arriving during the call, raises kFileAlreadyExists naming it and
  // stays as it is; the temporary file is gone. A folder of `path` that takes no new file
  // raises as replaceFileAtomically's does. The new file gets 0644 less the umask.
  //
  //   fs.createFileAtomically("/music/index.html", page);   // throws if index.html is there
  virtual void createFileAtomically(const QString& path, const QByteArray& content) = 0;

  // True when `path` is a file or a link to one (a folder is no file).
  virtual bool fileExists(const QString& path) = 0;

  // Copies `from` to `to`, whole, if `accept` takes the first `size` bytes of `from` (all
  // of a shorter file), which the copy then doesn't read again; returns whether it
  // copied. The copy is written and synced as a temporary file, as replaceFileAtomically
  // writes, which then takes the name `to`. Before `accept` is asked, raises the error of
  // a `from` that can't be opened for reading (kFileNotFound if there is none),
  // kFileAlreadyExists when anything is under `to` (a folder, or a symbolic link, even
  // one leading nowhere), and kPermissionDenied when the folder of `to` takes no new
  // file. `to` is never replaced, not even when it appears during the call; a refused or
  // failed copy leaves no `to` behind, nor a copy cut off midway.
  //
  //   fs.copyFileNoReplaceIf("/music/album/cover.jpg", "/music/album/jacket.jpg", 8192,
  //                          [](QByteArrayView start) { return start.startsWith("\xFF\xD8"); });
  virtual bool copyFileNoReplaceIf(const QString& from, const QString& to, qsizetype size,
                                   const std::function<bool(QByteArrayView)>& accept) = 0;

  // Copies `from` to `to` as copyFileNoReplaceIf does, whatever the file holds.
  //
  //   fs.copyFileNoReplace("/usr/lib/orv/jacket.jpg", "/music/album/jacket.jpg");
  void copyFileNoReplace(const QString& from, const QString& to) {
    copyFileNoReplaceIf(from, to, 0, [](QByteArrayView) { return true; });
  }

  // Makes the folder `path` (its parent must exist) unless a folder is there already;
  // anything else under `path` raises kPathFileAccessError, a parent that takes no new
  // folder kPermissionDenied (kPathNotFound when it is missing), naming it.
  //
  //   fs.createFolder("/music/index-covers/");
  virtual void createFolder(const QString& path) = 0;

  // Removes the file `path` (not a folder); a missing file is no error. A folder that
  // takes no change raises kPermissionDenied naming it.
  //
  //   fs.removeFile("/music/index-covers/0123456789abcdef.jpg");
  virtual void removeFile(const QString& path) = 0;

  // Removes what the writes above left in `folder` (ending in "/") beside each of
  // `names` when they were cut off, the process killed: their hidden temporary files
  // (".disk.html.orv-" and 8 to 13 lower-case letters or digits, for "disk.html").
  // Only regular files of exactly that pattern go; nothing else, whatever its name. For
  // a caller that holds the folder's lock (FolderLocks), which every writer in the
  // folder takes, so that no write still under way loses its file. A missing folder
  // holds none; a folder that takes no change (read-only) keeps them, and the write that
  // follows meets its refusal, as a dry run foretold. Returns the names removed.
  //
  //   fs.removeLeftoverTemporaryFiles("/music/album/", {"disk.html", "jacket.jpg"});
  virtual QStringList removeLeftoverTemporaryFiles(const QString& folder,
                                                   const QStringList& names) = 0;

  // A dry run over this file system (see DryRunFileSystem): each change checked by this
  // file system's own rules and noted down instead of made. Each realisation makes its
  // own, as only it knows what its changes meet before they change anything.
  //
  //   fs.dryRun()->replaceFileAtomically(path, {});   // raises what replacing would raise
  virtual std::unique_ptr<DryRunFileSystem> dryRun() = 0;
};

// A file system that makes no change. Each change meets exactly what the real change
// meets before it changes anything, by the disk's own rules, and so raises the very error
// the real one would (a missing file, a taken name, a protected page, a cover's place
// taken, a folder that takes no change); then it is noted down. replaceFileIfDifferent
// compares with the disk as the real one does, and a page that would stay as it is meets
// no precondition: it returns false. Later calls see the
// renames noted: a renamed file is read, looked at and renamed again under its new name,
// and its old name is free for another rename (fileExists finds no file there). A rename
// cut off midway passes, as the real rename completes it. Listings are those of the
// disk, as a build lists a folder before it renames anything.
// removeLeftoverTemporaryFiles removes nothing: what a killed build left is no change of
// this one's. copyFileNoReplaceIf reads the start of `from` and returns what `accept`
// says of it, as the real copy would. A dry run is one build's: it is not shared between
// threads, and its dryRun() starts from the renames it noted.
//
//   std::unique_ptr<DryRunFileSystem> dry = disk.dryRun();
//   dry->rename("/a/x y.mp3", "/a/x_y.mp3");   // noted down; the disk keeps "x y.mp3"
//   dry->readFile("/a/x_y.mp3");               // the bytes of "/a/x y.mp3"
//   dry->fileExists("/a/x y.mp3");             // false
//   dry->onDisk("/a/x_y.mp3");                 // "/a/x y.mp3"
//   dry->createFileAtomically("/a/jacket.jpg", cover);   // throws if jacket.jpg is there
class DryRunFileSystem : public FileSystem {
 public:
  // Where the file `path` names lies on disk: a file renamed only in this dry run still
  // lies under its old name. For readers that reach the disk by ways of their own (tag
  // reading), so that they read what the real build would.
  virtual QString onDisk(const QString& path) const = 0;
};

// The error of a rename whose new name is taken: kFileAlreadyExists, naming both files.
inline RuntimeError renameTakenError(const QString& from, const QString& to) {
  return RuntimeError(
      ErrorCode::kFileAlreadyExists,
      QStringLiteral("「%1」を「%2」に名前を変更できません。同じ名前のファイルが既にあります。")
          .arg(from, to));
}

}  // namespace orv::platform

#include "platform/posix/NoReplaceRename.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace orv::platform {
namespace {

// Whether `to` is a second name of the very file `from` names, as a rename by linking
// that was cut off between its link and its unlink leaves it. lstat, so that a symbolic
// link named `to` that leads to `from` is never taken for the file itself; and only a
// file with two names, so that one entry reached under two spellings keeps its one name.
bool isSecondName(const char* from, const char* to) {
  struct stat source {};
  struct stat target {};
  if (::lstat(from, &source) != 0 || ::lstat(to, &target) != 0) return false;
  return source.st_dev == target.st_dev && source.st_ino == target.st_ino && source.st_nlink >= 2;
}

// `to` is taken. A second name of the file is completed by removing `from`; any other
// file under `to` stays taken (EEXIST).
int completeInterruptedRename(const char* from, const char* to) {
  if (!isSecondName(from, to)) return EEXIST;
  return ::unlink(from) == 0 ? 0 : errno;
}

}  // namespace

int renameNoReplace(const char* from, const char* to) {
  if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return 0;
  const int err = errno;
  // Some FUSE and network file systems know no RENAME_NOREPLACE and say so this way.
  if (err == EINVAL || err == ENOSYS || err == EOPNOTSUPP) return renameByLinking(from, to);
  if (err == EEXIST) return completeInterruptedRename(from, to);
  return err;
}

int renameByLinking(const char* from, const char* to) {
  if (::link(from, to) != 0) {
    return errno == EEXIST ? completeInterruptedRename(from, to) : errno;
  }
  if (::unlink(from) != 0) {
    const int err = errno;
    ::unlink(to);
    return err;
  }
  return 0;
}

int renameTargetRefusal(const char* from, const char* to) {
  struct stat target {};
  if (::lstat(to, &target) != 0) return errno == ENOENT ? 0 : errno;
  return isSecondName(from, to) ? 0 : EEXIST;
}

}  // namespace orv::platform

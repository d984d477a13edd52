#include "platform/posix/NoReplaceRename.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace orv::platform {

int renameNoReplace(const char* from, const char* to) {
  if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return 0;
  const int err = errno;
  // Some FUSE and network file systems know no RENAME_NOREPLACE and say so this way.
  if (err == EINVAL || err == ENOSYS || err == EOPNOTSUPP) return renameByLinking(from, to);
  return err;
}

int renameByLinking(const char* from, const char* to) {
  if (::link(from, to) != 0) return errno;
  if (::unlink(from) != 0) {
    const int err = errno;
    ::unlink(to);
    return err;
  }
  return 0;
}

}  // namespace orv::platform

#include "tests/support/Unprivileged.h"

#include <QFile>

#include <gtest/gtest.h>

#include <ftw.h>
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>

namespace orv::test {
namespace {

constexpr int kCannotRun = 77;  // the child's exit status when it could not run `body`

uid_t newOwner;  // for handOver, which nftw calls without context
gid_t newGroup;

int handOver(const char* path, const struct stat*, int, FTW*) {
  return ::lchown(path, newOwner, newGroup) == 0 ? 0 : errno;
}

[[noreturn]] void cannotRun(const char* why, const QByteArray& what) {
  std::printf("as nobody: %s %s: %s\n", why, what.constData(), std::strerror(errno));
  std::fflush(nullptr);
  ::_exit(kCannotRun);
}

// In the child: becomes the user for good, runs `body` and ends with 0, 1 for a failure,
// or kCannotRun.
[[noreturn]] void runAs(uid_t uid, gid_t gid, const QByteArray& folder,
                        const std::function<void()>& body) {
  if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0) {
    cannotRun("cannot become the user", "nobody");
  }
  if (::setuid(0) == 0) cannotRun("could become root again", "");
  if (::access(folder.constData(), R_OK | W_OK | X_OK) != 0) cannotRun("cannot reach", folder);
  try {
    body();
  } catch (const std::exception& e) {
    ADD_FAILURE() << "as nobody: exception " << e.what();
  } catch (...) {
    ADD_FAILURE() << "as nobody: an exception";
  }
  std::fflush(nullptr);
  ::_exit(testing::Test::HasFailure() ? 1 : 0);
}

}  // namespace

void asUnprivilegedUser(const QString& folder, const std::function<void()>& body) {
  if (::geteuid() != 0) {
    body();
    return;
  }
  const passwd* nobody = ::getpwnam("nobody");
  if (nobody == nullptr) GTEST_SKIP() << "root, and there is no user nobody to run as";
  newOwner = nobody->pw_uid;
  newGroup = nobody->pw_gid;
  const QByteArray path = QFile::encodeName(folder);
  ASSERT_EQ(::nftw(path.constData(), handOver, 16, FTW_PHYS), 0) << std::strerror(errno);

  std::fflush(nullptr);  // nothing buffered is printed twice
  const pid_t child = ::fork();
  ASSERT_GE(child, 0) << std::strerror(errno);
  if (child == 0) runAs(newOwner, newGroup, path, body);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) ASSERT_EQ(errno, EINTR) << std::strerror(errno);

  if (WIFEXITED(status) && WEXITSTATUS(status) == kCannotRun) {
    GTEST_SKIP() << "root, and the test could not run as nobody (see above)";
  }
  const bool passed = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  EXPECT_TRUE(passed) << "failed as the user nobody (see above); wait status " << status;
}

}  // namespace orv::test

#pragma once

#include <QString>

#include <functional>

namespace orv::test {

// Runs `body` where file permissions hold, so that a test of a refusal tests the
// refusal even when the tests run as root (as CI runs them). Not root: here, at once.
// Root: in a forked child that has become the user nobody, after `folder` and all in it
// were handed to that user; the child's failures print as they happen and fail the
// calling test. The test is skipped only where root can't become nobody, or nobody
// can't reach `folder`.
//
//   asUnprivilegedUser(dir.path(), [&] {
//     ::chmod(dir.path(), 0555);
//     EXPECT_EQ(errorOf([&] { fs.replaceFileAtomically(page, "x"); }).number(), 70);
//   });
void asUnprivilegedUser(const QString& folder, const std::function<void()>& body);

}  // namespace orv::test

#include "core/InParallel.h"

#include <gtest/gtest.h>

#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>

namespace orv {
namespace {

TEST(InParallel, RunsEachIndexOnceOnAtMostItsThreads) {
  const struct {
    std::size_t count;
    int jobs;
    std::size_t mostThreads;
  } cases[] = {{0, 4, 0}, {1, 4, 1}, {50, 1, 1}, {50, 3, 3}, {5, 0, 1}};
  for (const auto& c : cases) {
    std::mutex mutex;
    std::multiset<std::size_t> done;
    std::set<std::thread::id> threads;
    inParallel(c.count, c.jobs, [&](std::size_t i) {
      const std::lock_guard lock(mutex);
      done.insert(i);
      threads.insert(std::this_thread::get_id());
    });
    EXPECT_EQ(done.size(), c.count);
    EXPECT_EQ(std::set<std::size_t>(done.begin(), done.end()).size(), c.count);
    EXPECT_LE(threads.size(), c.mostThreads);
  }
}

// The first failure stops the rest: none starts after it, and it is raised to the caller.
TEST(InParallel, TheFirstFailureStopsTheRestAndIsRaised) {
  std::atomic<std::size_t> started{0};
  EXPECT_THROW(inParallel(1000, 1,
                          [&](std::size_t i) {
                            ++started;
                            if (i == 3) throw std::runtime_error("album 3");
                          }),
               std::runtime_error);
  EXPECT_EQ(started, 4u);
}

}  // namespace
}  // namespace orv

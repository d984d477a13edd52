#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace orv {

// Runs `work(i)` for each i in [0, count) on up to `jobs` threads, the calling one among
// them, each taking the next i as it finishes one. The first exception `work` raises
// stops the others from starting more, and is raised here once all are done.
//
//   inParallel(albums.size(), 2, [&](std::size_t i) { build(albums[i]); });
template <typename Work>
void inParallel(std::size_t count, int jobs, Work&& work) {
  std::atomic<std::size_t> next{0};
  std::exception_ptr failure;
  std::mutex mutex;
  const auto run = [&] {
    for (std::size_t i; (i = next++) < count;) {
      try {
        work(i);
      } catch (...) {
        const std::lock_guard lock(mutex);
        if (!failure) failure = std::current_exception();
        next = count;
      }
    }
  };
  {
    std::vector<std::jthread> others;
    const std::size_t threads =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(jobs, 1)), count);
    for (std::size_t t = 1; t < threads; ++t) others.emplace_back(run);
    run();
  }
  if (failure) std::rethrow_exception(failure);
}

}  // namespace orv

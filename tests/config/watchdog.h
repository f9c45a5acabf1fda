#pragma once

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <memory>
#include <thread>
#include <utility>

namespace Ostra::testing {

// A limit far above the time any guarded step needs: a safety net against
// deadlocks, not a measure of speed.
constexpr std::chrono::seconds kDeadlockLimit{180};

// Runs work on a thread of its own.  When it has not ended within the limit it
// is deadlocked: the whole test program fails at once, naming it, instead of
// hanging (the stuck thread could not be stopped, and it refers to the
// caller's objects).
inline void mustEndWithin(std::chrono::seconds limit, const char* what, std::function<void()> work) {
  auto done = std::make_shared<std::promise<void>>();
  std::future<void> ended = done->get_future();
  std::thread([work = std::move(work), done] {
    work();
    done->set_value();
  }).detach();
  if (ended.wait_for(limit) == std::future_status::ready) return;
  std::fprintf(stderr, "DEADLOCK: %s did not end within %lld s\n", what, static_cast<long long>(limit.count()));
  std::fflush(stderr);
  std::_Exit(1);
}

}  // namespace Ostra::testing

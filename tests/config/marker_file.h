#pragma once

#include <chrono>
#include <filesystem>
#include <thread>

#include "tests/config/watchdog.h"
#include "tests/support/child_process.h"

namespace Ostra::testing {

// Waits until the child has created the marker file; false when the child
// ended without it (or the deadlock limit passed).
inline bool waitForMarker(const std::filesystem::path& marker, ChildProcess& child) {
  const auto giveUp = std::chrono::steady_clock::now() + kDeadlockLimit;
  while (!std::filesystem::exists(marker)) {
    if (!child.running() || std::chrono::steady_clock::now() > giveUp) return std::filesystem::exists(marker);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

}  // namespace Ostra::testing

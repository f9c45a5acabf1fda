#pragma once

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "base/string.h"
#include "tests/support/win/window_driving_win.h"

namespace Ostra::testing {

// A message box as the watcher found it.
struct SeenBox {
  String text;
  HWND owner;
};

// Finds, on a thread of its own, the message boxes captioned `caption` of one
// process (a modal box blocks the thread that shows it), notes their text and
// owner and presses OK.  It gives up after a time limit, so a box that never
// comes fails the test instead of hanging it.
class BoxWatcher {
 public:
  explicit BoxWatcher(const String& caption, DWORD processId = GetCurrentProcessId());
  ~BoxWatcher();
  BoxWatcher(const BoxWatcher&) = delete;
  BoxWatcher& operator=(const BoxWatcher&) = delete;

  // Waits until `count` boxes were dismissed or the limit passed; the boxes seen.
  std::vector<SeenBox> waitFor(size_t count);
  // The boxes dismissed so far.
  std::vector<SeenBox> boxes();

 private:
  void watch();
  void look();

  const String caption_;
  const DWORD processId_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<SeenBox> boxes_;
  std::set<HWND> dismissed_;
  bool finished_ = false;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace Ostra::testing

#pragma once

#include <windows.h>

#include <atomic>
#include <thread>

namespace Ostra::testing {

// A shell that takes no icons: while it lives, Shell_NotifyIcon finds this
// window of the taskbar's class (on a thread of its own) before the real one,
// which refuses and counts every request.
class RefusingShell {
 public:
  RefusingShell();
  RefusingShell(const RefusingShell&) = delete;
  RefusingShell& operator=(const RefusingShell&) = delete;
  ~RefusingShell();
  int refused() const { return refused_.load(); }

 private:
  std::atomic<int> refused_{0};
  std::atomic<HWND> window_{nullptr};
  std::atomic<bool> ready_{false};
  std::thread thread_;
};

}  // namespace Ostra::testing

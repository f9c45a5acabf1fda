#pragma once

#include <windows.h>

#include <atomic>
#include <thread>

namespace Ostra::testing {

// A shell that is not taking icons: a window of the taskbar's class on a thread
// of its own.  Shell_NotifyIcon hands its request to the first such window it
// finds, this one while it lives, which refuses and counts every request.
class RefusingShell {
 public:
  RefusingShell();
  RefusingShell(const RefusingShell&) = delete;
  RefusingShell& operator=(const RefusingShell&) = delete;
  ~RefusingShell();

  int refused() const { return refused_.load(); }

 private:
  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

  std::atomic<int> refused_{0};
  std::atomic<HWND> window_{nullptr};
  std::atomic<bool> ready_{false};
  std::thread thread_;
};

}  // namespace Ostra::testing

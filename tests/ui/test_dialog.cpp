#include "test_dialog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace Ostra::testing {

namespace {

constexpr auto kDialogLimit = std::chrono::seconds(30);

}  // namespace

int runTestDialog(CWindow& window) {
  std::mutex mutex;
  std::condition_variable ended;
  bool done = false;
  std::atomic<bool> forced{false};
  std::thread watchdog([&] {
    std::unique_lock<std::mutex> lock(mutex);
    if (ended.wait_for(lock, kDialogLimit, [&] { return done; })) return;
    forced = true;
    lock.unlock();  // the dialog's thread takes it on its way out
    SendMessageTimeoutW(window.handle(), WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
  });
  const auto finish = [&] {
    {
      std::lock_guard<std::mutex> lock(mutex);
      done = true;
    }
    ended.notify_all();
    watchdog.join();
  };
  int result = -1;
  try {
    result = window.doModal(CModalDialogParameter(IDD_TEST));
  } catch (...) {
    finish();
    throw;
  }
  finish();
  EXPECT_FALSE(forced) << "the test dialog was still open after the time limit";
  return result;
}

void pumpMessages(int rounds) {
  for (int i = 0; i < rounds; ++i) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  }
}

}  // namespace Ostra::testing

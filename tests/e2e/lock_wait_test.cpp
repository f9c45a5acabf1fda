// Another copy that keeps a settings file's lock: the waiting timer still
// shows, paints and rings on time.
#include <gtest/gtest.h>

#include <chrono>

#include "base/platform_win.h"
#include "base/unique_handle_win.h"
#include "resources/resource.h"
#include "tests/e2e/kairon_process.h"
#include "tests/e2e/remote_window.h"
#include "tests/support/string_print.h"

namespace Ostra::e2e {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The lock of the program's default-settings file, as another copy holds it
// (the mutex is owned by this thread until the object goes).
class HeldLock {
 public:
  explicit HeldLock(const ProgramFolder& folder)
      : mutex_(CreateMutexW(nullptr, TRUE, wide(pathText(folder.settingsFile()).replaceAll(u"\\", u"/")))) {}
  ~HeldLock() {
    if (mutex_) ReleaseMutex(mutex_.get());
  }
  HeldLock(const HeldLock&) = delete;
  HeldLock& operator=(const HeldLock&) = delete;
  bool held() const { return static_cast<bool>(mutex_); }

 private:
  UniqueKernelHandle mutex_;
};

TEST(LockWait, TheDialogShowsAndRingsWhileALockIsWaitedFor) {
  ProgramFolder folder;
  {
    // At start-up: shown after about a second, not after the ten the lock is waited for.
    HeldLock lock(folder);
    ASSERT_TRUE(lock.held());
    const auto started = Clock::now();
    KaironProcess kairon(folder);
    HWND dialog = kairon.waitForDialog(8s);
    ASSERT_NE(nullptr, dialog) << "not shown while the lock was held; " << kairon.state();
    EXPECT_LT(Clock::now() - started, 8s);
  }
  KaironProcess kairon(folder);
  HWND dialog = kairon.waitForDialog();
  ASSERT_NE(nullptr, dialog) << kairon.state();
  setChecked(dialog, IDC_MINIMIZE_AT_START, false);
  setChecked(dialog, IDC_CLOSE_AT_END, false);
  setControlText(dialog, IDC_SECONDS, u"2");
  click(dialog, IDC_START);
  HeldLock lock(folder);
  ASSERT_TRUE(lock.held());
  const auto started = Clock::now();
  clickLater(dialog, IDC_SAVE_DEFAULT);
  // The countdown's end, while the save still waits for the lock.
  HWND box = kairon.waitForBox(u"メッセージ", 8s);
  ASSERT_NE(nullptr, box) << "no expiry while the lock was waited for; " << kairon.state();
  EXPECT_LT(Clock::now() - started, 8s);
  // The dialog answers meanwhile.
  DWORD_PTR answer = 0;
  EXPECT_NE(0, SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer));
  press(box);
}

}  // namespace
}  // namespace Ostra::e2e

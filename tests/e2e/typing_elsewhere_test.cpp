// An alarm that comes while the person types in another program shows itself
// without taking the keyboard: the keys go on to that program, and the
// message waits, unread, for its own OK.
#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <thread>

#include "resources/resource.h"
#include "tests/e2e/kairon_process.h"
#include "tests/e2e/remote_window.h"

namespace Ostra::e2e {
namespace {

using namespace std::chrono_literals;

// Another program's window in front, typing Space about every 150 ms on a
// thread of its own until destroyed.  Wine without a window manager hands the
// foreground to its desktop window when windows are mapped: the typist then
// takes it back, as the person's click would, but never from Kairon, and
// counts the keys typed while Kairon held it.
class Typist {
 public:
  explicit Typist(DWORD kaironProcess) : kaironProcess_(kaironProcess), thread_([this] { run(); }) {
    waitUntil(kShowLimit, [this] { return window_.load() != nullptr; });
  }
  ~Typist() {
    stop_ = true;
    thread_.join();
  }
  Typist(const Typist&) = delete;
  Typist& operator=(const Typist&) = delete;

  HWND window() const { return window_; }
  int spacesReceived() const { return spacesReceived_; }
  int typedIntoKairon() const { return typedIntoKairon_; }

 private:
  void run() {
    const HWND window = CreateWindowExW(0, L"STATIC", L"typist", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                                        nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(window);
    window_ = window;
    while (!stop_) {
      DWORD owner = 0;
      const HWND foreground = GetForegroundWindow();
      GetWindowThreadProcessId(foreground, &owner);
      if (owner == kaironProcess_) ++typedIntoKairon_;
      if (owner != kaironProcess_ && foreground != window) SetForegroundWindow(window);
      INPUT keys[2]{};
      keys[0].type = keys[1].type = INPUT_KEYBOARD;
      keys[0].ki.wVk = keys[1].ki.wVk = VK_SPACE;
      keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
      SendInput(2, keys, sizeof keys[0]);
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 150, QS_ALLINPUT);
      for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) {
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_SPACE) ++spacesReceived_;
        DispatchMessageW(&msg);
      }
    }
    DestroyWindow(window);
  }

  const DWORD kaironProcess_;
  std::atomic<int> spacesReceived_{0}, typedIntoKairon_{0};
  std::atomic<bool> stop_{false};
  std::atomic<HWND> window_{nullptr};
  std::thread thread_;
};

TEST(TypingElsewhere, TheAlarmShowsWithoutTakingTheKeysAndItsMessageWaitsForItsOk) {
  ProgramFolder folder;
  KaironProcess kairon(folder);
  const HWND dialog = kairon.waitForDialog();
  ASSERT_NE(nullptr, dialog) << "no timer dialog; " << kairon.state();
  setControlText(dialog, IDC_SECONDS, u"6");
  setControlText(dialog, IDC_MESSAGE_TEXT, u"会議の時間です");
  setChecked(dialog, IDC_MINIMIZE_AT_START, true);
  setChecked(dialog, IDC_CLOSE_AT_END, false);

  click(dialog, IDC_START);
  ASSERT_TRUE(waitUntil(kAnswerLimit, [&] { return !IsWindowVisible(dialog); })) << "not in the tray";
  // The person goes on in another program.
  std::optional<Typist> typing;
  const Typist& typist = typing.emplace(kairon.id());
  ASSERT_NE(nullptr, typist.window());
  ASSERT_EQ(typist.window(), GetForegroundWindow());
  const HWND box = kairon.waitForBox(u"メッセージ", 15s);
  ASSERT_NE(nullptr, box) << "no message box; " << kairon.state();
  const int spacesAtExpiry = typist.spacesReceived();
  // Typing on: not one Space reaches the box.
  std::this_thread::sleep_for(1500ms);
  EXPECT_TRUE(IsWindow(box)) << "a Space typed elsewhere dismissed the message";
  EXPECT_EQ(0, typist.typedIntoKairon()) << "the alarm took the keyboard";
  EXPECT_GT(typist.spacesReceived(), spacesAtExpiry + 3) << "the keys stopped reaching the program in use";
  EXPECT_TRUE(isShown(dialog)) << "the dialog did not come back from the notification area";
  EXPECT_NE(0, GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST) << "not above the program in use";

  // The person comes to the message: the dialog is no longer kept above the others.
  typing.reset();
  SetForegroundWindow(box);
  press(box);
  EXPECT_TRUE(waitUntil(kAnswerLimit, [&] { return !IsWindow(box); }));
  EXPECT_TRUE(waitUntil(kAnswerLimit, [&] { return isEnabled(dialog, IDC_START); }));
  EXPECT_TRUE(waitUntil(kAnswerLimit, [&] { return (GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0; }));
}

}  // namespace
}  // namespace Ostra::e2e

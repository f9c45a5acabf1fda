// Snooze on the real program and the real clock: the message's second button
// puts the alarm off by the set minutes, and then the same message rings again.
#include <gtest/gtest.h>

// windows.h (through platform_win.h) must come before commctrl.h.
#include "base/platform_win.h"

#include <commctrl.h>

#include "resources/resource.h"
#include "tests/e2e/kairon_process.h"
#include "tests/e2e/remote_window.h"
#include "tests/e2e/settings_file.h"
#include "tests/support/string_print.h"
#include "tests/support/temp_dir.h"

namespace Ostra::e2e {
namespace {

using namespace std::chrono_literals;

// The message box's "1分後にもう一度(&Z)" button.
constexpr WPARAM kSnoozeButton = 100;

TEST(Snooze, TheSameMessageRingsAgainAfterTheSnooze) {
  ProgramFolder folder;
  testing::writeBytes(folder.settingsFile(),
                      settingsFileBytes(withValues(defaultSettings(), {{u"TimeS", u"1"},
                                                                       {u"MinimizeWithStart", u"false"},
                                                                       {u"NotifyMsgText", u"お茶"},
                                                                       {u"SnoozeMinutes", u"1"}})));
  KaironProcess kairon(folder);
  HWND dialog = kairon.waitForDialog();
  ASSERT_NE(nullptr, dialog) << "no timer dialog; " << kairon.state();
  click(dialog, IDC_START);
  HWND box = kairon.waitForBox(u"メッセージ", 10s);
  ASSERT_NE(nullptr, box) << "no message; " << kairon.state();
  // The documented way to press a task dialog's button from outside its code.
  PostMessageW(box, TDM_CLICK_BUTTON, kSnoozeButton, 0);
  ASSERT_TRUE(waitUntil(kShowLimit, [&] { return !IsWindow(box); })) << "the message stayed";
  EXPECT_TRUE(waitUntil(kShowLimit, [&] { return titleStartsWith(dialog, u"（スヌーズ）あと0"); }))
      << toUtf8(windowTitle(dialog));

  box = kairon.waitForBox(u"メッセージ", 75s);
  ASSERT_NE(nullptr, box) << "the snoozed alarm did not ring; " << kairon.state();
  press(box);
  // The end of the ringing closes the program, as at any end with 終了時に閉じる.
  EXPECT_TRUE(kairon.waitForExit(kAnswerLimit).has_value()) << "the program did not end after the message";
}

}  // namespace
}  // namespace Ostra::e2e

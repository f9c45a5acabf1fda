// A countdown from the Start button to the message at expiry and the end of
// the program, watched through the window title.
#include <gtest/gtest.h>

#include <vector>

#include "resources/resource.h"
#include "tests/e2e/kairon_process.h"
#include "tests/e2e/remote_window.h"
#include "tests/e2e/settings_file.h"
#include "tests/support/string_print.h"
#include "tests/support/temp_dir.h"

namespace Ostra::e2e {
namespace {

using namespace std::chrono_literals;

TEST(Countdown, TitleCountsDownThenTheMessageShowsAndTheProgramEnds) {
  ProgramFolder folder;
  KaironProcess kairon(folder);
  HWND dialog = kairon.waitForDialog();
  ASSERT_NE(nullptr, dialog) << "no timer dialog; " << kairon.state();

  const String message = u"お茶が入りました\r\n湯呑みは二つです";
  setControlText(dialog, IDC_SECONDS, u"3");
  setControlText(dialog, IDC_MESSAGE_TEXT, message);
  // Hiding a window takes Wine two seconds without a window manager, which
  // would hide most of this count: the dialog stays on the screen here.
  setChecked(dialog, IDC_MINIMIZE_AT_START, false);
  // Message and close at end are on from the defaults.
  click(dialog, IDC_START);

  std::vector<String> titles;
  HWND box = nullptr;
  waitUntil(10s, [&] {
    const String title = windowTitle(dialog);
    if (titles.empty() || titles.back() != title) titles.push_back(title);
    box = kairon.findWindow(L"#32770", u"メッセージ");
    return box != nullptr || !kairon.running();
  });
  ASSERT_NE(nullptr, box) << "no message box 10 s after a 3-second start; " << kairon.state();

  // Until the box is dismissed the count 0 stays in the title.
  const std::vector<String> counted = {u"あと03秒 / Kairon build-6", u"あと02秒 / Kairon build-6",
                                       u"あと01秒 / Kairon build-6", u"あと00秒 / Kairon build-6"};
  EXPECT_EQ(counted, titles);
  EXPECT_TRUE(isShown(dialog));
  DWORD foreground = 0;
  GetWindowThreadProcessId(GetForegroundWindow(), &foreground);
  EXPECT_EQ(kairon.id(), foreground) << "the program is not in front at expiry";
  EXPECT_EQ(message, messageBoxText(box));

  press(box);
  const auto exitCode = kairon.waitForExit(kAnswerLimit);
  ASSERT_TRUE(exitCode.has_value()) << "the program did not end after the message with 終了時に閉じる";
  EXPECT_EQ(0u, *exitCode);
}

TEST(Countdown, AMinimisedDialogComesBackInFrontAndStaysIdleWithoutCloseAtEnd) {
  ProgramFolder folder;
  KaironProcess kairon(folder);
  HWND dialog = kairon.waitForDialog();
  ASSERT_NE(nullptr, dialog) << "no timer dialog; " << kairon.state();

  const std::string firstSettings = testing::readBytes(folder.settingsFile());
  setControlText(dialog, IDC_SECONDS, u"2");
  setChecked(dialog, IDC_MINIMIZE_AT_START, true);
  setChecked(dialog, IDC_CLOSE_AT_END, false);
  click(dialog, IDC_START);
  EXPECT_FALSE(IsWindowVisible(dialog)) << "the dialog stays on the screen after Start with 開始時に最小化する";

  HWND box = kairon.waitForBox(u"メッセージ", 10s);
  ASSERT_NE(nullptr, box) << "no message box; " << kairon.state();
  EXPECT_TRUE(isShown(dialog)) << "the dialog did not come back from the notification area";
  DWORD foreground = 0;
  GetWindowThreadProcessId(GetForegroundWindow(), &foreground);
  EXPECT_EQ(kairon.id(), foreground) << "the program is not in front at expiry";
  EXPECT_EQ(String(u"あと00秒 / Kairon build-6"), windowTitle(dialog));
  // An empty message still shows its box.
  EXPECT_EQ(String(), messageBoxText(box));

  press(box);
  ASSERT_TRUE(waitUntil(kAnswerLimit, [&] { return windowTitle(dialog) == String(u"Kairon build-6"); }))
      << "title after the message: " << toUtf8(windowTitle(dialog));
  EXPECT_TRUE(kairon.running());
  EXPECT_TRUE(isShown(dialog));
  EXPECT_TRUE(isEnabled(dialog, IDC_START));
  EXPECT_FALSE(isEnabled(dialog, IDC_CANCEL));
  EXPECT_TRUE(isEnabled(dialog, IDC_SECONDS));
  // The fields keep what was typed; nothing is saved at expiry.
  EXPECT_EQ(String(u"2"), controlText(dialog, IDC_SECONDS));
  EXPECT_EQ(firstSettings, testing::readBytes(folder.settingsFile()));
}

TEST(Countdown, EscapeDoesNothingAndTheCloseBoxEndsARunningCountdown) {
  ProgramFolder folder;
  KaironProcess kairon(folder);
  HWND dialog = kairon.waitForDialog();
  ASSERT_NE(nullptr, dialog) << "no timer dialog; " << kairon.state();
  setControlText(dialog, IDC_MINUTES, u"5");
  setChecked(dialog, IDC_MINIMIZE_AT_START, false);
  click(dialog, IDC_START);
  ASSERT_TRUE(titleStartsWith(dialog, u"あと05分00秒")) << toUtf8(windowTitle(dialog));

  // The Escape key reaches a dialog as the command IDCANCEL.
  sendAndWait(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  EXPECT_TRUE(isShown(dialog));
  EXPECT_TRUE(titleStartsWith(dialog, u"あと")) << toUtf8(windowTitle(dialog));
  EXPECT_TRUE(isEnabled(dialog, IDC_CANCEL));

  PostMessageW(dialog, WM_CLOSE, 0, 0);
  const auto exitCode = kairon.waitForExit(kAnswerLimit);
  ASSERT_TRUE(exitCode.has_value()) << "the close box did not end the program; " << kairon.state();
  EXPECT_EQ(0u, *exitCode);
}

// A repeating countdown: each run starts when the message before it is
// closed, and the program closes at the end of the last one only.
TEST(Runs, ThreeShortRunsEndAfterTheThird) {
  ProgramFolder folder;
  testing::writeBytes(
      folder.settingsFile(),
      settingsFileBytes(withValues(
          defaultSettings(),
          {{u"TimeS", u"1"}, {u"MinimizeWithStart", u"false"}, {u"NotifyMsgText", u"休憩"}, {u"RepeatCount", u"3"}})));
  KaironProcess kairon(folder);
  HWND dialog = kairon.waitForDialog();
  ASSERT_NE(nullptr, dialog) << "no timer dialog; " << kairon.state();
  click(dialog, IDC_START);
  for (int run = 1; run <= 3; ++run) {
    HWND box = kairon.waitForBox(u"メッセージ", 10s);
    ASSERT_NE(nullptr, box) << "run " << run << " did not ring; " << kairon.state();
    const String label = String::format(u"（%d/3）", run);
    EXPECT_TRUE(titleStartsWith(dialog, label)) << run << ": " << toUtf8(windowTitle(dialog));
    press(box);
    ASSERT_TRUE(waitUntil(kShowLimit, [&] { return !IsWindow(box); })) << "the message stayed";
    if (run < 3) {
      EXPECT_FALSE(kairon.waitForExit(0ms).has_value()) << "closed after run " << run;
    }
  }
  // 終了時に閉じる, as at the end of any ringing, but only now.
  EXPECT_TRUE(kairon.waitForExit(kAnswerLimit).has_value()) << "the program did not end after the third run";
}

}  // namespace
}  // namespace Ostra::e2e

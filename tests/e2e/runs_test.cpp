// A repeating countdown on the real program and the real clock: each run
// starts when the message before it is closed, and the program closes at
// the end of the last one only.
#include <gtest/gtest.h>

#include "base/platform_win.h"
#include "resources/resource.h"
#include "tests/e2e/kairon_process.h"
#include "tests/e2e/remote_window.h"
#include "tests/e2e/settings_file.h"
#include "tests/support/string_print.h"
#include "tests/support/temp_dir.h"

namespace Ostra::e2e {
namespace {

using namespace std::chrono_literals;

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

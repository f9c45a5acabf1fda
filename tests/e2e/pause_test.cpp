// Pause, extend and resume on the real program, through the commands its
// system menu sends.
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "tests/e2e/kairon_process.h"
#include "tests/e2e/remote_window.h"
#include "tests/support/string_print.h"

namespace Ostra::e2e {
namespace {

TEST(Pause, PausedCountdownStandsStillTakesAnExtensionAndGoesOnWhenResumed) {
  ProgramFolder folder;
  KaironProcess kairon(folder);
  HWND dialog = kairon.waitForDialog();
  ASSERT_NE(nullptr, dialog) << "no timer dialog; " << kairon.state();
  setChecked(dialog, IDC_MINIMIZE_AT_START, false);
  setControlText(dialog, IDC_MINUTES, u"10");
  click(dialog, IDC_START);
  ASSERT_TRUE(waitUntil(kShowLimit, [&] { return titleStartsWith(dialog, u"あと09分5"); })) << kairon.state();

  sendAndWait(dialog, WM_SYSCOMMAND, IDM_PAUSE, 0);
  const String paused = windowTitle(dialog);
  EXPECT_TRUE(titleStartsWith(dialog, u"（一時停止）あと09分5")) << toUtf8(paused);
  Sleep(2500);
  EXPECT_EQ(paused, windowTitle(dialog)) << "the paused count moved";

  sendAndWait(dialog, WM_SYSCOMMAND, IDM_EXTEND_LONG, 0);
  EXPECT_TRUE(titleStartsWith(dialog, u"（一時停止）あと14分5")) << toUtf8(windowTitle(dialog));
  sendAndWait(dialog, WM_SYSCOMMAND, IDM_PAUSE, 0);
  const String resumed = windowTitle(dialog);
  EXPECT_EQ(String(u"あと14") + paused.substring(10), resumed);
  EXPECT_TRUE(waitUntil(kShowLimit, [&] { return windowTitle(dialog) != resumed; })) << "no count after the resume";
  EXPECT_TRUE(titleStartsWith(dialog, u"あと14分5")) << toUtf8(windowTitle(dialog));
}

}  // namespace
}  // namespace Ostra::e2e

// The ringing's options on the real dialog, set in the default-settings file:
// the sound repeated while the message is up, and the time since the end.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "app/alarm_options.h"
#include "app/settings.h"
#include "config/config_data.h"
#include "resources/resource.h"
#include "tests/app/dialog_session_win.h"
#include "tests/app/window_search_win.h"
#include "tests/support/win/window_driving_win.h"

namespace Ostra::testing {
namespace {

using AlarmOptionsDialog = TimerDialogTest;

void writeOptions(const AlarmOptions& options) {
  CConfigData settings;
  writeDefaults(settings);
  settings.setBool(u"MinimizeWithStart", false);
  settings.setBool(u"CloseWithEnd", false);
  settings.setBool(u"NotifyMsg", false);
  writeAlarmOptions(settings, options);
  ASSERT_TRUE(settings.saveDefault());
}

size_t count(const std::vector<std::string>& names, const std::string& name) {
  return static_cast<size_t>(std::count(names.begin(), names.end(), name));
}

TEST_F(AlarmOptionsDialog, TheSoundRepeatsUnderTheMessageUntilItsOK) {
  AlarmOptions options;
  options.repeat = true;
  options.repeatMinutes = 1;
  writeOptions(options);
  DialogSession session;
  session.run([&](DialogDriver& d) {
    d.setChecked(IDC_SOUND_ON, true);
    d.setChecked(IDC_MESSAGE_ON, true);
    d.setText(IDC_SECONDS, u"1");
    d.command(IDC_START);
    d.tick();
    // The message at once, and the sound again and again behind it (each ends at once here).
    const HWND box = d.waitForWindow(u"メッセージ");
    EXPECT_TRUE(waitUntil(kWaitLimit, [&] { return count(session.eventNames(), "sound") >= 3; }));
    d.dismiss(box);
    EXPECT_TRUE(d.waitIdle());
    const size_t played = count(session.eventNames(), "sound");
    Sleep(1500);
    EXPECT_EQ(played, count(session.eventNames(), "sound")) << "OK stopped it";
  });
}

TEST_F(AlarmOptionsDialog, TheRepeatStopsAtItsLimitAndTheMessageStays) {
  AlarmOptions options;
  options.repeat = true;
  options.repeatMinutes = 1;
  writeOptions(options);
  DialogSession session;
  session.run([&](DialogDriver& d) {
    d.setChecked(IDC_SOUND_ON, true);
    d.setChecked(IDC_MESSAGE_ON, true);
    d.setText(IDC_SECONDS, u"1");
    d.command(IDC_START);
    d.tick();
    const HWND box = d.waitForWindow(u"メッセージ");
    EXPECT_TRUE(waitUntil(kWaitLimit, [&] { return count(session.eventNames(), "sound") >= 2; }));
    // A minute later by the clock the next gap ends the sound.
    FakeClock::advance(61000);
    Sleep(2500);
    const size_t played = count(session.eventNames(), "sound");
    Sleep(1500);
    EXPECT_EQ(played, count(session.eventNames(), "sound"));
    EXPECT_TRUE(IsWindow(box)) << "the message stays until OK";
    d.dismiss(box);
    EXPECT_TRUE(d.waitIdle());
  });
}

TEST_F(AlarmOptionsDialog, TheTimeSinceTheEndUntilTheNextStart) {
  AlarmOptions options;
  options.showElapsed = true;
  writeOptions(options);
  DialogSession session;
  session.run([&](DialogDriver& d) {
    d.setText(IDC_SECONDS, u"1");
    d.command(IDC_START);
    d.tick();
    EXPECT_TRUE(d.waitIdle());
    d.tick(133000);
    EXPECT_EQ(String(u"終了から02分13秒 / Kairon build-6"), d.caption());
    d.tick(3600000);
    EXPECT_EQ(String(u"終了から1時間02分13秒 / Kairon build-6"), d.caption());
    d.command(IDC_START);
    EXPECT_EQ(String(u"あと01秒 / Kairon build-6"), d.caption());
  });
}

TEST_F(AlarmOptionsDialog, WithoutTheOptionTheIdleCaptionAsBefore) {
  writeOptions(AlarmOptions{});
  DialogSession session;
  session.run([&](DialogDriver& d) {
    d.setText(IDC_SECONDS, u"1");
    d.command(IDC_START);
    d.tick();
    EXPECT_TRUE(d.waitIdle());
    d.tick(133000);
    EXPECT_EQ(String(u"Kairon build-6"), d.caption());
  });
}

}  // namespace
}  // namespace Ostra::testing

// A countdown kept on time past sleep, clock changes and late timers, and what
// the system shows of it.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "app/wake_timer_win.h"
#include "resources/resource.h"
#include "tests/app/dialog_session_win.h"

namespace Ostra::testing {
namespace {

constexpr char16_t kIdleCaption[] = u"Kairon build-6";

void prepare(DialogDriver& d, const char16_t* hours, const char16_t* seconds, bool timeOfDay) {
  d.setChecked(IDC_MINIMIZE_AT_START, false);
  d.setChecked(IDC_MESSAGE_ON, false);
  d.setChecked(IDC_CLOSE_AT_END, false);
  d.setChecked(IDC_TIME_OF_DAY, timeOfDay);
  d.setText(IDC_HOURS, hours);
  d.setText(IDC_MINUTES, u"");
  d.setText(IDC_SECONDS, seconds);
}

TEST(WakeTimer, PostsItsMessageAtTheDueTimeOnceWatchedUnlessDisarmed) {
  constexpr UINT kMessage = WM_APP + 7;
  enum class Watch { Never, AtArm, AfterDue };
  const struct {
    int64_t leftMs;
    bool disarm;
    Watch watch;
    bool posted;
  } cases[] = {{300, false, Watch::AtArm, true},    {300, true, Watch::AtArm, false},
               {-2000, false, Watch::AtArm, true},  {300, false, Watch::Never, false},
               {100, false, Watch::AfterDue, true}, {100, true, Watch::AfterDue, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.leftMs << (c.disarm ? " disarmed" : "") << " watch "
                                      << static_cast<int>(c.watch));
    const HWND window = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    {
      CWakeTimer timer(window, kMessage);
      const ULONGLONG armed = GetTickCount64();
      // Wine leaves an error code behind a successful call: that is no failure.
      ASSERT_TRUE(timer.arm(c.leftMs));
      // No thread while the computer is awake.
      EXPECT_FALSE(timer.watching());
      if (c.watch == Watch::AtArm) {
        ASSERT_TRUE(timer.watch());
      }
      if (c.watch == Watch::AfterDue) Sleep(static_cast<DWORD>(c.leftMs) + 200);
      if (c.disarm) timer.disarm();
      if (c.watch == Watch::AfterDue) {
        ASSERT_TRUE(timer.watch());
      }
      MSG msg{};
      bool posted = false;
      while (!posted && GetTickCount64() - armed < 1500) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_POSTMESSAGE);
        posted = PeekMessageW(&msg, window, kMessage, kMessage, PM_REMOVE) != FALSE;
      }
      EXPECT_EQ(c.posted, posted);
      // Not before it is due (the clocks tick in steps of up to 16 ms).
      if (posted) {
        EXPECT_GE(GetTickCount64() - armed + 20, static_cast<ULONGLONG>(std::max<int64_t>(c.leftMs, 0)));
      }
    }
    DestroyWindow(window);
  }
}

using CountdownOnTime = TimerDialogTest;

TEST_F(CountdownOnTime, WakeResumeAndClockChangesRecheckTheDeadlineWithoutATick) {
  const struct {
    bool timeOfDay;
    int64_t advance;   // on the monotonic clock
    int64_t setClock;  // the user sets the wall clock on by this much
    UINT message;
    WPARAM wParam;
    const char16_t* caption;
  } cases[] = {
      {false, 30000, 0, CAppWindow::WakeMessage, 0, kIdleCaption},
      {false, 30000, 0, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, kIdleCaption},
      {false, 10000, 0, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, u"あと20秒 / Kairon build-6"},
      // 7:00:00 entered at 6:59:30: the clock set 20 s on leaves 10 s, set back leaves more.
      {true, 0, 20000, WM_TIMECHANGE, 0, u"あと10秒 / Kairon build-6"},
      {true, 0, -60000, WM_TIMECHANGE, 0, u"あと01分30秒 / Kairon build-6"},
      {false, 0, 20000, WM_TIMECHANGE, 0, u"あと30秒 / Kairon build-6"},
  };
  DialogSession session;
  session.run([&](DialogDriver& d) {
    for (const auto& c : cases) {
      SCOPED_TRACE(::testing::Message() << c.message << " " << c.timeOfDay << " " << c.setClock);
      FakeClock::set(9000000, {6, 59, 30, 0});
      prepare(d, c.timeOfDay ? u"7" : u"", c.timeOfDay ? u"" : u"30", c.timeOfDay);
      d.command(IDC_START);
      FakeClock::advance(c.advance);
      FakeClock::setWallClock(c.setClock);
      d.deliver(c.message, c.wParam);
      d.sync();  // and the wake message its handler posts
      EXPECT_EQ(String(c.caption), d.caption());
      if (d.enabled(IDC_CANCEL)) d.command(IDC_CANCEL);
    }
  });
}

TEST_F(CountdownOnTime, AWakeDuringTheExpiryDoesNotExpireAgain) {
  DialogSession session;
  session.run([&](DialogDriver& d) {
    prepare(d, u"", u"1", false);
    d.setChecked(IDC_BEEP, true);
    d.setChecked(IDC_MESSAGE_ON, true);
    d.command(IDC_START);
    d.tick();  // the window timer's expiry, waiting in its message box
    const HWND box = d.waitForWindow(u"メッセージ");
    ASSERT_NE(nullptr, box);
    d.deliver(CAppWindow::WakeMessage);  // the wake timer, due at the same moment
    d.dismiss(box);
    EXPECT_EQ(String(kIdleCaption), d.caption());
  });
  EXPECT_EQ(std::vector<std::string>{"beep"}, session.eventNames());
}

// Awake while counting; awake and lit from the expiry's start until its
// notifications are over (woken from sleep, the computer would sleep again).
TEST_F(CountdownOnTime, KeepsTheComputerAwakeWhileCountingAndNotifying) {
  constexpr EXECUTION_STATE kHold = ES_CONTINUOUS | ES_SYSTEM_REQUIRED, kRelease = ES_CONTINUOUS,
                            kLit = ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED;
  DialogSession session;
  session.run([&](DialogDriver& d) {
    prepare(d, u"", u"2", false);
    d.command(IDC_START);
    d.command(IDC_CANCEL);
    d.command(IDC_START);
    d.tick();
    d.tick();  // expiry without notifications
    d.setChecked(IDC_MESSAGE_ON, true);
    d.command(IDC_START);
    d.tick(2000);
    const HWND box = d.waitForWindow(u"メッセージ");
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(kLit, session.executionStates().back()) << "while the box is up";
    d.dismiss(box);
    d.command(IDC_START);
    d.closeBox();
    EXPECT_TRUE(d.waitClosed());
  });
  EXPECT_EQ(
      (std::vector<EXECUTION_STATE>{kHold, kRelease, kHold, kLit, kRelease, kHold, kLit, kRelease, kHold, kRelease}),
      session.executionStates());
}

// The power events reach the rule of presence_rules: nothing held through a
// sleep; after an automatic wake only the alarm's own (due within two minutes).
TEST_F(CountdownOnTime, SleepLetsGoAndOnlyThePersonOrTheAlarmsOwnWakeHoldsAgain) {
  constexpr EXECUTION_STATE kHold = ES_CONTINUOUS | ES_SYSTEM_REQUIRED, kRelease = ES_CONTINUOUS;
  DialogSession session;
  session.run([&](DialogDriver& d) {
    prepare(d, u"", u"300", false);
    d.command(IDC_START);
    for (const WPARAM event : {PBT_APMSUSPEND, PBT_APMRESUMEAUTOMATIC, PBT_APMRESUMESUSPEND, PBT_APMSUSPEND})
      d.deliver(WM_POWERBROADCAST, event);
    FakeClock::advance(181000);  // asleep until 119 s before the deadline
    d.deliver(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC);
  });
  EXPECT_EQ((std::vector<EXECUTION_STATE>{kHold, kRelease, kHold, kRelease, kHold, kRelease}),
            session.executionStates());
}

// While a screen reader runs and the dialog is in front, its title changes once
// a minute and each second of the last ten; the tooltip every second.
TEST_F(CountdownOnTime, ScreenReaderHearsTheTitleOnceAMinuteAndInTheLastTenSeconds) {
  BOOL before = FALSE;
  SystemParametersInfoW(SPI_GETSCREENREADER, 0, &before, 0);
  if (!SystemParametersInfoW(SPI_SETSCREENREADER, TRUE, nullptr, 0)) GTEST_SKIP() << "no screen-reader flag";
  std::vector<std::string> titles;
  DialogSession session;
  session.run([&](DialogDriver& d) {
    prepare(d, u"", u"62", false);
    d.command(IDC_START);
    d.activate();
    for (int i = 0; i < 54; ++i) {
      d.tick();
      if (titles.empty() || titles.back() != toUtf8(d.caption())) titles.push_back(toUtf8(d.caption()));
      if (i == 31) {
        EXPECT_EQ(String(u"あと30秒 / Kairon build-6"), d.trayTip());
      }
    }
  });
  SystemParametersInfoW(SPI_SETSCREENREADER, before, nullptr, 0);
  EXPECT_EQ(
      (std::vector<std::string>{"あと01分02秒 / Kairon build-6", "あと01分00秒 / Kairon build-6",
                                "あと10秒 / Kairon build-6", "あと09秒 / Kairon build-6", "あと08秒 / Kairon build-6"}),
      titles);
}

TEST_F(CountdownOnTime, OnlyASleepAnnouncedWhileCountingStartsTheWakeTimersWait) {
  DialogSession session;
  session.run([&](DialogDriver& d) {
    d.deliver(WM_POWERBROADCAST, PBT_APMSUSPEND);
    EXPECT_FALSE(d.wakeWatched()) << "idle";
    prepare(d, u"", u"30", false);
    d.command(IDC_START);
    d.tick();
    EXPECT_FALSE(d.wakeWatched()) << "counting, awake";
    d.deliver(WM_POWERBROADCAST, PBT_APMSUSPEND);
    EXPECT_TRUE(d.wakeWatched()) << "counting, going to sleep";
  });
}

TEST_F(CountdownOnTime, CaptionAndTaskbarShowTheStageIconDrawnForTheirSize) {
  DialogSession session;
  session.run([&](DialogDriver& d) {
    EXPECT_TRUE(d.windowIconsAre(IDI_IDLE));
    prepare(d, u"", u"12", false);
    d.command(IDC_START);
    EXPECT_TRUE(d.windowIconsAre(IDI_RUNNING));
    d.tick(3000);
    EXPECT_TRUE(d.windowIconsAre(IDI_DIGIT9));
    d.command(IDC_CANCEL);
    EXPECT_TRUE(d.windowIconsAre(IDI_IDLE));
  });
}

}  // namespace
}  // namespace Ostra::testing

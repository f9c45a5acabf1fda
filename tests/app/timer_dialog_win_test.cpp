// The timer dialog itself: which controls may be used when, the tray icon,
// the caption and stage icons of a countdown, and closing.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commdlg.h>

#include <iterator>
#include <memory>

#include "base/platform_win.h"
#include "resources/resource.h"
#include "tests/app/dialog_session_win.h"
#include "tests/app/window_search_win.h"
#include "tests/support/environment_variable.h"
#include "tests/support/temp_dir.h"
#include "tests/support/win/refusing_shell_win.h"

namespace Ostra::testing {
namespace {

constexpr char16_t kIdleCaption[] = u"Kairon build-6";

// A countdown whose end shows no box and leaves the dialog open.
void quietEnd(DialogDriver& d) {
  d.setChecked(IDC_MESSAGE_ON, false);
  d.setChecked(IDC_CLOSE_AT_END, false);
}

// A 30 s countdown with a quiet end, started.
void startThirtySeconds(DialogDriver& d, bool minimizeAtStart) {
  quietEnd(d);
  d.setChecked(IDC_MINIMIZE_AT_START, minimizeAtStart);
  d.setText(IDC_SECONDS, u"30");
  d.command(IDC_START);
}

void enterTime(DialogDriver& d, const char16_t* hours, const char16_t* minutes, const char16_t* seconds) {
  d.setText(IDC_HOURS, hours);
  d.setText(IDC_MINUTES, minutes);
  d.setText(IDC_SECONDS, seconds);
}

// The folder an open file dialog shows (a pointer into this process: the dialog runs in it).
String shownFolder(HWND fileDialog) {
  wchar_t folder[MAX_PATH] = {};
  SendMessageTimeoutW(fileDialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder), SMTO_NORMAL,
                      kWaitLimitMilliseconds, nullptr);
  return fromWide(folder);
}

// The entries of the file dialog's type list.
std::vector<String> shownFilters(HWND fileDialog) {
  constexpr int kFileTypeListId = 0x470;
  const HWND list = GetDlgItem(fileDialog, kFileTypeListId);
  std::vector<String> filters;
  const LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t entry[256] = {};
    SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry));
    filters.push_back(fromWide(entry));
  }
  return filters;
}

using TimerDialog = TimerDialogTest;

TEST_F(TimerDialog, ControlsFollowTheStateAndTheCheckBoxes) {
  // Enabled only while idle, only while running, or always.
  const int idleOnly[] = {IDC_HOURS, IDC_MINUTES, IDC_SECONDS, IDC_TIME_OF_DAY, IDC_LOAD_TEMPLATE, IDC_START};
  const int always[] = {IDC_MESSAGE_ON,        IDC_BEEP,         IDC_SOUND_ON,     IDC_PROGRAM_ON,
                        IDC_MINIMIZE_AT_START, IDC_CLOSE_AT_END, IDC_SAVE_DEFAULT, IDC_SAVE_TEMPLATE};
  // Each check box and the controls it switches.
  const struct {
    int checkBox;
    std::vector<int> controls;
  } switched[] = {
      {IDC_MESSAGE_ON, {IDC_MESSAGE_TEXT}},
      {IDC_SOUND_ON, {IDC_SOUND_FILE, IDC_SOUND_BROWSE}},
      {IDC_PROGRAM_ON, {IDC_PROGRAM_FILE, IDC_PROGRAM_ARGUMENTS, IDC_PROGRAM_BROWSE}},
  };

  DialogSession session;
  session.run([&](DialogDriver& d) {
    d.setChecked(IDC_MINIMIZE_AT_START, false);
    quietEnd(d);
    d.setText(IDC_SECONDS, u"30");
    for (const bool running : {false, true, false}) {
      SCOPED_TRACE(running ? "running" : "idle");
      if (running) {
        d.command(IDC_START);
        // The keyboard keeps a place, on no button: the dialog itself.
        EXPECT_EQ(d.dialog(), d.focus());
      }
      for (const int id : idleOnly) EXPECT_EQ(!running, d.enabled(id)) << id;
      for (const int id : always) EXPECT_TRUE(d.enabled(id)) << id;
      EXPECT_EQ(running, d.enabled(IDC_CANCEL));
      // The check boxes switch their controls at once, also during a countdown.
      for (const auto& s : switched) {
        for (const bool on : {true, false, true}) {
          d.setChecked(s.checkBox, on);
          for (const int id : s.controls) EXPECT_EQ(on, d.enabled(id)) << s.checkBox << " " << on << " " << id;
        }
      }
      if (running) d.command(IDC_CANCEL);
    }
    EXPECT_EQ(IDC_START, d.focusedControl());
    EXPECT_EQ(String(kIdleCaption), d.caption());
    EXPECT_TRUE(d.classIconIs(IDI_IDLE));
  });
  EXPECT_TRUE(session.eventNames().empty()) << "cancel notifies nothing";
}

TEST_F(TimerDialog, KeysAfterStartCancelOnlyWhenCancelIsMeant) {
  DialogSession session;
  session.run([&](DialogDriver& d) {
    startThirtySeconds(d, false);
    // A second Enter, or a Space, right after the first: the countdown goes on.
    for (const UINT key : {VK_RETURN, VK_SPACE, VK_RETURN}) d.pressKey(key);
    EXPECT_EQ(String(u"あと30秒 / Kairon build-6"), d.caption());
    // Alt+C reaches Cancel, and so does Tab.
    d.pressAlt(u'c');
    EXPECT_TRUE(d.enabled(IDC_START));
    d.command(IDC_START);
    for (int i = 0; i < 30 && d.focusedControl() != IDC_CANCEL; ++i) d.pressKey(VK_TAB);
    EXPECT_EQ(IDC_CANCEL, d.focusedControl());
    d.pressKey(VK_SPACE);
    EXPECT_TRUE(d.enabled(IDC_START));
  });
}

TEST_F(TimerDialog, MinimisedWhileIdleLivesInTheTrayUntilClicked) {
  DialogSession session;
  session.run([](DialogDriver& d) {
    d.minimize();
    EXPECT_FALSE(d.visible());
    EXPECT_TRUE(d.trayIconIs(IDI_IDLE));
    EXPECT_EQ(String(kIdleCaption), d.trayTip());
    // A click brings it back, as a double click does; nothing else does.
    for (const UINT mouse : {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MOUSEMOVE}) {
      d.trayMouse(mouse);
      EXPECT_FALSE(d.visible()) << mouse;
      EXPECT_TRUE(d.tray().isShown()) << mouse;
    }
    for (const UINT click : {WM_LBUTTONUP, WM_LBUTTONDBLCLK}) {
      d.trayMouse(click);
      EXPECT_TRUE(d.visible() && !d.iconic() && !d.tray().isShown()) << click;
      d.minimize();
    }
  });
}

TEST_F(TimerDialog, AMinimiseTheShellRefusesStaysOnTheTaskbarUntilTheIconIsIn) {
  // Where the add is tried again: a tick 5 s after the refused one, or the taskbar coming up.
  for (const bool byTick : {true, false}) {
    SCOPED_TRACE(byTick ? "tick" : "TaskbarCreated");
    DialogSession session;
    session.run([&](DialogDriver& d) {
      startThirtySeconds(d, false);
      auto shell = std::make_unique<RefusingShell>();
      d.minimize();
      const int refused = shell->refused();
      for (int second = 1; second < 5; ++second) d.tick();
      EXPECT_EQ(refused, shell->refused()) << "tried again within 5 s";
      // Still on the taskbar (minimised, or restored by the modal loop's first show).
      EXPECT_TRUE(d.visible());
      EXPECT_FALSE(d.tray().isShown());
      shell.reset();
      if (byTick) {
        d.tick();
      } else {
        d.deliver(CTrayIcon::taskbarCreatedMessage());
      }
      EXPECT_FALSE(d.visible());
      EXPECT_TRUE(d.tray().isShown());
    });
  }
}

TEST_F(TimerDialog, TaskbarCreatedKeepsTheDialogInTheTrayOrBringsItBackToTheTaskbar) {
  DialogSession session;
  session.run([&](DialogDriver& d) {
    startThirtySeconds(d, true);
    ASSERT_TRUE(d.tray().isShown());
    // After a DPI change or a remote session: the shell still holds our icon.
    d.deliver(CTrayIcon::taskbarCreatedMessage());
    EXPECT_FALSE(d.visible());
    EXPECT_TRUE(d.tray().isShown());
    // A restarted shell that refuses the icon.
    auto shell = std::make_unique<RefusingShell>();
    d.deliver(CTrayIcon::taskbarCreatedMessage());
    EXPECT_TRUE(d.visible());
    EXPECT_FALSE(d.tray().isShown());
    shell.reset();
    d.tick(5000);
    EXPECT_FALSE(d.visible());
    EXPECT_TRUE(d.tray().isShown());
  });
}

TEST_F(TimerDialog, CaptionCountsDownOneSecondPerTick) {
  const struct {
    const char16_t* hours;
    const char16_t* minutes;
    const char16_t* seconds;
    std::vector<const char16_t*> captions;  // at the start, then after each tick
  } cases[] = {
      {u"", u"", u"3", {u"あと03秒", u"あと02秒", u"あと01秒"}},
      {u"1", u"", u"", {u"あと1時間00分00秒", u"あと59分59秒", u"あと59分58秒"}},
      {u"", u"90", u"", {u"あと1時間30分00秒", u"あと1時間29分59秒"}},
      {u"", u"1", u"1", {u"あと01分01秒", u"あと01分00秒", u"あと59秒"}},
      // Hours past 32 bits count the longest time there is, never a wrapped one.
      {u"4294967297", u"", u"", {u"あと596523時間14分07秒", u"あと596523時間14分06秒"}},
  };
  DialogSession session;
  session.run([&](DialogDriver& d) {
    d.setChecked(IDC_MINIMIZE_AT_START, false);
    quietEnd(d);
    for (const auto& c : cases) {
      SCOPED_TRACE(toUtf8(c.captions.front()));
      enterTime(d, c.hours, c.minutes, c.seconds);
      d.command(IDC_START);
      for (size_t i = 0; i < c.captions.size(); ++i) {
        if (i > 0) d.tick();
        EXPECT_EQ(String(c.captions[i]) + u" / Kairon build-6", d.caption()) << "tick " << i;
      }
      d.command(IDC_CANCEL);
      EXPECT_EQ(String(kIdleCaption), d.caption());
    }
  });
}

TEST_F(TimerDialog, StartWithMinimiseGoesToTheTrayWithTheStageIcon) {
  DialogSession session;
  session.run([](DialogDriver& d) {
    quietEnd(d);
    ASSERT_TRUE(d.checked(IDC_MINIMIZE_AT_START));
    d.setText(IDC_SECONDS, u"5");
    d.command(IDC_START);
    EXPECT_FALSE(d.visible());
    EXPECT_TRUE(d.trayIconIs(IDI_DIGIT5));
    EXPECT_EQ(String(u"あと05秒 / Kairon build-6"), d.trayTip());
    d.tick();
    EXPECT_TRUE(d.trayIconIs(IDI_DIGIT4));
    EXPECT_EQ(String(u"あと04秒 / Kairon build-6"), d.trayTip());
    // Back on the screen, the countdown goes on without the icon.
    d.trayMouse(WM_LBUTTONDBLCLK);
    EXPECT_TRUE(d.visible());
    EXPECT_FALSE(d.tray().isShown());
    d.tick();
    EXPECT_FALSE(d.tray().isShown());
    EXPECT_TRUE(d.classIconIs(IDI_DIGIT3));
    EXPECT_EQ(String(u"あと03秒 / Kairon build-6"), d.caption());
  });
}

TEST_F(TimerDialog, StageIconsShowTheLastNineSeconds) {
  const struct {
    const char16_t* seconds;
    std::vector<int> icons;  // at the start, then after each tick
  } cases[] = {
      {u"5", {IDI_DIGIT5, IDI_DIGIT4, IDI_DIGIT3, IDI_DIGIT2, IDI_DIGIT1, IDI_IDLE}},  // the last tick expires
      {u"12", {IDI_RUNNING, IDI_RUNNING, IDI_RUNNING, IDI_DIGIT9, IDI_DIGIT8}},
  };
  DialogSession session;
  session.run([&](DialogDriver& d) {
    d.setChecked(IDC_MINIMIZE_AT_START, false);
    quietEnd(d);
    for (const auto& c : cases) {
      SCOPED_TRACE(toUtf8(c.seconds));
      d.setText(IDC_SECONDS, c.seconds);
      d.command(IDC_START);
      for (size_t i = 0; i < c.icons.size(); ++i) {
        if (i > 0) d.tick();
        EXPECT_TRUE(d.classIconIs(c.icons[i])) << "tick " << i;
      }
      if (d.enabled(IDC_CANCEL)) d.command(IDC_CANCEL);
      EXPECT_TRUE(d.classIconIs(IDI_IDLE));
    }
  });
}

TEST_F(TimerDialog, TimeOfDayModeWaitsForTheWallClock) {
  const struct {
    const char16_t* hours;
    const char16_t* minutes;
    const char16_t* seconds;
    LocalTime now;
    const char16_t* atStart;
    int64_t firstTick;  // milliseconds to the first tick
    const char16_t* afterTick;
  } cases[] = {
      {u"7", u"", u"", {6, 59, 30, 0}, u"あと30秒", 1000, u"あと29秒"},
      // The deadline falls on the wall clock's second, not a whole count from the start.
      {u"7", u"", u"", {6, 59, 30, 400}, u"あと30秒", 600, u"あと29秒"},
      {u"7", u"", u"", {7, 0, 0, 0}, u"あと24時間00分00秒", 1000, u"あと23時間59分59秒"},
      {u"6", u"59", u"59", {7, 0, 0, 0}, u"あと23時間59分59秒", 1000, u"あと23時間59分58秒"},
      {u"30", u"", u"", {1, 0, 0, 0}, u"あと29時間00分00秒", 1000, u"あと28時間59分59秒"},
  };
  DialogSession session;
  session.run([&](DialogDriver& d) {
    d.setChecked(IDC_MINIMIZE_AT_START, false);
    quietEnd(d);
    d.setChecked(IDC_TIME_OF_DAY, true);
    for (const auto& c : cases) {
      SCOPED_TRACE(toUtf8(c.atStart));
      FakeClock::set(5000000, c.now);
      enterTime(d, c.hours, c.minutes, c.seconds);
      d.command(IDC_START);
      EXPECT_EQ(String(c.atStart) + u" / Kairon build-6", d.caption());
      d.tick(c.firstTick);
      EXPECT_EQ(String(c.afterTick) + u" / Kairon build-6", d.caption());
      d.command(IDC_CANCEL);
    }
  });
}

TEST_F(TimerDialog, StartWhileRunningCountsAgainFromTheFields) {
  DialogSession session;
  session.run([](DialogDriver& d) {
    d.setChecked(IDC_MINIMIZE_AT_START, false);
    quietEnd(d);
    d.setText(IDC_SECONDS, u"20");
    d.command(IDC_START);
    d.tick();
    d.tick();
    EXPECT_EQ(String(u"あと18秒 / Kairon build-6"), d.caption());
    d.command(IDC_START);
    EXPECT_EQ(String(u"あと20秒 / Kairon build-6"), d.caption());
    d.tick();
    EXPECT_EQ(String(u"あと19秒 / Kairon build-6"), d.caption());
  });
}

TEST_F(TimerDialog, EscapeDoesNothingAndTheCloseBoxEndsEvenACountdown) {
  DialogSession session;
  session.run([](DialogDriver& d) {
    d.setChecked(IDC_MINIMIZE_AT_START, false);
    d.setChecked(IDC_BEEP, true);
    d.setText(IDC_SECONDS, u"3");
    d.command(IDC_START);
    d.command(IDCANCEL);  // what the dialog manager makes of the Escape key
    EXPECT_TRUE(d.open());
    EXPECT_TRUE(d.visible());
    EXPECT_EQ(String(u"あと03秒 / Kairon build-6"), d.caption());
    d.closeBox();
    EXPECT_TRUE(d.waitClosed());
  });
  EXPECT_FALSE(session.closedBySession());
  // Closed without a notification.
  EXPECT_EQ(std::vector<std::string>{"close"}, session.eventNames());
}

TEST_F(TimerDialog, BrowseStartsBesideTheNamedFileAndTakesTheChoice) {
  TempDir media;
  std::filesystem::create_directories(media.file("sounds"));
  writeBytes(media.file("sounds/bell.wav"), "RIFF");
  writeBytes(media.file("sounds/tool.exe"), "MZ");
  // Environment references are expanded when the file is used.
  ScopedEnvironmentVariable where(u"KAIRON_TEST_MEDIA", media.string());
  const struct {
    int checkBox;
    int edit;
    int browse;
    const char16_t* title;
    std::vector<const char16_t*> filters;
    const char16_t* chosen;
    const char16_t* stem;  // what the dialog suggests
    bool cancelFirst;      // cancel once before choosing
  } cases[] = {
      {IDC_SOUND_ON,
       IDC_SOUND_FILE,
       IDC_SOUND_BROWSE,
       u"音ファイルの選択",
       {u"サウンド (*.wav;*.mp3;*.wma)", u"All Files (*.*)"},
       u"bell.wav",
       u"bell",
       true},
      {IDC_PROGRAM_ON,
       IDC_PROGRAM_FILE,
       IDC_PROGRAM_BROWSE,
       u"実行ファイルの選択",
       {u"Executable File (*.COM;*.EXE;*.BAT;*.CMD;*.VBS;*.VBE;*.JS;*.JSE;*.WSF;*.WSH)", u"All Files (*.*)"},
       u"tool.exe",
       u"tool",
       false},
  };
  DialogSession session;
  session.run([&](DialogDriver& d) {
    for (const auto& c : cases) {
      SCOPED_TRACE(toUtf8(c.title));
      d.setChecked(c.checkBox, true);
      const String typed = String(u"%KAIRON_TEST_MEDIA%\\sounds\\") + c.chosen;
      d.setText(c.edit, typed);

      d.command(c.browse);
      HWND dialog = d.waitForWindow(c.title);
      ASSERT_NE(nullptr, dialog);
      EXPECT_EQ(media.fileString("sounds"), shownFolder(dialog));
      EXPECT_EQ(String(c.stem), windowText(fileNameField(dialog)));
      const std::vector<String> want(c.filters.begin(), c.filters.end());
      EXPECT_EQ(want, shownFilters(dialog));
      if (c.cancelFirst) {
        // Cancelled: nothing changes.
        EXPECT_TRUE(pressAndWaitGone(dialog, IDCANCEL));
        d.sync();
        EXPECT_EQ(typed, d.text(c.edit));
        d.command(c.browse);
        dialog = d.waitForWindow(c.title);
        ASSERT_NE(nullptr, dialog);
      }
      // Chosen: the full path of the choice.
      EXPECT_TRUE(answerFileDialog(dialog, c.chosen));
      EXPECT_TRUE(waitUntil(kWaitLimit, [&] { return !IsWindow(dialog); }));
      EXPECT_EQ(media.fileString(std::string("sounds/") + toUtf8(c.chosen)), d.text(c.edit));
    }
  });
}

}  // namespace
}  // namespace Ostra::testing

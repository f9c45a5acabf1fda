// The ringing's options on the real dialog, set in the default-settings file:
// the sound repeated while the message is up, the time since the end, the
// runs; and the hotkey row of 詳細設定.
#include <gtest/gtest.h>
#include <windows.h>

// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/alarm_options.h"
#include "app/settings.h"
#include "config/config_data.h"
#include "resources/resource.h"
#include "tests/app/dialog_session_win.h"
#include "tests/app/window_search_win.h"
#include "tests/support/settings_file_bytes.h"
#include "tests/support/temp_dir.h"
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

// The sound repeated for a minute at most, with the message: rung, the message up.
HWND ringRepeated(DialogDriver& d) {
  d.setChecked(IDC_SOUND_ON, true);
  d.setChecked(IDC_MESSAGE_ON, true);
  d.setText(IDC_SECONDS, u"1");
  d.command(IDC_START);
  d.tick();
  return d.waitForWindow(u"メッセージ");
}

AlarmOptions repeatedForAMinute() {
  AlarmOptions options;
  options.repeat = true;
  options.repeatMinutes = 1;
  return options;
}

TEST_F(AlarmOptionsDialog, TheSoundRepeatsUnderTheMessageUntilItsOK) {
  writeOptions(repeatedForAMinute());
  DialogSession session;
  session.run([&](DialogDriver& d) {
    // The message at once, and the sound again and again behind it (each ends at once here).
    const HWND box = ringRepeated(d);
    EXPECT_TRUE(waitUntil(kWaitLimit, [&] { return count(session.eventNames(), "sound") >= 3; }));
    d.dismiss(box);
    EXPECT_TRUE(d.waitIdle());
    const size_t played = count(session.eventNames(), "sound");
    Sleep(1500);
    EXPECT_EQ(played, count(session.eventNames(), "sound")) << "OK stopped it";
  });
}

TEST_F(AlarmOptionsDialog, TheRepeatStopsAtItsLimitAndTheMessageStays) {
  writeOptions(repeatedForAMinute());
  DialogSession session;
  session.run([&](DialogDriver& d) {
    const HWND box = ringRepeated(d);
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

// The 詳細設定 box from the system menu, and from the tray's.
HWND openOptions(DialogDriver& d, bool fromTray) {
  HWND menu = fromTray ? d.openTrayMenu() : d.openSystemMenu();
  // Chosen from the menu, the box holds the dialog's thread: the choice is posted, not waited for.
  pressInMenu(menu, 'O');
  return d.waitForWindow(u"詳細設定");
}

void click(HWND box, int id) { SendMessageW(GetDlgItem(box, id), BM_CLICK, 0, 0); }
void type(HWND box, int id, const wchar_t* text) { SetDlgItemTextW(box, id, text); }

// One row per option: set in the box, it is in the file the defaults are saved to.
TEST_F(AlarmOptionsDialog, EachOptionOfTheBoxIsSaved) {
  const struct {
    int check, edit;
    const wchar_t* number;
    std::vector<std::u16string> keys;
  } rows[] = {
      {IDC_OPTION_REPEAT, IDC_OPTION_REPEAT_MINUTES, L"60", {u"NotifyRepeat = true", u"NotifyRepeatMinutes = 60"}},
      {IDC_OPTION_SNOOZE, IDC_OPTION_SNOOZE_MINUTES, L"1", {u"SnoozeMinutes = 1"}},
      {IDC_OPTION_ELAPSED, 0, nullptr, {u"ShowElapsed = true"}},
      {IDC_OPTION_BEFORE, IDC_OPTION_BEFORE_MINUTES, L"120", {u"NotifyBefore = 120"}},
      {IDC_OPTION_RUNS, IDC_OPTION_RUNS_COUNT, L"0", {u"RepeatCount = 0"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.check);
    std::filesystem::remove(configFile());
    DialogSession session;
    session.run([&](DialogDriver& d) {
      const HWND box = openOptions(d, row.check == IDC_OPTION_SNOOZE);
      ASSERT_NE(nullptr, box);
      click(box, row.check);
      if (row.edit != 0) type(box, row.edit, row.number);
      EXPECT_TRUE(pressAndWaitGone(box, IDOK));
      d.command(IDC_SAVE_DEFAULT);
    });
    std::vector<std::u16string> lines = defaultSettingsLines();
    lines.insert(lines.end(), row.keys.begin(), row.keys.end());
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(settingsFileBytes(lines), readBytes(configFile()));
  }
}

// A number out of its range is refused with the option's own range, and the
// box stays; キャンセル then keeps what was there.
TEST_F(AlarmOptionsDialog, ANumberOutOfRangeIsRefusedAndCancelKeepsAll) {
  const struct {
    int check, edit;
    const wchar_t* number;
    const char16_t* message;
  } rows[] = {
      {IDC_OPTION_REPEAT, IDC_OPTION_REPEAT_MINUTES, L"61", u"1 から 60 の数を入れてください"},
      {IDC_OPTION_SNOOZE, IDC_OPTION_SNOOZE_MINUTES, L"0", u"1 から 60 の数を入れてください"},
      {IDC_OPTION_BEFORE, IDC_OPTION_BEFORE_MINUTES, L"121", u"1 から 120 の数を入れてください"},
      {IDC_OPTION_RUNS, IDC_OPTION_RUNS_COUNT, L"100", u"0 から 99 の数を入れてください"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.check);
    std::filesystem::remove(configFile());
    DialogSession session;
    session.run([&](DialogDriver& d) {
      const HWND box = openOptions(d, false);
      ASSERT_NE(nullptr, box);
      click(box, row.check);
      type(box, row.edit, row.number);
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      const HWND refusal = d.waitForWindow(u"エラー");
      ASSERT_NE(box, refusal);
      EXPECT_EQ(String(row.message), messageBoxText(refusal));
      d.dismiss(refusal);
      EXPECT_TRUE(IsWindow(box)) << "the box stays";
      EXPECT_TRUE(pressAndWaitGone(box, IDCANCEL));
      d.command(IDC_SAVE_DEFAULT);
    });
    EXPECT_EQ(settingsFileBytes(defaultSettingsLines()), readBytes(configFile()));
  }
}

// Each run starts as Start does: to the tray again, named in the caption and the tooltip.
TEST_F(AlarmOptionsDialog, EachRunStartsAsStartDoes) {
  AlarmOptions options;
  options.runs = 2;
  writeOptions(options);
  DialogSession session;
  session.run([&](DialogDriver& d) {
    d.setChecked(IDC_MINIMIZE_AT_START, true);
    d.setText(IDC_SECONDS, u"1");
    d.command(IDC_START);
    ASSERT_TRUE(d.tray().isShown());
    EXPECT_EQ(String(u"（1/2）あと01秒 / Kairon build-6"), d.caption());
    d.tick();
    EXPECT_TRUE(d.tray().isShown()) << "the second run in the tray";
    EXPECT_FALSE(d.visible());
    EXPECT_EQ(String(u"（2/2）あと01秒 / Kairon build-6"), d.caption());
    EXPECT_EQ(d.caption(), String(reinterpret_cast<const char16_t*>(d.tray().recordForTesting().szTip)));
    d.tick();
    EXPECT_TRUE(d.visible()) << "the last run's end stays";
    EXPECT_EQ(String(u"Kairon build-6"), d.caption());
  });
}

// A time of day comes once: the runs cannot be set for it, and what is set stays.
TEST_F(AlarmOptionsDialog, ATimeOfDayHasNoRuns) {
  AlarmOptions options;
  options.runs = 3;
  writeOptions(options);
  DialogSession session;
  session.run([&](DialogDriver& d) {
    d.setChecked(IDC_TIME_OF_DAY, true);
    const HWND box = openOptions(d, false);
    ASSERT_NE(nullptr, box);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(box, IDC_OPTION_RUNS)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(box, IDC_OPTION_RUNS_COUNT)));
    EXPECT_EQ(String(u"3"), windowText(GetDlgItem(box, IDC_OPTION_RUNS_COUNT)));
    EXPECT_TRUE(pressAndWaitGone(box, IDOK));
    d.command(IDC_SAVE_DEFAULT);
  });
  CConfigData saved;
  ASSERT_EQ(LoadResult::Loaded, saved.readDefault());
  EXPECT_EQ(String(u"3"), saved.getRaw(u"RepeatCount"));
}

struct TextSearch {
  const String& text;
  bool found;
};

BOOL CALLBACK findText(HWND child, LPARAM lParam) {
  auto* search = reinterpret_cast<TextSearch*>(lParam);
  if (windowText(child) == search->text) search->found = true;
  return !search->found;
}

// A child window of the box shows that text.
bool showsText(HWND box, const String& text) {
  TextSearch search{text, false};
  EnumChildWindows(box, findText, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The message's second button puts the ringing off: the caption counts the
// snooze, and at its end the same message comes again.
TEST_F(AlarmOptionsDialog, SnoozeRingsTheSameMessageAgain) {
  AlarmOptions options;
  options.snoozeMinutes = 5;
  writeOptions(options);
  DialogSession session;
  session.run([&](DialogDriver& d) {
    d.setChecked(IDC_MESSAGE_ON, true);
    d.setText(IDC_MESSAGE_TEXT, u"お茶");
    d.setText(IDC_SECONDS, u"1");
    d.command(IDC_START);
    d.tick();
    HWND box = d.waitForWindow(u"メッセージ");
    ASSERT_NE(nullptr, box);
    EXPECT_TRUE(showsText(box, u"5分後にもう一度(&Z)"));
    EXPECT_TRUE(pressAndWaitGone(box, 100));
    d.sync();
    EXPECT_EQ(String(u"（スヌーズ）あと05分00秒 / Kairon build-6"), d.caption());
    d.tick(1000);
    EXPECT_EQ(String(u"（スヌーズ）あと04分59秒 / Kairon build-6"), d.caption());
    d.tick(299000);
    box = d.waitForWindow(u"メッセージ");
    ASSERT_NE(nullptr, box);
    EXPECT_TRUE(showsText(box, u"お茶"));
    // The menu's snooze takes the message with it.
    pressInMenu(d.openTrayMenu(), 'Z');
    if (!waitUntil(kWaitLimit, [&] { return !IsWindow(box); })) {
      ADD_FAILURE() << "the message stayed";
      d.dismiss(box);
      return;
    }
    d.sync();
    EXPECT_EQ(String(u"（スヌーズ）あと05分00秒 / Kairon build-6"), d.caption());
    d.command(IDC_CANCEL);
    EXPECT_EQ(String(u"Kairon build-6"), d.caption());
  });
}

// The hotkey row: a combination another program holds, and one the control cannot show.
constexpr int kOtherProgram = 0xB000;  // this thread's hotkeys, standing for another program's
constexpr WPARAM kCtrlAlt = HOTKEYF_CONTROL | HOTKEYF_ALT;

String status(HWND box) { return windowText(GetDlgItem(box, IDC_OPTION_HOTKEY_STATUS)); }

std::string savedWith(const std::u16string& line) {
  std::vector<std::u16string> lines = defaultSettingsLines();
  lines.push_back(line);
  std::sort(lines.begin(), lines.end());
  return settingsFileBytes(lines);
}

TEST_F(AlarmOptionsDialog, ATakenCombinationIsSaidBesideTheControlAndAnotherTaken) {
  DialogSession session;
  session.run([&](DialogDriver& d) {
    ASSERT_TRUE(RegisterHotKey(nullptr, kOtherProgram, MOD_CONTROL | MOD_ALT, 'K'));
    const HWND box = openOptions(d, false);
    ASSERT_NE(nullptr, box);
    const HWND control = GetDlgItem(box, IDC_OPTION_HOTKEY);
    SendMessageW(control, HKM_SETHOTKEY, MAKEWORD('K', kCtrlAlt), 0);
    SendMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(IsWindow(box)) << "the box stays";
    EXPECT_EQ(String(u"Ctrl+Alt+K は他のプログラムが使用中です"), status(box));
    EXPECT_EQ(MAKEWORD('K', kCtrlAlt), LOWORD(SendMessageW(control, HKM_GETHOTKEY, 0, 0)));

    SendMessageW(control, HKM_SETHOTKEY, MAKEWORD('J', kCtrlAlt), 0);
    EXPECT_TRUE(pressAndWaitGone(box, IDOK));
    EXPECT_FALSE(RegisterHotKey(nullptr, kOtherProgram + 1, MOD_CONTROL | MOD_ALT, 'J')) << "the dialog holds it";
    UnregisterHotKey(nullptr, kOtherProgram);
    d.command(IDC_SAVE_DEFAULT);
  });
  EXPECT_EQ(savedWith(u"Hotkey = Ctrl+Alt+J"), readBytes(configFile()));
}

// The control has no Win: left alone, the file's value stays as it was.
TEST_F(AlarmOptionsDialog, AValueWithWinIsKeptWhenTheControlIsLeftAlone) {
  const std::string file = savedWith(u"Hotkey = Ctrl+Win+F9");
  writeBytes(configFile(), file);
  DialogSession session;
  session.run([&](DialogDriver& d) {
    const HWND box = openOptions(d, false);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(MAKEWORD(VK_F9, HOTKEYF_CONTROL),
              LOWORD(SendDlgItemMessageW(box, IDC_OPTION_HOTKEY, HKM_GETHOTKEY, 0, 0)));
    EXPECT_EQ(String(u"Ctrl+Win+F9（設定ファイルの値）"), status(box));
    EXPECT_TRUE(pressAndWaitGone(box, IDOK));
    d.command(IDC_SAVE_DEFAULT);
  });
  EXPECT_EQ(file, readBytes(configFile()));
}

}  // namespace
}  // namespace Ostra::testing

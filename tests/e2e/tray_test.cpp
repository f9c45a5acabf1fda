// The dialog hidden in the notification area and brought back by the icon's
// callback message, as the shell sends it for a double click.
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "tests/e2e/kairon_process.h"
#include "tests/e2e/remote_window.h"
#include "tests/e2e/settings_file.h"
#include "tests/support/string_print.h"

namespace Ostra::e2e {
namespace {

constexpr UINT kTrayCallback = WM_APP + 1;

bool runningControls(HWND dialog) {
  return !isEnabled(dialog, IDC_START) && isEnabled(dialog, IDC_CANCEL) && !isEnabled(dialog, IDC_HOURS) &&
         !isEnabled(dialog, IDC_MINUTES) && !isEnabled(dialog, IDC_SECONDS) && !isEnabled(dialog, IDC_TIME_OF_DAY) &&
         !isEnabled(dialog, IDC_LOAD_TEMPLATE);
}

bool idleControls(HWND dialog) {
  return isEnabled(dialog, IDC_START) && !isEnabled(dialog, IDC_CANCEL) && isEnabled(dialog, IDC_HOURS) &&
         isEnabled(dialog, IDC_MINUTES) && isEnabled(dialog, IDC_SECONDS) && isEnabled(dialog, IDC_TIME_OF_DAY) &&
         isEnabled(dialog, IDC_LOAD_TEMPLATE);
}

TEST(Tray, StartMinimisedThenDoubleClickRestoresAndCancelReturnsToIdle) {
  ProgramFolder folder;
  KaironProcess kairon(folder);
  HWND dialog = kairon.waitForDialog();
  ASSERT_NE(nullptr, dialog) << "no timer dialog; " << kairon.state();

  setControlText(dialog, IDC_MINUTES, u"10");
  setChecked(dialog, IDC_MINIMIZE_AT_START, true);
  click(dialog, IDC_START);
  EXPECT_FALSE(IsWindowVisible(dialog)) << "Start with 開始時に最小化する left the dialog on the screen";
  EXPECT_TRUE(titleStartsWith(dialog, u"あと")) << toUtf8(windowTitle(dialog));

  // Mouse messages other than a click, a double click and the right click (the menu) do nothing.
  for (LPARAM mouse : {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MOUSEMOVE}) {
    sendAndWait(dialog, kTrayCallback, 0, mouse);
    EXPECT_FALSE(IsWindowVisible(dialog)) << "mouse message 0x" << std::hex << mouse;
  }

  sendAndWait(dialog, kTrayCallback, 0, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(isShown(dialog)) << "the double click did not bring the dialog back";
  EXPECT_TRUE(runningControls(dialog));
  // The notification fields follow their boxes also while counting down.
  setChecked(dialog, IDC_SOUND_ON, true);
  EXPECT_TRUE(isEnabled(dialog, IDC_SOUND_FILE) && isEnabled(dialog, IDC_SOUND_BROWSE));
  setChecked(dialog, IDC_SOUND_ON, false);
  EXPECT_FALSE(isEnabled(dialog, IDC_SOUND_FILE) || isEnabled(dialog, IDC_SOUND_BROWSE));

  click(dialog, IDC_CANCEL);
  EXPECT_EQ(String(u"Kairon build-6"), windowTitle(dialog));
  EXPECT_TRUE(idleControls(dialog));
  EXPECT_TRUE(isShown(dialog));
  EXPECT_TRUE(kairon.running());
}

TEST(Tray, MinimisingWhileIdleHidesTheDialogUntilAClick) {
  ProgramFolder folder;
  KaironProcess kairon(folder);
  HWND dialog = kairon.waitForDialog();
  ASSERT_NE(nullptr, dialog) << "no timer dialog; " << kairon.state();

  // The caption's minimise box.
  sendAndWait(dialog, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_FALSE(IsWindowVisible(dialog));
  EXPECT_EQ(String(u"Kairon build-6"), windowTitle(dialog));
  // One click brings it back.
  sendAndWait(dialog, kTrayCallback, 0, WM_LBUTTONUP);
  EXPECT_TRUE(isShown(dialog));
  EXPECT_TRUE(idleControls(dialog));
}

// The global hotkey, pressed on the keyboard as the system gives it to every
// program: the window comes from the tray and goes back there.
// Ctrl+Alt+key pressed and released, as the keyboard sends it.
void pressCtrlAlt(WORD key) {
  INPUT keys[6] = {};
  const WORD order[] = {VK_CONTROL, VK_MENU, key};
  for (int i = 0; i < 3; ++i) {
    keys[i].type = keys[5 - i].type = INPUT_KEYBOARD;
    keys[i].ki.wVk = keys[5 - i].ki.wVk = order[i];
    keys[5 - i].ki.dwFlags = KEYEVENTF_KEYUP;
  }
  ASSERT_EQ(6u, SendInput(6, keys, sizeof(INPUT)));
}

// The control with the keyboard focus on the window's thread.
HWND focusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

TEST(Hotkey, BringsTheWindowFromTheTrayAndSendsItBack) {
  ProgramFolder folder;
  testing::writeBytes(folder.settingsFile(),
                      settingsFileBytes(withValues(defaultSettings(), {{u"Hotkey", u"ctrl+alt+k"}})));
  KaironProcess kairon(folder);
  const HWND dialog = kairon.waitForDialog();
  ASSERT_NE(nullptr, dialog) << kairon.state();
  sendAndWait(dialog, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_FALSE(IsWindowVisible(dialog));

  pressCtrlAlt('K');
  EXPECT_TRUE(waitUntil(kAnswerLimit, [&] { return isShown(dialog) && GetForegroundWindow() == dialog; }))
      << "the hotkey did not bring the window back";
  EXPECT_TRUE(waitUntil(kAnswerLimit, [&] { return focusOf(dialog) == GetDlgItem(dialog, IDC_START); }));

  // Pressed again while it is the active window: back to the tray.
  pressCtrlAlt('K');
  EXPECT_TRUE(waitUntil(kAnswerLimit, [&] { return !IsWindowVisible(dialog); }));
  EXPECT_TRUE(kairon.running()) << kairon.state();
}

}  // namespace
}  // namespace Ostra::e2e

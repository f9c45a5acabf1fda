// The global hotkey of the settings file, pressed on the keyboard as the
// system gives it to every program: the window comes from the tray and goes
// back there.
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "tests/e2e/kairon_process.h"
#include "tests/e2e/remote_window.h"
#include "tests/e2e/settings_file.h"
#include "tests/support/string_print.h"
#include "tests/support/temp_dir.h"

namespace Ostra::e2e {
namespace {

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

// The hotkey row of 詳細設定 on the real dialog: a combination another
// program holds, and one the control cannot show.
#include <gtest/gtest.h>
#include <windows.h>

// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/app/dialog_session_win.h"
#include "tests/app/window_search_win.h"
#include "tests/support/settings_file_bytes.h"
#include "tests/support/temp_dir.h"
#include "tests/support/win/window_driving_win.h"

namespace Ostra::testing {
namespace {

using HotkeyDialog = TimerDialogTest;

constexpr int kOtherProgram = 0xB000;  // this thread's hotkeys, standing for another program's
constexpr WPARAM kCtrlAlt = HOTKEYF_CONTROL | HOTKEYF_ALT;

HWND openOptions(DialogDriver& d) {
  pressInMenu(d.openSystemMenu(), 'O');
  return d.waitForWindow(u"詳細設定");
}

String status(HWND box) { return windowText(GetDlgItem(box, IDC_OPTION_HOTKEY_STATUS)); }

std::string savedWith(const std::u16string& line) {
  std::vector<std::u16string> lines = defaultSettingsLines();
  lines.push_back(line);
  std::sort(lines.begin(), lines.end());
  return settingsFileBytes(lines);
}

TEST_F(HotkeyDialog, ATakenCombinationIsSaidBesideTheControlAndAnotherTaken) {
  DialogSession session;
  session.run([&](DialogDriver& d) {
    ASSERT_TRUE(RegisterHotKey(nullptr, kOtherProgram, MOD_CONTROL | MOD_ALT, 'K'));
    const HWND box = openOptions(d);
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
TEST_F(HotkeyDialog, AValueWithWinIsKeptWhenTheControlIsLeftAlone) {
  const std::string file = savedWith(u"Hotkey = Ctrl+Win+F9");
  writeBytes(configFile(), file);
  DialogSession session;
  session.run([&](DialogDriver& d) {
    const HWND box = openOptions(d);
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

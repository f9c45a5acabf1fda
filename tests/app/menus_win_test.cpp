// The commands beyond the dialog's buttons, chosen in the menus as a user
// would: the tray icon's menu, the system menu, pause, extend, always on top.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/app/dialog_session_win.h"
#include "tests/app/window_search_win.h"
#include "tests/support/settings_file_bytes.h"
#include "tests/support/temp_dir.h"

namespace Ostra::testing {
namespace {

using Menus = TimerDialogTest;
using Items = std::vector<std::string>;

constexpr char16_t kIdle[] = u"Kairon build-6";

// A countdown with a quiet end, started with the dialog left on the screen.
void startQuietly(DialogDriver& d, const char16_t* seconds) {
  d.setChecked(IDC_MESSAGE_ON, false);
  d.setChecked(IDC_CLOSE_AT_END, false);
  d.setChecked(IDC_MINIMIZE_AT_START, false);
  d.setText(IDC_SECONDS, seconds);
  d.command(IDC_START);
}

// The open menu's items, "-" for a separator, marked when greyed, checked or the default.
Items shown(HWND menu, size_t last = 0) {
  Items items;
  for (const MenuItem& item : shownMenuItems(menu)) {
    if ((item.state & MF_SEPARATOR) != 0) {
      items.push_back("-");
      continue;
    }
    std::string text = toUtf8(item.text);
    if ((item.state & MF_GRAYED) != 0) text += " (grey)";
    if ((item.state & MF_CHECKED) != 0) text += " (check)";
    if ((item.state & MF_DEFAULT) != 0) text += " (default)";
    items.push_back(text);
  }
  // The system's own items come first in the system menu.
  if (last > 0 && items.size() > last) items.erase(items.begin(), items.end() - static_cast<ptrdiff_t>(last));
  return items;
}

// Its last item, reached from the first by the Up key: Wine's system menu has
// an "(&A)" item of its own.
void toggleAlwaysOnTop(DialogDriver& d) {
  const HWND menu = d.openSystemMenu();
  pressInMenu(menu, VK_UP);
  d.choose(menu, u'\r');
}

TEST_F(Menus, TrayMenuActsOnTheCountdownAndStartsTemplates) {
  std::filesystem::create_directories(templateFolder());
  writeBytes(templateFolder() / "b.tpt", settingsFileBytes({u"TimeM = 2", u"MinimizeWithStart = false"}));
  writeBytes(templateFolder() / "A&c.tpt", settingsFileBytes({u"TimeM = 3"}));
  writeBytes(templateFolder() / "note.txt", "");
  const Items idle = {"表示(&S) (default)",
                      "一時停止(&P) (grey)",
                      "1分延長(&1) (grey)",
                      "5分延長(&5) (grey)",
                      "中断(&C) (grey)",
                      "-",
                      "テンプレートから開始(&T)",
                      "-",
                      "終了(&X)"};
  const Items running = {"表示(&S) (default)",
                         "一時停止(&P)",
                         "1分延長(&1)",
                         "5分延長(&5)",
                         "中断(&C)",
                         "-",
                         "テンプレートから開始(&T) (grey)",
                         "-",
                         "終了(&X)"};

  DialogSession session;
  session.run([&](DialogDriver& d) {
    d.minimize();
    HWND menu = d.openTrayMenu();
    EXPECT_EQ(idle, shown(menu));
    d.choose(menu, u'T');
    const HWND templates = waitForMenuWindow(GetWindowThreadProcessId(d.dialog(), nullptr), kWaitLimit);
    ASSERT_NE(menu, templates) << "the templates did not open";
    EXPECT_EQ((Items{"A&&c", "b"}), shown(templates));
    // The second, as Kairon.exe b starts it: over the defaults, counting at once, still in the tray.
    pressInMenu(templates, VK_DOWN);
    d.choose(templates, u'\r');
    EXPECT_EQ(String(u"あと02分00秒 / Kairon build-6"), d.caption());
    EXPECT_EQ(String(u"2"), d.text(IDC_MINUTES));
    EXPECT_TRUE(d.checked(IDC_MESSAGE_ON) && !d.checked(IDC_MINIMIZE_AT_START));
    EXPECT_FALSE(d.visible());

    menu = d.openTrayMenu();
    EXPECT_EQ(running, shown(menu));
    d.choose(menu, u'C');
    EXPECT_EQ(String(kIdle), d.caption());
    EXPECT_TRUE(d.trayIconIs(IDI_IDLE));
    d.choose(d.openTrayMenu(), u'S');
    EXPECT_TRUE(d.visible() && !d.tray().isShown());
    d.minimize();
    d.choose(d.openTrayMenu(), u'X');
    EXPECT_TRUE(d.waitClosed());
  });
  EXPECT_FALSE(session.closedBySession());
}

TEST_F(Menus, SystemMenuOffersPauseExtendAndAlwaysOnTopWhereTheyApply) {
  const auto tail = [](const char* pause, bool counting, bool pausable) {
    const std::string grey = counting ? "" : " (grey)";
    return Items{"-",
                 std::string(pause) + (pausable ? "" : " (grey)"),
                 "1分延長(&1)" + grey,
                 "5分延長(&5)" + grey,
                 "-",
                 "常に手前に表示(&A)"};
  };
  DialogSession session;
  session.run([&](DialogDriver& d) {
    HWND menu = d.openSystemMenu();
    EXPECT_EQ(tail("一時停止(&P)", false, false), shown(menu, 6));
    // Escape closes the menu, and a second one the menu mode (or reaches the dialog, which ignores it).
    pressInMenu(menu, VK_ESCAPE);
    pressInMenu(d.dialog(), VK_ESCAPE);
    d.sync();
    startQuietly(d, u"30");
    menu = d.openSystemMenu();
    EXPECT_EQ(tail("一時停止(&P)", true, true), shown(menu, 6));
    d.choose(menu, u'P');
    menu = d.openSystemMenu();
    EXPECT_EQ(tail("再開(&P)", true, true), shown(menu, 6));
    d.choose(menu, u'P');
    EXPECT_EQ(String(u"あと30秒 / Kairon build-6"), d.caption());
    d.command(IDC_CANCEL);
    // A time of day is due by the clock: extended, but never paused.
    d.setChecked(IDC_TIME_OF_DAY, true);
    d.setText(IDC_HOURS, u"13");
    d.setText(IDC_SECONDS, u"");
    d.command(IDC_START);
    menu = d.openSystemMenu();
    EXPECT_EQ(tail("一時停止(&P)", true, false), shown(menu, 6));
    d.choose(menu, u'1');
    EXPECT_EQ(String(u"あと1時間01分00秒 / Kairon build-6"), d.caption());
  });
}

TEST_F(Menus, PauseHoldsTheCountdownUntilResumed) {
  DialogSession session;
  session.run([](DialogDriver& d) {
    startQuietly(d, u"130");
    d.tick(5000);
    d.minimize();
    d.choose(d.openTrayMenu(), u'P');
    const String paused(u"（一時停止）あと02分05秒 / Kairon build-6");
    EXPECT_EQ(paused, d.caption());
    EXPECT_EQ(paused, d.trayTip());
    EXPECT_TRUE(d.trayIconIs(IDI_RUNNING));
    // Neither a late tick nor a wake-up counts while paused.
    d.tick(60000);
    d.deliver(CAppWindow::WakeMessage);
    EXPECT_EQ(paused, d.caption());
    const HWND menu = d.openTrayMenu();
    EXPECT_EQ("再開(&P)", shown(menu).at(1));
    d.choose(menu, u'P');
    EXPECT_EQ(String(u"あと02分05秒 / Kairon build-6"), d.caption());
    d.tick(1000);
    EXPECT_EQ(String(u"あと02分04秒 / Kairon build-6"), d.caption());
    // Cancel while paused returns to idle as from running.
    d.choose(d.openTrayMenu(), u'P');
    d.choose(d.openTrayMenu(), u'C');
    EXPECT_EQ(String(kIdle), d.trayTip());
    EXPECT_TRUE(d.trayIconIs(IDI_IDLE));
  });
  // The system may sleep while paused.
  constexpr EXECUTION_STATE kHold = ES_CONTINUOUS | ES_SYSTEM_REQUIRED, kRelease = ES_CONTINUOUS;
  EXPECT_EQ((std::vector<EXECUTION_STATE>{kHold, kRelease, kHold, kRelease}), session.executionStates());
}

TEST_F(Menus, ExtendAddsToTheTimeLeftRunningOrPaused) {
  DialogSession session;
  session.run([](DialogDriver& d) {
    startQuietly(d, u"8");
    d.tick(3000);
    EXPECT_TRUE(d.windowIconsAre(IDI_DIGIT5));
    d.choose(d.openSystemMenu(), u'1');
    EXPECT_EQ(String(u"あと01分05秒 / Kairon build-6"), d.caption());
    EXPECT_TRUE(d.windowIconsAre(IDI_RUNNING));
    d.choose(d.openSystemMenu(), u'P');
    d.choose(d.openSystemMenu(), u'5');
    EXPECT_EQ(String(u"（一時停止）あと06分05秒 / Kairon build-6"), d.caption());
    d.choose(d.openSystemMenu(), u'P');
    d.tick(365000);
    EXPECT_EQ(String(kIdle), d.caption()) << "the extended countdown ends when its time is up";
    // In time-of-day mode the target moves later.
    d.setChecked(IDC_TIME_OF_DAY, true);
    d.setText(IDC_HOURS, u"12");
    d.setText(IDC_MINUTES, u"6");  // the clock is at 12:06:08 now
    d.setText(IDC_SECONDS, u"18");
    d.command(IDC_START);
    d.choose(d.openSystemMenu(), u'1');
    EXPECT_EQ(String(u"あと01分10秒 / Kairon build-6"), d.caption());
    d.tick(69000);
    EXPECT_EQ(String(u"あと01秒 / Kairon build-6"), d.caption());
  });
}

TEST_F(Menus, AlwaysOnTopIsASettingWrittenOnlyWhileChecked) {
  const auto topmost = [](HWND dialog) { return (GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  const auto checked = [](HWND dialog) {
    return (GetMenuState(GetSystemMenu(dialog, FALSE), IDM_ALWAYS_ON_TOP, MF_BYCOMMAND) & MF_CHECKED) != 0;
  };
  std::vector<std::u16string> onTop = defaultSettingsLines();
  onTop.insert(onTop.begin(), u"AlwaysOnTop = true");  // keys in order: it comes first
  DialogSession session;
  session.run([&](DialogDriver& d) {
    EXPECT_FALSE(topmost(d.dialog()));
    toggleAlwaysOnTop(d);
    EXPECT_TRUE(topmost(d.dialog()) && checked(d.dialog()));
    d.command(IDC_SAVE_DEFAULT);
    EXPECT_EQ(settingsFileBytes(onTop), readBytes(configFile()));
    toggleAlwaysOnTop(d);
    EXPECT_FALSE(topmost(d.dialog()) || checked(d.dialog()));
    d.command(IDC_SAVE_DEFAULT);
    EXPECT_EQ(settingsFileBytes(defaultSettingsLines()), readBytes(configFile())) << "byte for byte as without it";
  });
  // Read back from a template named on the command line, and only as "true".
  std::filesystem::create_directories(templateFolder());
  for (const char16_t* value : {u"true", u"TRUE"}) {
    writeBytes(templateFolder() / "top.tpt", settingsFileBytes({std::u16string(u"AlwaysOnTop = ") + value}));
    DialogSession again;
    again.run({u"/open", u"top"}, [&](DialogDriver& d) {
      EXPECT_EQ(String(value) == String(u"true"), topmost(d.dialog())) << toUtf8(value);
    });
  }
}

}  // namespace
}  // namespace Ostra::testing

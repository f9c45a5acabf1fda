// The commands beyond the dialog's buttons, chosen in the menus as a user
// would: the tray icon's menu, the system menu, pause, extend, always on top.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>

#include "resources/resource.h"
#include "tests/app/dialog_session_win.h"
#include "tests/app/window_search_win.h"
#include "tests/support/settings_file_bytes.h"
#include "tests/support/temp_dir.h"

namespace Ostra::testing {
namespace {

using Menus = TimerDialogTest;

void startQuietly(DialogDriver& d, const char16_t* seconds) {
  d.setChecked(IDC_MESSAGE_ON, false);
  d.setChecked(IDC_CLOSE_AT_END, false);
  d.setChecked(IDC_MINIMIZE_AT_START, false);
  d.setText(IDC_SECONDS, seconds);
  d.command(IDC_START);
}

// The open menu's last items joined by '|': "-" a separator, '~' greyed, '+' checked, '*' the default.
std::string shown(HWND menu, size_t last = 99) {
  std::string all;
  const std::vector<MenuItem> items = shownMenuItems(menu);
  for (size_t i = items.size() > last ? items.size() - last : 0; i < items.size(); ++i) {
    const UINT state = items[i].state;
    all += (all.empty() ? "" : "|") + ((state & MF_SEPARATOR) != 0 ? "-" : toUtf8(items[i].text));
    if ((state & MF_SEPARATOR) == 0 && (state & MF_GRAYED) != 0) all += "~";
    all += (state & MF_CHECKED) != 0 ? "+" : (state & MF_DEFAULT) != 0 ? "*" : "";
  }
  return all;
}

// The last item, reached by the Up key: Wine's system menu has an "(&A)" item of its own.
void toggleAlwaysOnTop(DialogDriver& d) {
  const HWND menu = d.openSystemMenu();
  // From the bottom, above 詳細設定.
  pressInMenu(menu, VK_UP);
  pressInMenu(menu, VK_UP);
  d.choose(menu, u'\r');
}

// A right click opens the menu once, however the shell reports it; the
// keyboard's events (Enter, Shift+F10) open it beside the icon.
TEST_F(Menus, TrayMenuOpensOnceForAClickAndBesideTheIconForTheKeyboard) {
  DialogSession session;
  session.run([&](DialogDriver& d) {
    d.minimize();
    for (const UINT keyboard : {0u, static_cast<UINT>(NIN_KEYSELECT), static_cast<UINT>(WM_CONTEXTMENU)}) {
      if (keyboard != 0 && d.tray().version() < NOTIFYICON_VERSION) continue;  // the shell sends none
      const HWND menu = d.openTrayMenu(keyboard);
      ASSERT_NE(nullptr, menu) << keyboard;
      RECT icon{}, shownAt{};
      if (keyboard != 0 && d.tray().screenRect(icon) && GetWindowRect(menu, &shownAt)) {
        EXPECT_LE(std::abs(shownAt.left - icon.left), icon.right - icon.left) << "not at the icon";
      }
      pressInMenu(menu, VK_ESCAPE);
    }
    d.sync();
    EXPECT_EQ(nullptr, waitForMenuWindow(GetWindowThreadProcessId(d.dialog(), nullptr), std::chrono::milliseconds(300)))
        << "a second menu behind the first";
  });
}

// The template submenu (Alt+T in the tray's menu) as it shows, then closed.
std::string shownTemplates(DialogDriver& d) {
  const HWND menu = d.openTrayMenu();
  d.choose(menu, u'T');
  const HWND templates = waitForMenuWindow(GetWindowThreadProcessId(d.dialog(), nullptr));
  const std::string items = templates != menu ? shown(templates) : "(did not open)";
  pressInMenu(templates, VK_ESCAPE);
  pressInMenu(menu, VK_ESCAPE);
  d.sync();
  return items;
}

TEST_F(Menus, TemplateMenuShowsDurationsAndSaysWhenThereIsNone) {
  DialogSession session;
  session.run([&](DialogDriver& d) {
    EXPECT_EQ("（テンプレートがありません）~", shownTemplates(d));
    std::filesystem::create_directories(templateFolder());
    const std::u16string longName(45, u'長');
    writeBytes(templateFolder() / u"会議.tpt", settingsFileBytes({u"TimeH = 1", u"TimeM = 30"}));
    writeBytes(templateFolder() / u"壊れ.tpt", settingsFileBytes({u"TimeS = "}));  // malformed: no duration
    writeBytes(templateFolder() / u"昼.tpt", settingsFileBytes({u"TimeMode = true", u"TimeH = 14", u"TimeM = 30"}));
    writeBytes(templateFolder() / (longName + u".tpt"), settingsFileBytes({u"TimeS = 90"}));
    EXPECT_EQ(toUtf8(String(u"会議\t1時間30分|壊れ|昼\t14:30|") + longName.substr(0, 39) + u"…\t1分30秒"),
              shownTemplates(d));
    // Beyond the thirtieth, the load dialog.
    for (int i = 10; i < 40; ++i) writeBytes(templateFolder() / ("t" + std::to_string(i) + ".tpt"), "");
    const std::string many = shownTemplates(d);
    EXPECT_EQ("その他...(&M)", many.substr(many.rfind('|') + 1));
    const HWND menu = d.openTrayMenu();
    d.choose(menu, u'T');
    d.choose(waitForMenuWindow(GetWindowThreadProcessId(d.dialog(), nullptr)), u'M');
    EXPECT_NE(nullptr, d.waitForWindow(u"テンプレートを読み込み"));
  });
}

TEST_F(Menus, TrayMenuActsOnTheCountdownAndStartsTemplates) {
  std::filesystem::create_directories(templateFolder());
  writeBytes(templateFolder() / "b.tpt", settingsFileBytes({u"TimeM = 2", u"MinimizeWithStart = false"}));
  writeBytes(templateFolder() / "A&c.tpt", settingsFileBytes({u"TimeM = 3"}));
  writeBytes(templateFolder() / "note.txt", "");
  DialogSession session;
  session.run([&](DialogDriver& d) {
    d.minimize();
    HWND menu = d.openTrayMenu();
    EXPECT_EQ(
        "表示(&S)*|一時停止(&P)~|1分延長(&1)~|5分延長(&5)~|中断(&C)~|スヌーズ(&Z)~|-|詳細設定(&O)...|"
        "テンプレートから開始(&T)|-|終了(&X)",
        shown(menu));
    d.choose(menu, u'T');
    const HWND templates = waitForMenuWindow(GetWindowThreadProcessId(d.dialog(), nullptr));
    ASSERT_NE(menu, templates) << "the templates did not open";
    EXPECT_EQ("A&&c\t3分|b\t2分", shown(templates));
    // As Kairon.exe b: over the defaults, counting at once, here in the tray.
    pressInMenu(templates, VK_DOWN);
    d.choose(templates, u'\r');
    EXPECT_EQ(String(u"あと02分00秒 / Kairon build-6"), d.caption());
    EXPECT_TRUE(d.checked(IDC_MESSAGE_ON) && !d.checked(IDC_MINIMIZE_AT_START) && !d.visible());
    menu = d.openTrayMenu();
    EXPECT_EQ(
        "表示(&S)*|一時停止(&P)|1分延長(&1)|5分延長(&5)|中断(&C)|スヌーズ(&Z)~|-|詳細設定(&O)...|テンプレートから開始(&"
        "T)~|-|終了(&X)",
        shown(menu));
    d.choose(menu, u'C');
    EXPECT_TRUE(d.trayIconIs(IDI_IDLE) && d.caption() == String(u"Kairon build-6"));
    d.choose(d.openTrayMenu(), u'S');
    EXPECT_TRUE(d.visible() && !d.tray().isShown());
    d.minimize();
    d.choose(d.openTrayMenu(), u'X');
    EXPECT_TRUE(d.waitClosed());
  });
  EXPECT_FALSE(session.closedBySession());
}

TEST_F(Menus, SystemMenuOffersPauseAndExtendWhereTheyApply) {
  DialogSession session;
  session.run([&](DialogDriver& d) {
    HWND menu = d.openSystemMenu();
    EXPECT_EQ("-|一時停止(&P)~|1分延長(&1)~|5分延長(&5)~|スヌーズ(&Z)~|-|常に手前に表示(&A)|詳細設定(&O)...",
              shown(menu, 8));
    // Escape closes the menu, a second one the menu mode (or reaches the dialog, which ignores it).
    pressInMenu(menu, VK_ESCAPE);
    pressInMenu(d.dialog(), VK_ESCAPE);
    d.sync();
    startQuietly(d, u"30");
    menu = d.openSystemMenu();
    EXPECT_EQ("-|一時停止(&P)|1分延長(&1)|5分延長(&5)|スヌーズ(&Z)~|-|常に手前に表示(&A)|詳細設定(&O)...",
              shown(menu, 8));
    d.choose(menu, u'P');
    menu = d.openSystemMenu();
    EXPECT_EQ("-|再開(&P)|1分延長(&1)|5分延長(&5)|スヌーズ(&Z)~|-|常に手前に表示(&A)|詳細設定(&O)...", shown(menu, 8));
    d.choose(menu, u'P');
    d.command(IDC_CANCEL);
    // A time of day is due by the clock: extended, never paused.
    d.setChecked(IDC_TIME_OF_DAY, true);
    d.setText(IDC_HOURS, u"13");
    d.setText(IDC_SECONDS, u"");
    d.command(IDC_START);
    menu = d.openSystemMenu();
    EXPECT_EQ("-|一時停止(&P)~|1分延長(&1)|5分延長(&5)|スヌーズ(&Z)~|-|常に手前に表示(&A)|詳細設定(&O)...",
              shown(menu, 8));
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
    EXPECT_TRUE(d.caption() == paused && d.trayTip() == paused && d.trayIconIs(IDI_PAUSED));
    d.tick(60000);  // neither a late tick nor a wake-up counts
    d.deliver(CAppWindow::WakeMessage);
    EXPECT_EQ(paused, d.caption());
    d.choose(d.openTrayMenu(), u'P');
    EXPECT_TRUE(d.trayIconIs(IDI_RUNNING));
    d.tick(1000);
    EXPECT_EQ(String(u"あと02分04秒 / Kairon build-6"), d.caption());
    d.choose(d.openTrayMenu(), u'P');
    // Paused also in the last seconds, and shown so however it is minimised.
    EXPECT_TRUE(d.trayIconIs(IDI_PAUSED) && d.windowIconsAre(IDI_PAUSED));
    d.trayMouse(WM_LBUTTONUP);
    d.minimize();
    EXPECT_TRUE(d.trayIconIs(IDI_PAUSED));
    d.choose(d.openTrayMenu(), u'C');  // from paused as from running
    EXPECT_TRUE(d.trayTip() == String(u"Kairon build-6") && d.trayIconIs(IDI_IDLE));
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
    d.choose(d.openSystemMenu(), u'1');
    EXPECT_EQ(String(u"あと01分05秒 / Kairon build-6"), d.caption());
    EXPECT_TRUE(d.windowIconsAre(IDI_RUNNING)) << "the digit 5 stayed";
    d.choose(d.openSystemMenu(), u'P');
    d.choose(d.openSystemMenu(), u'5');
    EXPECT_EQ(String(u"（一時停止）あと06分05秒 / Kairon build-6"), d.caption());
    d.choose(d.openSystemMenu(), u'P');
    d.tick(364000);
    EXPECT_EQ(String(u"あと01秒 / Kairon build-6"), d.caption());
  });
}

TEST_F(Menus, AlwaysOnTopIsASettingWrittenOnlyWhileChecked) {
  // 2 when checked and above other windows, 0 when neither.
  const auto onTop = [](HWND dialog) {
    return int{(GetMenuState(GetSystemMenu(dialog, FALSE), IDM_ALWAYS_ON_TOP, MF_BYCOMMAND) & MF_CHECKED) != 0} +
           int{(GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0};
  };
  std::vector<std::u16string> lines = defaultSettingsLines();
  lines.insert(lines.begin(), u"AlwaysOnTop = true");  // the first key
  DialogSession session;
  session.run([&](DialogDriver& d) {
    toggleAlwaysOnTop(d);
    EXPECT_EQ(2, onTop(d.dialog()));
    d.command(IDC_SAVE_DEFAULT);
    EXPECT_EQ(settingsFileBytes(lines), readBytes(configFile()));
    toggleAlwaysOnTop(d);
    EXPECT_EQ(0, onTop(d.dialog()));
    d.command(IDC_SAVE_DEFAULT);
    EXPECT_EQ(settingsFileBytes(defaultSettingsLines()), readBytes(configFile())) << "byte for byte as without it";
  });
  std::filesystem::create_directories(templateFolder());
  for (const char16_t* value : {u"true", u"TRUE"}) {
    writeBytes(templateFolder() / "top.tpt", settingsFileBytes({std::u16string(u"AlwaysOnTop = ") + value}));
    DialogSession again;
    again.run({u"/open", u"top"}, [&](DialogDriver& d) { EXPECT_EQ(value[1] == u'r' ? 2 : 0, onTop(d.dialog())); });
  }
}

}  // namespace
}  // namespace Ostra::testing

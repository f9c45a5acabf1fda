#include "app/commands.h"

#include <gtest/gtest.h>

#include <string>

#include "resources/resource.h"

namespace {

// One menu as it shows in a state, items joined by '|': "-" a separator, '~'
// greyed, '+' checked, '*' the default.
std::u16string shown(unsigned menu, const CommandContext& now) {
  std::u16string all;
  for (const MenuCommand& command : kMenuCommands) {
    if ((command.menus & menu) == 0) continue;
    if (!all.empty()) all += u"|";
    if (command.id == 0) {
      all += u"-";
      continue;
    }
    const MenuItemLook look = lookOf(command, now);
    all += std::u16string(look.text) + (look.enabled ? u"" : u"~") + (look.checked ? u"+" : u"");
    if (menu == InTrayMenu && (command.menus & TrayDefault) != 0) all += u"*";
  }
  return all;
}

// What the commands asked of the window, in order.
class Recorder : public ICommandTarget {
 public:
  void restoreFromTray() override { calls += "show "; }
  void togglePause() override { calls += "pause "; }
  void extend(int seconds) override { calls += "extend" + std::to_string(seconds) + " "; }
  void cancel() override { calls += "cancel "; }
  void closeDialog() override { calls += "close "; }
  void setAlwaysOnTop(bool on) override { calls += on ? "top+ " : "top- "; }
  void editOptions() override { calls += "options "; }
  void snooze() override { calls += "snooze "; }
  std::string calls;
};

TEST(Commands, EachMenuShowsAndEachCommandRunsWhereItApplies) {
  using C = CountdownState;
  using P = Placement;
  const struct {
    CommandContext now;
    const char16_t* systemMenu;
    const char16_t* trayMenu;
    const char* runs;  // every command chosen in turn
  } cases[] = {
      {{C::Idle, P::InTray, false, false},
       u"-|一時停止(&P)~|1分延長(&1)~|5分延長(&5)~|スヌーズ(&Z)~|-|常に手前に表示(&A)|詳細設定(&O)...",
       u"表示(&S)*|一時停止(&P)~|1分延長(&1)~|5分延長(&5)~|中断(&C)~|スヌーズ(&Z)~|-|詳細設定(&O)...|"
       u"テンプレートから開始(&T)|-|終了(&X)",
       "show top+ options close "},
      {{C::Running, P::InTray, false, true},
       u"-|一時停止(&P)|1分延長(&1)|5分延長(&5)|スヌーズ(&Z)~|-|常に手前に表示(&A)+|詳細設定(&O)...",
       u"表示(&S)*|一時停止(&P)|1分延長(&1)|5分延長(&5)|中断(&C)|スヌーズ(&Z)~|-|詳細設定(&O)...|テンプレートから開始(&"
       u"T)~|-|終了(&X)",
       "show pause extend60 extend300 cancel top- options close "},
      {{C::Paused, P::Shown, false, false},
       u"-|再開(&P)|1分延長(&1)|5分延長(&5)|スヌーズ(&Z)~|-|常に手前に表示(&A)|詳細設定(&O)...",
       u"表示(&S)~*|再開(&P)|1分延長(&1)|5分延長(&5)|中断(&C)|スヌーズ(&Z)~|-|詳細設定(&O)...|テンプレートから開始(&T)~"
       u"|-|終了(&X)",
       "pause extend60 extend300 cancel top+ options close "},
      // A time of day is due by the clock: extended, never paused.
      {{C::Running, P::WaitingForTray, true, false},
       u"-|一時停止(&P)~|1分延長(&1)|5分延長(&5)|スヌーズ(&Z)~|-|常に手前に表示(&A)|詳細設定(&O)...",
       u"表示(&S)~*|一時停止(&P)~|1分延長(&1)|5分延長(&5)|中断(&C)|スヌーズ(&Z)~|-|詳細設定(&O)...|"
       u"テンプレートから開始(&T)~|-|終了(&X)",
       "extend60 extend300 cancel top+ options close "},
      {{C::Ringing, P::Shown, false, true},
       u"-|一時停止(&P)~|1分延長(&1)~|5分延長(&5)~|スヌーズ(&Z)~|-|常に手前に表示(&A)+|詳細設定(&O)...",
       u"表示(&S)~*|一時停止(&P)~|1分延長(&1)~|5分延長(&5)~|中断(&C)~|スヌーズ(&Z)~|-|詳細設定(&O)...|"
       u"テンプレートから開始(&T)~|-|終了(&X)",
       "top- options close "},
      // Ringing with snooze on: its minutes in the text.
      {{C::Ringing, P::InTray, false, false, 5},
       u"-|一時停止(&P)~|1分延長(&1)~|5分延長(&5)~|スヌーズ（5分）(&Z)|-|常に手前に表示(&A)|詳細設定(&O)...",
       u"表示(&S)*|一時停止(&P)~|1分延長(&1)~|5分延長(&5)~|中断(&C)~|スヌーズ（5分）(&Z)|-|詳細設定(&O)...|"
       u"テンプレートから開始(&T)~|-|終了(&X)",
       "show snooze top+ options close "},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(std::u16string(cases[i].systemMenu), shown(InSystemMenu, cases[i].now)) << "case " << i;
    EXPECT_EQ(std::u16string(cases[i].trayMenu), shown(InTrayMenu, cases[i].now)) << "case " << i;
    Recorder window;
    for (unsigned id : {IDM_SHOW, IDM_PAUSE, IDM_EXTEND_SHORT, IDM_EXTEND_LONG, IDM_CANCEL, IDM_SNOOZE,
                        IDM_ALWAYS_ON_TOP, IDM_OPTIONS, IDM_EXIT}) {
      EXPECT_TRUE(dispatchCommand(id, cases[i].now, window)) << id;
    }
    EXPECT_EQ(cases[i].runs, window.calls) << "case " << i;
  }
  // A template's choice, a separator and the system's own commands are left to others.
  Recorder window;
  for (unsigned id : {IDM_FIRST_TEMPLATE, 0, 0xF060}) EXPECT_FALSE(dispatchCommand(id, {}, window)) << id;
  EXPECT_EQ("", window.calls);
}

}  // namespace

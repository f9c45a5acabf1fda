#include "app/commands.h"

#include <string>

#include "app/timer_engine.h"
#include "resources/resource.h"

namespace {

using Target = ICommandTarget;
using Context = CommandContext;

bool always(const Context&) { return true; }
bool inTray(const Context& now) { return now.placement == Placement::InTray; }
bool idle(const Context& now) { return now.countdown == CountdownState::Idle; }
bool counting(const Context& now) {
  return now.countdown == CountdownState::Running || now.countdown == CountdownState::Paused;
}
// A time of day is due when the clock says so: there is nothing to hold.
bool pausable(const Context& now) { return counting(now) && !now.timeOfDay; }
bool paused(const Context& now) { return now.countdown == CountdownState::Paused; }
bool onTop(const Context& now) { return now.alwaysOnTop; }
bool snoozable(const Context& now) { return now.countdown == CountdownState::Ringing && now.snoozeMinutes > 0; }

// "スヌーズ（5分）(&Z)" for each number of minutes the option takes, kept for the menus.
const char16_t* snoozeText(int minutes) {
  static const std::vector<std::u16string> texts = [] {
    std::vector<std::u16string> all{u"スヌーズ(&Z)"};
    for (int m = 1; m <= 60; ++m) {
      std::u16string number;
      for (const char c : std::to_string(m)) number += static_cast<char16_t>(c);
      all.push_back(u"スヌーズ（" + number + u"分）(&Z)");
    }
    return all;
  }();
  return texts[minutes >= 1 && minutes <= 60 ? static_cast<size_t>(minutes) : 0].c_str();
}

}  // namespace

const std::vector<MenuCommand> kMenuCommands = {
    {0, InSystemMenu, nullptr, always, nullptr, nullptr, nullptr},
    {IDM_SHOW, InTrayMenu | TrayDefault, u"表示(&S)", inTray, [](Target& t, const Context&) { t.restoreFromTray(); },
     nullptr, nullptr},
    {IDM_PAUSE, InSystemMenu | InTrayMenu, u"一時停止(&P)", pausable,
     [](Target& t, const Context&) { t.togglePause(); }, paused, u"再開(&P)"},
    {IDM_EXTEND_SHORT, InSystemMenu | InTrayMenu, u"1分延長(&1)", counting,
     [](Target& t, const Context&) { t.extend(ShortExtensionSeconds); }, nullptr, nullptr},
    {IDM_EXTEND_LONG, InSystemMenu | InTrayMenu, u"5分延長(&5)", counting,
     [](Target& t, const Context&) { t.extend(LongExtensionSeconds); }, nullptr, nullptr},
    {IDM_CANCEL, InTrayMenu, u"中断(&C)", counting, [](Target& t, const Context&) { t.cancel(); }, nullptr, nullptr},
    // Its text names the minutes: see lookOf.
    {IDM_SNOOZE, InSystemMenu | InTrayMenu, u"スヌーズ(&Z)", snoozable, [](Target& t, const Context&) { t.snooze(); },
     nullptr, nullptr},
    {0, InSystemMenu | InTrayMenu, nullptr, always, nullptr, nullptr, nullptr},
    {IDM_ALWAYS_ON_TOP, InSystemMenu, u"常に手前に表示(&A)", always,
     [](Target& t, const Context& now) { t.setAlwaysOnTop(!now.alwaysOnTop); }, onTop, nullptr},
    // At any time: changes count from the next ringing, as the dialog's do.
    {IDM_OPTIONS, InSystemMenu | InTrayMenu, u"詳細設定(&O)...", always,
     [](Target& t, const Context&) { t.editOptions(); }, nullptr, nullptr},
    // As the load button: not while a countdown runs.
    {IDM_FIRST_TEMPLATE, InTrayMenu, u"テンプレートから開始(&T)", idle, nullptr, nullptr, nullptr},
    {0, InTrayMenu, nullptr, always, nullptr, nullptr, nullptr},
    {IDM_EXIT, InTrayMenu, u"終了(&X)", always, [](Target& t, const Context&) { t.closeDialog(); }, nullptr, nullptr},
};

MenuItemLook lookOf(const MenuCommand& command, const CommandContext& now) {
  const bool marked = command.marked != nullptr && command.marked(now);
  const bool renamed = marked && command.markedText != nullptr;
  const char16_t* text = command.id == IDM_SNOOZE ? snoozeText(now.snoozeMinutes) : command.text;
  return {renamed ? command.markedText : text, command.applies(now), marked && !renamed};
}

bool dispatchCommand(unsigned id, const CommandContext& now, ICommandTarget& target) {
  for (const MenuCommand& command : kMenuCommands) {
    if (command.id != id || command.run == nullptr) continue;
    if (command.applies(now)) command.run(target, now);
    return true;
  }
  return false;
}

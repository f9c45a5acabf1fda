#pragma once

#include <vector>

#include "app/dialog_state.h"

// The commands of the dialog's system menu and of the tray icon's menu, one
// row each: both menus and the dispatch of their commands are built from the
// rows, so adding a command is adding a row.

// What decides how a command shows and whether it applies.
struct CommandContext {
  CountdownState countdown = CountdownState::Idle;
  Placement placement = Placement::Shown;
  bool timeOfDay = false;  // due by the clock: nothing to pause
  bool alwaysOnTop = false;
  int snoozeMinutes = 0;  // ringing with snooze on
};

// What the commands do, carried out by the application's window.
class ICommandTarget {
 public:
  virtual ~ICommandTarget() = default;
  virtual void restoreFromTray() = 0;
  virtual void togglePause() = 0;
  virtual void extend(int seconds) = 0;
  virtual void cancel() = 0;
  virtual void closeDialog() = 0;  // as the close box
  virtual void setAlwaysOnTop(bool on) = 0;
  virtual void editOptions() = 0;  // the 詳細設定 box
  virtual void snooze() = 0;
};

// The menus a row is in, as bits; the tray's default item is the icon's double click.
enum MenuSet : unsigned { InSystemMenu = 1, InTrayMenu = 2, TrayDefault = 4 };

struct MenuCommand {
  unsigned id;     // IDM_*; 0 a separator; IDM_FIRST_TEMPLATE the templates' submenu
  unsigned menus;  // MenuSet bits
  const char16_t* text;
  bool (*applies)(const CommandContext&);  // greyed and ignored otherwise
  // Null where the menu handles the choice itself (a template).
  void (*run)(ICommandTarget&, const CommandContext&);
  // A switch: while marked it shows markedText, or a check mark without one.
  bool (*marked)(const CommandContext&);
  const char16_t* markedText;
};

// In the order the menus list them.
extern const std::vector<MenuCommand> kMenuCommands;

struct MenuItemLook {
  const char16_t* text;
  bool enabled;
  bool checked;
};
// How a row shows in a menu now.
MenuItemLook lookOf(const MenuCommand& command, const CommandContext& now);

// Runs the command when it applies now: each menu acts on the state it showed,
// and another may have changed it since.  False for an id that is none of the
// commands (a template's, a system command).
bool dispatchCommand(unsigned id, const CommandContext& now, ICommandTarget& target);

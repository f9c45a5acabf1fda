#pragma once

#include <windows.h>

#include "base/string.h"
#include "base/unique_handle.h"

namespace Ostra {

// A menu that no window or parent menu has taken over yet.
struct MenuTraits {
  using Handle = HMENU;
  static Handle invalid() noexcept { return nullptr; }
  static void close(Handle menu) noexcept { DestroyMenu(menu); }
};
using UniqueMenu = UniqueHandle<MenuTraits>;

// Menu items by command id.  Texts go through the wide calls on the NT family
// and the ANSI code page otherwise; flags are MF_GRAYED and MF_CHECKED.  A
// refused call changes nothing and is not reported: a menu item is never
// worth more than the window it belongs to.
void appendMenuItem(HMENU menu, UINT id, const String& text, UINT flags = 0);
void appendMenuSeparator(HMENU menu);
// The parent owns the submenu once it is in, and destroys it with itself.
void appendSubmenu(HMENU menu, UniqueMenu submenu, const String& text, UINT flags = 0);
// Replaces an existing item's text and state.
void changeMenuItem(HMENU menu, UINT id, const String& text, UINT flags = 0);
// A name shown as it is, without '&' making the next character a mnemonic.
String literalMenuText(const String& name);

// Shows a shortcut menu for a notification-area icon at a point of the screen
// and waits for the user; the chosen command, 0 when none was.  Puts owner in
// the foreground first and posts it WM_NULL afterwards: otherwise the menu
// stays open when the user clicks elsewhere, and closes at once the next time.
// With icon (the icon's place, for a menu the keyboard opened) the menu goes
// beside it, not over it, and at is not used.
UINT trackTrayMenu(HWND owner, HMENU menu, POINT at, const RECT* icon = nullptr);

}  // namespace Ostra

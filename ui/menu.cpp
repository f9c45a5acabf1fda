#include "ui/menu.h"

#include "base/call_form.h"
#include "base/encoding.h"
#include "base/platform_win.h"

namespace Ostra {

namespace {

void insert(HMENU menu, UINT flags, UINT_PTR item, const String& text) {
  if (useWideCalls()) {
    AppendMenuW(menu, flags, item, wide(text));
    return;
  }
  AppendMenuA(menu, flags, item, defaultEncoding().encode(text).c_str());
}

}  // namespace

void appendMenuItem(HMENU menu, UINT id, const String& text, UINT flags) { insert(menu, MF_STRING | flags, id, text); }

void appendMenuSeparator(HMENU menu) { AppendMenuW(menu, MF_SEPARATOR, 0, nullptr); }

void appendSubmenu(HMENU menu, UniqueMenu submenu, const String& text, UINT flags) {
  const HMENU handle = submenu.get();
  insert(menu, MF_STRING | MF_POPUP | flags, reinterpret_cast<UINT_PTR>(handle), text);
  // Taken over only when the item is there; otherwise ours to destroy.
  if (GetMenuItemCount(menu) > 0 && GetSubMenu(menu, GetMenuItemCount(menu) - 1) == handle) submenu.release();
}

void changeMenuItem(HMENU menu, UINT id, const String& text, UINT flags) {
  if (useWideCalls()) {
    ModifyMenuW(menu, id, MF_BYCOMMAND | MF_STRING | flags, id, wide(text));
    return;
  }
  ModifyMenuA(menu, id, MF_BYCOMMAND | MF_STRING | flags, id, defaultEncoding().encode(text).c_str());
}

String literalMenuText(const String& name) { return name.replaceAll(u"&", u"&&"); }

UINT trackTrayMenu(HWND owner, HMENU menu, POINT at, const RECT* icon) {
  SetForegroundWindow(owner);
  UINT flags = TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON;
  TPMPARAMS beside{};
  beside.cbSize = sizeof beside;
  if (icon != nullptr) {
    // Above the icon on a bottom taskbar, and moved clear of it on any other.
    at = POINT{icon->left, icon->top};
    beside.rcExclude = *icon;
    flags |= TPM_BOTTOMALIGN | TPM_VERTICAL;
  }
  const BOOL chosen = TrackPopupMenuEx(menu, flags, at.x, at.y, owner, icon != nullptr ? &beside : nullptr);
  PostMessageW(owner, WM_NULL, 0, 0);
  return static_cast<UINT>(chosen);
}

}  // namespace Ostra

#include "app/global_hotkey_win.h"

CGlobalHotkey::~CGlobalHotkey() { unregister(); }

bool CGlobalHotkey::change(const Hotkey& hotkey) {
  if (hotkey == registered_) return true;
  // One id for the program's one hotkey: the old one must go first, and the
  // system keeps a combination for one window at a time.
  const Hotkey before = registered_;
  unregister();
  if (hotkey.none() || tryRegister(hotkey)) return true;
  if (!before.none()) tryRegister(before);
  return false;
}

bool CGlobalHotkey::tryRegister(const Hotkey& hotkey) {
  // MOD_NOREPEAT (Windows 7 on): a key held down brings one WM_HOTKEY, so the
  // window does not come and go with the keyboard's repeat.
  if (RegisterHotKey(window_, Id, hotkey.modifiers | MOD_NOREPEAT, hotkey.key) == FALSE) return false;
  registered_ = hotkey;
  return true;
}

void CGlobalHotkey::unregister() {
  if (registered_.none()) return;
  UnregisterHotKey(window_, Id);
  registered_ = Hotkey{};
}

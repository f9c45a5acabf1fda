#pragma once

#include "base/string.h"
#include "config/config_data.h"

// The global hotkey that brings the window forward, as the settings file
// writes it: "Ctrl+Alt+K".  Off by default: the key is in a file only while a
// hotkey is set, so that files without one stay as they were.
struct Hotkey {
  // Windows' MOD_* bits, as RegisterHotKey and WM_HOTKEY take them.
  static constexpr unsigned Alt = 0x1, Ctrl = 0x2, Shift = 0x4, Win = 0x8;

  unsigned modifiers = 0;
  unsigned key = 0;  // a virtual-key code; 0 is no hotkey

  bool none() const { return key == 0; }
  bool operator==(const Hotkey& other) const { return modifiers == other.modifiers && key == other.key; }
  bool operator!=(const Hotkey& other) const { return !(*this == other); }
};

constexpr char16_t kHotkeyKey[] = u"Hotkey";

// Modifiers ("Ctrl", "Alt", "Shift", "Win", in any order and case) joined by
// '+', then one key name; blanks around the parts are allowed, and a text of
// blanks is no hotkey.  False for anything else, and for a combination that
// would take ordinary typing away (no modifier, or Shift alone with a key
// other than F1-F24).
bool parseHotkey(const Ostra::String& text, Hotkey& hotkey);
// "Ctrl+Alt+Shift+Win+K" in that order; empty for none, and for a key that
// has no name here.
Ostra::String formatHotkey(const Hotkey& hotkey);
// The text names the key, and the combination leaves ordinary typing alone.
bool usableHotkey(const Hotkey& hotkey);

// None when the key is missing.  Throws RuntimeException, with the text every
// malformed key gets, when its value does not parse.
Hotkey readHotkey(const Ostra::CConfigData& settings);
// The key while a hotkey is set; removed for none.
void writeHotkey(Ostra::CConfigData& settings, const Hotkey& hotkey);
// Removes a malformed key (then there is no hotkey); its error text, empty
// when it reads.
Ostra::String removeMalformedHotkey(Ostra::CConfigData& settings);

// The system's hotkey control holds the key in its low byte and HOTKEYF_SHIFT
// (1), HOTKEYF_CONTROL (2), HOTKEYF_ALT (4) and HOTKEYF_EXT (8, the key's place
// on the keyboard, which a hotkey ignores) in the next: the bits of MOD_SHIFT
// and MOD_ALT are swapped there, and Win has none.
Hotkey hotkeyFromControl(unsigned value);
// The control's value for a hotkey, without its Win.
unsigned controlValueOf(const Hotkey& hotkey);

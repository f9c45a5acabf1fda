#include "app/hotkey.h"

#include <string>
#include <vector>

#include "base/exception.h"

using Ostra::CConfigData;
using Ostra::String;

namespace {

// Windows' virtual-key codes, as plain numbers: this file builds everywhere.
constexpr unsigned kF1 = 0x70, kF24 = 0x87;

// The keys with a name of their own; letters, digits, Num0-Num9 and F1-F24
// are counted out below.
const struct {
  const char16_t* name;
  unsigned key;
} kNamedKeys[] = {
    {u"Backspace", 0x08},  {u"Tab", 0x09},       {u"Enter", 0x0D},       {u"Pause", 0x13},  {u"Esc", 0x1B},
    {u"Space", 0x20},      {u"PageUp", 0x21},    {u"PageDown", 0x22},    {u"End", 0x23},    {u"Home", 0x24},
    {u"Left", 0x25},       {u"Up", 0x26},        {u"Right", 0x27},       {u"Down", 0x28},   {u"PrintScreen", 0x2C},
    {u"Insert", 0x2D},     {u"Delete", 0x2E},    {u"NumMultiply", 0x6A}, {u"NumAdd", 0x6B}, {u"NumSubtract", 0x6D},
    {u"NumDecimal", 0x6E}, {u"NumDivide", 0x6F},
};

const struct {
  const char16_t* name;
  unsigned bit;
} kModifiers[] = {{u"Ctrl", Hotkey::Ctrl}, {u"Alt", Hotkey::Alt}, {u"Shift", Hotkey::Shift}, {u"Win", Hotkey::Win}};

std::u16string keyName(unsigned key) {
  if ((key >= u'A' && key <= u'Z') || (key >= u'0' && key <= u'9')) return std::u16string(1, char16_t(key));
  if (key >= 0x60 && key <= 0x69) return u"Num" + std::u16string(1, char16_t(u'0' + key - 0x60));
  if (key >= kF1 && key <= kF24) return u"F" + String::fromInt(static_cast<int>(key - kF1 + 1)).str();
  for (const auto& k : kNamedKeys) {
    if (k.key == key) return k.name;
  }
  return std::u16string();
}

std::u16string lower(std::u16string text) {
  for (char16_t& c : text) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return text;
}

std::u16string trimmed(const std::u16string& text) {
  const size_t first = text.find_first_not_of(u" \t");
  if (first == std::u16string::npos) return std::u16string();
  return text.substr(first, text.find_last_not_of(u" \t") - first + 1);
}

// The key of a name, any case; 0 when none has it.  Every key's name is
// tried, which for the 0xFF codes there are is quick enough for a setting.
unsigned keyOf(const std::u16string& name) {
  const std::u16string wanted = lower(name);
  if (wanted.empty()) return 0;
  for (unsigned key = 1; key < 0x100; ++key) {
    if (lower(keyName(key)) == wanted) return key;
  }
  return 0;
}

[[noreturn]] void throwMalformed() {
  throw Ostra::RuntimeException(u"コンフィグデータ '" + String(kHotkeyKey) + u"' (文字列)の読み込みに失敗しました");
}

}  // namespace

bool usableHotkey(const Hotkey& hotkey) {
  if (keyName(hotkey.key).empty() || (hotkey.modifiers & ~0xFu) != 0) return false;
  if (hotkey.modifiers == 0) return false;
  return hotkey.modifiers != Hotkey::Shift || (hotkey.key >= kF1 && hotkey.key <= kF24);
}

bool parseHotkey(const String& text, Hotkey& hotkey) {
  hotkey = Hotkey{};
  std::vector<std::u16string> parts;
  size_t start = 0;
  for (;;) {
    const size_t plus = text.str().find(u'+', start);
    parts.push_back(
        trimmed(text.str().substr(start, plus == std::u16string::npos ? std::u16string::npos : plus - start)));
    if (plus == std::u16string::npos) break;
    start = plus + 1;
  }
  if (parts.size() == 1 && parts[0].empty()) return true;
  Hotkey parsed;
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    unsigned bit = 0;
    for (const auto& m : kModifiers) {
      if (lower(m.name) == lower(parts[i])) bit = m.bit;
    }
    if (bit == 0 || (parsed.modifiers & bit) != 0) return false;
    parsed.modifiers |= bit;
  }
  parsed.key = keyOf(parts.back());
  if (!usableHotkey(parsed)) return false;
  hotkey = parsed;
  return true;
}

String formatHotkey(const Hotkey& hotkey) {
  const std::u16string key = keyName(hotkey.key);
  if (key.empty()) return String();
  std::u16string text;
  for (const auto& m : kModifiers) {
    if ((hotkey.modifiers & m.bit) != 0) text += std::u16string(m.name) + u"+";
  }
  return text + key;
}

Hotkey readHotkey(const CConfigData& settings) {
  Hotkey hotkey;
  if (settings.contains(kHotkeyKey) && !parseHotkey(settings.getRaw(kHotkeyKey), hotkey)) throwMalformed();
  return hotkey;
}

void writeHotkey(CConfigData& settings, const Hotkey& hotkey) {
  const String text = formatHotkey(hotkey);
  if (text.empty()) {
    settings.remove(kHotkeyKey);
  } else {
    settings.setRaw(kHotkeyKey, text);
  }
}

String removeMalformedHotkey(CConfigData& settings) {
  try {
    readHotkey(settings);
    return String();
  } catch (const Ostra::RuntimeException& e) {
    settings.remove(kHotkeyKey);
    return e.message();
  }
}

Hotkey hotkeyFromControl(unsigned value) {
  const unsigned flags = (value >> 8) & 0xFF;
  Hotkey hotkey;
  if ((value & 0xFF) == 0) return hotkey;  // modifiers alone are no hotkey
  hotkey.key = value & 0xFF;
  if ((flags & 0x1) != 0) hotkey.modifiers |= Hotkey::Shift;
  if ((flags & 0x2) != 0) hotkey.modifiers |= Hotkey::Ctrl;
  if ((flags & 0x4) != 0) hotkey.modifiers |= Hotkey::Alt;
  return hotkey;
}

unsigned controlValueOf(const Hotkey& hotkey) {
  // The cursor keys' own block, not the number pad's: the control names them so.
  const bool extended =
      (hotkey.key >= 0x21 && hotkey.key <= 0x28) || hotkey.key == 0x2D || hotkey.key == 0x2E || hotkey.key == 0x6F;
  unsigned flags = extended ? 0x8 : 0;
  if ((hotkey.modifiers & Hotkey::Shift) != 0) flags |= 0x1;
  if ((hotkey.modifiers & Hotkey::Ctrl) != 0) flags |= 0x2;
  if ((hotkey.modifiers & Hotkey::Alt) != 0) flags |= 0x4;
  return (flags << 8) | (hotkey.key & 0xFF);
}

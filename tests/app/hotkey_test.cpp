#include "app/hotkey.h"

#include <gtest/gtest.h>

#include "app/settings.h"
#include "config/config_data.h"
#include "tests/support/string_print.h"

using Ostra::CConfigData;
using Ostra::String;

namespace {

// Each text as a file may hold it: what it reads as, and how it is written back.
TEST(Hotkey, ParsedAndWrittenInOneOrder) {
  const struct {
    const char16_t* text;
    const char16_t* written;  // null: malformed
    unsigned modifiers = 0, key = 0;
  } rows[] = {
      {u"Ctrl+Alt+K", u"Ctrl+Alt+K", Hotkey::Ctrl | Hotkey::Alt, 'K'},
      {u"win+shift+alt+ctrl+f24", u"Ctrl+Alt+Shift+Win+F24", 0xF, 0x87},
      {u" Alt + Space ", u"Alt+Space", Hotkey::Alt, 0x20},
      {u"Ctrl+Num0", u"Ctrl+Num0", Hotkey::Ctrl, 0x60},
      {u"Win+PageDown", u"Win+PageDown", Hotkey::Win, 0x22},
      {u"Shift+F1", u"Shift+F1", Hotkey::Shift, 0x70},
      {u"", u"", 0, 0},
      {u"K", nullptr},        // no modifier: every K typed would be taken
      {u"F5", nullptr},       // nor a function key alone
      {u"Shift+K", nullptr},  // a capital K
      {u"Ctrl+Ctrl+K", nullptr},
      {u"Ctrl+Alt", nullptr},  // no key
      {u"Ctrl+F25", nullptr},
      {u"Control+K", nullptr},
      {u"Ctrl+Alt+K+L", nullptr},
      {u"Ctrl+\u00e9", nullptr},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(Ostra::toUtf8(row.text));
    Hotkey hotkey{0xF, 0x41};
    EXPECT_EQ(row.written != nullptr, parseHotkey(row.text, hotkey));
    if (row.written == nullptr) {
      EXPECT_TRUE(hotkey.none()) << "a refused text leaves no hotkey";
      continue;
    }
    EXPECT_EQ(row.modifiers, hotkey.modifiers);
    EXPECT_EQ(row.key, hotkey.key);
    EXPECT_EQ(String(row.written), formatHotkey(hotkey));
    // The system's hotkey control gives the same back, less its Win.
    Hotkey viaControl = hotkeyFromControl(controlValueOf(hotkey));
    if (!hotkey.none()) viaControl.modifiers |= hotkey.modifiers & Hotkey::Win;
    EXPECT_TRUE(viaControl == hotkey);
  }
}

// In a file only while set; a malformed value gets the box of any malformed
// key and leaves no hotkey.
TEST(Hotkey, InAFileOnlyWhileSet) {
  CConfigData settings;
  writeDefaults(settings);
  const size_t keys = settings.entries().size();
  writeHotkey(settings, Hotkey{Hotkey::Ctrl | Hotkey::Alt, 'K'});
  EXPECT_EQ(String(u"Ctrl+Alt+K"), settings.getRaw(kHotkeyKey));
  EXPECT_TRUE(readHotkey(settings) == (Hotkey{Hotkey::Ctrl | Hotkey::Alt, 'K'}));
  writeHotkey(settings, Hotkey{});
  EXPECT_EQ(keys, settings.entries().size());
  EXPECT_TRUE(readHotkey(settings).none());

  settings.setRaw(kHotkeyKey, u"Ctrl+Alt+Ä");
  EXPECT_THROW(readHotkey(settings), std::exception);
  EXPECT_EQ(String(u"コンフィグデータ 'Hotkey' (文字列)の読み込みに失敗しました"), defaultMalformedSettings(settings));
  EXPECT_FALSE(settings.contains(kHotkeyKey));
  EXPECT_EQ(keys, settings.entries().size());
}

}  // namespace

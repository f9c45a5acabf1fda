#include "ui/file_name_repair.h"

#include <gtest/gtest.h>

#include <string>

#include "base/encoding.h"
#include "base/platform_win.h"
#include "tests/support/string_print.h"

namespace Ostra {
namespace {

TEST(RepairFileName, BytesWithTheFixedShiftJisLeadByteTest) {
  const struct {
    const char* name;
    const char* want;
  } cases[] = {
      {"a:b*c", "a:b-c"},  // a colon among the first three bytes stays
      {"abc:d", "abc-d"},
      {"ab:", "ab:"},
      {"\\/*\"?<>|x", "--------x"},
      {"\x83\x5C.txt", "\x83\x5C.txt"},  // ソ: its second byte is '\'
      {"\x95\x5C|", "\x95\x5C-"},        // 表
      {"\xE0|x|", "\xE0|x-"},            // any lead byte, whatever the code page
      {"x\x81", "x\x81"},                // a lead byte right before the end stops the walk
      {"\xA0|", "\xA0-"},                // 0xA0 is no lead byte
      {"", ""},
  };
  for (const auto& c : cases) {
    std::string bytes = c.name;
    repairFileName(bytes.data());
    EXPECT_EQ(std::string(c.want), bytes) << c.name;
  }
}

TEST(RepairFileName, WideTextKeepsEveryOtherCharacterAndCountsColonsInAnsiBytes) {
  const struct {
    const char16_t* name;
    const char16_t* want;
  } cases[] = {
      {u"ソ\\表|", u"ソ-表-"},
      {u"\u0100:x*", u"\u0100:x-"},  // one byte in the ANSI form: the colon is at byte 1
      {u"\U0001F375<>", u"\U0001F375--"},
      {u"あ:x", u"あ:x"},      // byte 2 of "\x82\xA0:x"
      {u"ああ:x", u"ああ-x"},  // byte 4
  };
  const bool doubleByte = defaultEncoding().encode(String(u"あ")).size() == 2;
  for (const auto& c : cases) {
    if (!doubleByte && c.name[0] == u'あ') continue;
    std::wstring units = wide(String(c.name));
    repairFileName(units.data());
    EXPECT_EQ(String(c.want), fromWide(units.c_str())) << toUtf8(c.name);
  }
}

}  // namespace
}  // namespace Ostra

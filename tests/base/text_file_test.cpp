#include "base/text_file.h"

#include <gtest/gtest.h>

#include <string>

#include "base/encoding.h"
#include "base/exception.h"
#include "tests/support/string_print.h"
#include "tests/support/temp_dir.h"

namespace Ostra {
namespace {

using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

const std::string kLittleEndianMark = "\xFF\xFE";
const std::string kBigEndianMark = "\xFE\xFF";

std::string bytes(std::initializer_list<unsigned char> values) { return std::string(values.begin(), values.end()); }

TEST(ReadTextFile, UnicodeByOrderMarkWhenTheSizeIsEven) {
  const struct {
    const char* name;
    std::string bytes;
    String want;
  } cases[] = {
      {"UTF-16LE", bytes({0xFF, 0xFE, 0x41, 0x00}), u"A"},
      {"UTF-16BE", bytes({0xFE, 0xFF, 0x00, 0x41}), u"A"},
      {"UTF-16LE Japanese", bytes({0xFF, 0xFE, 0x42, 0x30, 0x41, 0x00}), u"あA"},
      {"UTF-16BE Japanese", bytes({0xFE, 0xFF, 0x30, 0x42, 0x00, 0x41}), u"あA"},
      {"UTF-16LE non-BMP", bytes({0xFF, 0xFE, 0x34, 0xD8, 0x1E, 0xDD}), u"\U0001D11E"},
      {"UTF-16BE non-BMP", bytes({0xFE, 0xFF, 0xD8, 0x34, 0xDD, 0x1E}), u"\U0001D11E"},
      {"UTF-16LE mark twice", bytes({0xFF, 0xFE, 0xFF, 0xFE}), u"\uFEFF"},
      // What writeTextFile leaves for an empty text reads back as one.
      {"UTF-16LE mark alone", kLittleEndianMark, u""},
      {"UTF-16BE mark alone", kBigEndianMark, u""},
      {"empty", "", u""},
  };
  for (const auto& c : cases) {
    TempDir folder;
    writeBytes(folder.file("t.txt"), c.bytes);
    EXPECT_EQ(c.want, readTextFile(folder.fileString("t.txt"))) << c.name;
  }
}

// Everything else, marks of odd-sized files included, is the ANSI code page.
TEST(ReadTextFile, OtherwiseTheAnsiCodePage) {
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"three bytes", "ABC"},
      {"UTF-16LE mark, odd size", kLittleEndianMark + std::string("A\0B", 3)},
      {"UTF-16BE mark, odd size", kBigEndianMark + std::string("\0A\0", 3)},
      {"Shift_JIS, not UTF-8", "\x91\xE5\x8E\x96"},
      {"overlong UTF-8 form", "\xC0\xAF"},
      {"even size, no mark", "key = value\r\n"},
      {"one byte", "x"},
  };
  for (const auto& c : cases) {
    TempDir folder;
    writeBytes(folder.file("t.txt"), c.bytes);
    EXPECT_EQ(defaultEncoding().decode(c.bytes), readTextFile(folder.fileString("t.txt"))) << c.name;
  }
  TempDir folder;
  writeBytes(folder.file("ascii.txt"), "ABC");
  EXPECT_EQ(String(u"ABC"), readTextFile(folder.fileString("ascii.txt")));
}

TEST(ReadTextFile, Utf8AfterItsMarkOrWhenWellFormed) {
  const struct {
    std::string bytes;
    String want;
  } cases[] = {
      {"\xEF\xBB\xBFk = \xE5\xA4\xA7\xE4\xBA\x8B", u"k = 大事"},
      {"k = \xE5\xA4\xA7\xE4\xBA\x8B\xF0\x9F\x8D\xB5", u"k = 大事\U0001F375"},
      {"\xEF\xBB\xBF", u""},
      {"\xEF\xBB\xBF\xFFk", u"\uFFFDk"},  // after the mark, even when broken
  };
  for (const auto& c : cases) {
    TempDir folder;
    writeBytes(folder.file("t.txt"), c.bytes);
    EXPECT_EQ(c.want, readTextFile(folder.fileString("t.txt"))) << toUtf8(c.want);
  }
}

TEST(ReadTextFile, MissingFileThrowsTheOpenMessage) {
  TempDir folder;
  const String path = folder.fileString("missing.cfg");
  try {
    readTextFile(path);
    ADD_FAILURE() << "no exception";
  } catch (const IOException& error) {
    EXPECT_EQ(defaultEncoding().encode(path + u" が開けませんでした"), error.what());
  }
}

TEST(WriteTextFile, LittleEndianMarkAndUnits) {
  const struct {
    String text;
    std::string want;
  } cases[] = {
      {u"", kLittleEndianMark},
      {u"A", bytes({0xFF, 0xFE, 0x41, 0x00})},
      {u"あ\U0001D11E", bytes({0xFF, 0xFE, 0x42, 0x30, 0x34, 0xD8, 0x1E, 0xDD})},
  };
  for (const auto& c : cases) {
    TempDir folder;
    writeTextFile(folder.fileString("t.txt"), c.text);
    EXPECT_EQ(c.want, readBytes(folder.file("t.txt"))) << toUtf8(c.text);
  }
}

TEST(WriteTextFile, RoundTripsThroughReadTextFile) {
  const String cases[] = {
      u"",
      u"A",
      u"Title = あと1時間02分05秒\r\nPath = C:\\テンプレート\\a.tpt\r\n",
      u"\U0001F375 tea, \U0001D11E clef",
      u"\uFEFFstarts with a mark",
      String(std::u16string(70000, u'漢')),
  };
  for (const String& text : cases) {
    TempDir folder;
    writeTextFile(folder.fileString("t.txt"), text);
    EXPECT_EQ(text, readTextFile(folder.fileString("t.txt")));
  }
}

TEST(WriteTextFile, ReplacesALongerFile) {
  TempDir folder;
  writeBytes(folder.file("t.txt"), std::string(1000, 'x'));
  writeTextFile(folder.fileString("t.txt"), u"B");
  EXPECT_EQ(bytes({0xFF, 0xFE, 0x42, 0x00}), readBytes(folder.file("t.txt")));
}

TEST(WriteTextFile, CreatesMissingFoldersFirst) {
  TempDir folder;
  const String path = folder.string() + u"\\template\\新規\\a.tpt";
  writeTextFile(path, u"k = v");
  EXPECT_EQ(String(u"k = v"), readTextFile(path));
  EXPECT_TRUE(std::filesystem::is_regular_file(folder.file("template/新規/a.tpt")));
}

TEST(WriteTextFile, FailsWhenTheFileCannotBeCreated) {
  TempDir folder;
  writeBytes(folder.file("plain"), "a file, not a folder");
  EXPECT_THROW(writeTextFile(folder.string() + u"/plain/a.tpt", u"x"), IOException);
  EXPECT_THROW(writeTextFile(folder.string(), u"x"), IOException);
}

}  // namespace
}  // namespace Ostra

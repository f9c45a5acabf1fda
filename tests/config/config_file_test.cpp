#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "base/encoding.h"
#include "base/environment.h"
#include "base/path.h"
#include "config/config_data.h"
#include "tests/support/settings_file_bytes.h"
#include "tests/support/temp_dir.h"

namespace Ostra {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;
using Pairs = std::vector<std::pair<std::u16string, std::u16string>>;

Pairs entriesOf(const CConfigData& document) {
  Pairs pairs;
  for (const auto& entry : document.entries()) pairs.emplace_back(entry.first.str(), entry.second.str());
  return pairs;
}

std::string utf16(const std::u16string& text, bool bigEndian = false) {
  std::string bytes;
  for (const char16_t unit : text) {
    const char low = static_cast<char>(unit & 0xFF);
    const char high = static_cast<char>(unit >> 8);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}

// The settings the program writes on its first start, in the order it sets them.
void fillWithDefaults(CConfigData& document) {
  document.setNumber(u"TimeH", 0);
  document.setNumber(u"TimeM", 0);
  document.setNumber(u"TimeS", 0);
  document.setBool(u"TimeMode", false);
  document.setBool(u"NotifyMsg", true);
  document.setString(u"NotifyMsgText", u"");
  document.setBool(u"NotifyBeep", false);
  document.setBool(u"NotifyWav", false);
  document.setRaw(u"NotifyWavFile", u"%windir%\\Media\\chimes.wav");
  document.setBool(u"NotifyExe", false);
  document.setRaw(u"NotifyExeFile", u"%comspec%");
  document.setRaw(u"NotifyExePrm", u"");
  document.setBool(u"MinimizeWithStart", true);
  document.setBool(u"CloseWithEnd", true);
}

TEST(ConfigFile, DefaultSettingsAreWrittenByteForByte) {
  TempDir dir;
  CConfigData document;
  fillWithDefaults(document);
  ASSERT_TRUE(document.save(dir.fileString("Kairon.cfg")));
  EXPECT_EQ(testing::utf16FileBytes(testing::kDefaultSettingsText), readBytes(dir.file("Kairon.cfg")));
}

// The entry of a one-line file whose bytes are taken as ANSI text.
Pairs entriesOfAnsiLine(const std::string& bytes) {
  const std::u16string line = defaultEncoding().decode(bytes).str();
  const size_t marker = line.find(u" =");
  if (marker == std::u16string::npos) return {};
  return {{line.substr(0, marker), String(line.substr(marker + 2)).trimStart().str()}};
}

TEST(ConfigFile, FilesInEveryEncodingRead) {
  const std::u16string text = u"a = 1\r\nb = \u3042\r\n";
  const Pairs both = {{u"a", u"1"}, {u"b", u"\u3042"}};
  const std::string utf8Mark = "\xEF\xBB\xBF";
  const struct {
    std::string bytes;
    Pairs want;
  } cases[] = {
      {"\xFF\xFE" + utf16(text), both},
      {"\xFE\xFF" + utf16(text, true), both},
      {"a = 1\nb = 2", {{u"a", u"1"}, {u"b", u"2"}}},  // no mark: the ANSI code page
      {"\xFF\xFE"
       "a = 1",
       entriesOfAnsiLine("\xFF\xFE"
                         "a = 1")},  // odd length: ANSI, mark included
      {"\xFF\xFE", {}},              // two bytes are always ANSI, and hold no marker
      {"", {}},
      {utf8Mark + "k = v", {{u"k", u"v"}}},                         // the mark is no part of the first key
      {"k = \xE5\xA4\xA7\xE4\xBA\x8B", {{u"k", u"\u5927\u4E8B"}}},  // UTF-8 without a mark
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    TempDir dir;
    writeBytes(dir.file("c.cfg"), cases[i].bytes);
    CConfigData document;
    EXPECT_TRUE(document.load(dir.fileString("c.cfg"))) << "case " << i;
    EXPECT_EQ(cases[i].want, entriesOf(document)) << "case " << i;
  }
}

TEST(ConfigFile, AnsiFileInTheCodePage) {
  const std::string bytes = defaultEncoding().encode(u"\u30AD\u30FC = \u5024\r\n");
  if (bytes.find('?') != std::string::npos) GTEST_SKIP() << "the narrow character set has no Japanese";
  TempDir dir;
  writeBytes(dir.file("j.cfg"), bytes);
  CConfigData document;
  ASSERT_TRUE(document.load(dir.fileString("j.cfg")));
  EXPECT_EQ((Pairs{{u"\u30AD\u30FC", u"\u5024"}}), entriesOf(document));
}

TEST(ConfigFile, LoadTellsAMissingFileFromOneItCannotReadAndTouchesNothing) {
  TempDir dir;
  fs::create_directory(dir.file("folder.cfg"));
  writeBytes(dir.file("huge.cfg"), "k = v\r\n");
  fs::resize_file(dir.file("huge.cfg"), kMaxConfigFileBytes + 1);
  // Keys by the million in a file of allowed size; as many as allowed still load.
  std::string manyKeys;
  std::string allowedKeys;
  for (size_t i = 0; i <= kMaxConfigKeys; ++i) {
    const std::string line = "k" + std::to_string(i) + " = v\r\n";
    manyKeys += line;
    if (i < kMaxConfigKeys) allowedKeys += line;
  }
  writeBytes(dir.file("many.cfg"), manyKeys);
  writeBytes(dir.file("allowed.cfg"), allowedKeys);
  const struct {
    String path;
    LoadResult want;
  } cases[] = {
      {dir.fileString("missing.cfg"), LoadResult::Missing}, {dir.fileString("no/such/folder.cfg"), LoadResult::Missing},
      {dir.fileString("folder.cfg"), LoadResult::Failed},   {dir.fileString("huge.cfg"), LoadResult::Failed},
      {dir.fileString("many.cfg"), LoadResult::Failed},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    CConfigData document;
    document.setRaw(u"kept", u"1");
    EXPECT_EQ(cases[i].want, document.read(cases[i].path)) << "case " << i;
    EXPECT_EQ((Pairs{{u"kept", u"1"}}), entriesOf(document)) << "case " << i;
  }
  CConfigData document;
  EXPECT_EQ(LoadResult::Loaded, document.read(dir.fileString("allowed.cfg")));
  EXPECT_EQ(kMaxConfigKeys, document.entries().size());
}

TEST(ConfigFile, LoadMergesOverTheDocument) {
  TempDir dir;
  writeBytes(dir.file("m.cfg"), "\xFF\xFE" + utf16(u"TimeH = 5\r\nExtra = x\r\n"));
  CConfigData document;
  fillWithDefaults(document);
  ASSERT_TRUE(document.load(dir.fileString("m.cfg")));
  EXPECT_EQ(5, document.getNumber(u"TimeH"));
  EXPECT_EQ(String(u"x"), document.getRaw(u"Extra"));
  EXPECT_TRUE(document.getBool(u"CloseWithEnd"));
  EXPECT_EQ(15u, document.entries().size());
}

TEST(ConfigFile, SaveThenLoadRestoresEveryEntryButLeadingWhiteSpace) {
  TempDir dir;
  CConfigData document;
  fillWithDefaults(document);
  document.setString(u"NotifyMsgText", u"Lunch\r\nGo \\ now ");
  document.setString(u"Lead", u"  \tpadded");
  document.setNumber(u"TimeH", -15);
  document.setRaw(u"\u65E5\u672C", u"\U0001F375");
  const String path = dir.fileString("round.tpt");
  ASSERT_TRUE(document.save(path));
  CConfigData back;
  ASSERT_TRUE(back.load(path));
  document.setString(u"Lead", u"padded");
  EXPECT_EQ(entriesOf(document), entriesOf(back));
}

TEST(ConfigFile, SaveCreatesMissingFoldersAndLeavesNoTemporaryFile) {
  TempDir dir;
  CConfigData document;
  document.setRaw(u"k", u"v");
  ASSERT_TRUE(document.save(dir.fileString("template/deeper/t.tpt")));
  EXPECT_TRUE(fs::is_regular_file(dir.file("template/deeper/t.tpt")));
  EXPECT_EQ((std::vector<fs::path>{dir.file("template/deeper/t.tpt")}),
            std::vector<fs::path>(fs::directory_iterator(dir.file("template/deeper")), fs::directory_iterator()));
}

TEST(ConfigFile, SaveReplacesAnExistingFileAndAStaleTemporaryFile) {
  TempDir dir;
  writeBytes(dir.file("s.cfg"), "\xFF\xFE" + utf16(u"old = 1\r\n"));
  // Left over from a crash, or a link placed there: removed, never written through.
  writeBytes(dir.file("other"), "another file, longer than the new text is going to be");
  fs::create_hard_link(dir.file("other"), dir.file("s.cfg.tmp"));
  CConfigData document;
  document.setRaw(u"new", u"2");
  ASSERT_TRUE(document.save(dir.fileString("s.cfg")));
  EXPECT_EQ("\xFF\xFE" + utf16(u"new = 2\r\n"), readBytes(dir.file("s.cfg")));
  EXPECT_FALSE(fs::exists(dir.file("s.cfg.tmp")));
  EXPECT_EQ("another file, longer than the new text is going to be", readBytes(dir.file("other")));
}

TEST(ConfigFile, SaveNeverWritesIntoTheOldTargetFile) {
  // A second name for the old file sees whatever is written into it.  The new
  // text must arrive as a new file renamed over the target: writing it into the
  // old one would leave it half-written after a crash or a power loss.
  TempDir dir;
  const std::string old = "\xFF\xFE" + utf16(u"old = 1\r\n");
  writeBytes(dir.file("w.cfg"), old);
  fs::create_hard_link(dir.file("w.cfg"), dir.file("witness"));
  CConfigData document;
  document.setRaw(u"new", u"2");
  ASSERT_TRUE(document.save(dir.fileString("w.cfg")));
  EXPECT_EQ("\xFF\xFE" + utf16(u"new = 2\r\n"), readBytes(dir.file("w.cfg")));
  EXPECT_EQ(old, readBytes(dir.file("witness")));
}

TEST(ConfigFile, FailedSaveLeavesTheTargetAsItWas) {
  const std::string old = "\xFF\xFE" + utf16(u"old = 1\r\n");
  CConfigData document;
  document.setRaw(u"new", u"2");
  {
    // The temporary file cannot be written: the target is never touched.
    TempDir dir;
    writeBytes(dir.file("t.cfg"), old);
    fs::create_directory(dir.file("t.cfg.tmp"));
    EXPECT_FALSE(document.save(dir.fileString("t.cfg")));
    EXPECT_EQ(old, readBytes(dir.file("t.cfg")));
  }
  {
    // The target is a folder and cannot be replaced: it stays, and so does no
    // temporary file.
    TempDir dir;
    fs::create_directory(dir.file("d.cfg"));
    writeBytes(dir.file("d.cfg/inside"), old);
    EXPECT_FALSE(document.save(dir.fileString("d.cfg")));
    EXPECT_EQ(old, readBytes(dir.file("d.cfg/inside")));
    EXPECT_FALSE(fs::exists(dir.file("d.cfg.tmp")));
  }
}

TEST(ConfigFile, DefaultFileLivesBesideTheExecutable) {
  const String exe = modulePath();
  const String path = defaultConfigPath();
  EXPECT_EQ(directoryPart(exe), directoryPart(path));
  const fs::path exeName = testing::toPath(fileNamePart(exe));
  // "x.exe" gives "x.cfg"; a name without an extension gets ".cfg" appended.
  EXPECT_EQ(exeName.stem().u16string() + u".cfg", fileNamePart(path).str());

  const fs::path file = testing::toPath(path);
  std::error_code ignored;
  fs::remove(file, ignored);
  CConfigData document;
  document.setRaw(u"Default", u"yes");
  ASSERT_TRUE(document.saveDefault());
  CConfigData back;
  EXPECT_TRUE(back.loadDefault());
  fs::remove(file, ignored);
  EXPECT_EQ(String(u"yes"), back.getRaw(u"Default"));
  EXPECT_FALSE(back.loadDefault());
}

}  // namespace
}  // namespace Ostra

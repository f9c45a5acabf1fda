#include "app/template_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/settings.h"
#include "config/config_data.h"
#include "config/config_text.h"
#include "tests/support/temp_dir.h"

using Ostra::CConfigData;
using Ostra::String;
using Ostra::testing::TempDir;
using Ostra::testing::writeBytes;

namespace {

TEST(TemplateList, DurationTextAsTheTemplateMenuShowsIt) {
  const struct {
    std::u16string lines;
    const char16_t* want;
  } cases[] = {
      {u"TimeM = 90", u"1時間30分"},
      {u"TimeH = 2\nTimeS = 5", u"2時間5秒"},
      {u"TimeM = -3", u"0秒"},
      {u"TimeMode = true\nTimeH = 7\nTimeS = 5", u"7:00:05"},
      {u"TimeMode = true\nTimeH = 25", u"1:00"},
  };
  for (const auto& c : cases) {
    CConfigData settings;
    writeDefaults(settings);
    Ostra::parseText(settings, String(c.lines));
    EXPECT_EQ(String(c.want), durationText(settings)) << Ostra::toUtf8(String(c.lines));
  }
}

TEST(TemplateMenuNames, TptFilesSortedWithoutExtensionUpToTheLimit) {
  TempDir dir;
  std::filesystem::create_directories(dir.file("d.tpt"));
  for (const char* name : {"b.tpt", "A&c.tpt", "B2.TPT", "note.txt", "x.tptx", ".tpt"}) writeBytes(dir.file(name), "");
  const String folder = dir.string() + u"/";
  EXPECT_EQ((std::vector<String>{u"A&c", u"b", u"B2"}), templateMenuNames(folder, 30));
  EXPECT_EQ((std::vector<String>{u"A&c", u"b"}), templateMenuNames(folder, 2));
  EXPECT_TRUE(templateMenuNames(folder + u"missing/", 30).empty());
}

}  // namespace

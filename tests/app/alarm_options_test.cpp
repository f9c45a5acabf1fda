#include "app/alarm_options.h"

#include <gtest/gtest.h>

#include <iterator>

#include "app/settings.h"
#include "base/exception.h"
#include "config/config_data.h"
#include "tests/support/settings_file_bytes.h"
#include "tests/support/temp_dir.h"

using Ostra::CConfigData;
using Ostra::String;
using Ostra::testing::kDefaultSettingsText;
using Ostra::testing::readBytes;
using Ostra::testing::TempDir;
using Ostra::testing::utf16FileBytes;

namespace {

// Every option off: a file with the defaults stays byte for byte as it was.
TEST(AlarmOptions, OffWritesNothing) {
  TempDir dir;
  CConfigData settings;
  writeDefaults(settings);
  settings.setBool(u"NotifyRepeat", true);  // left over from an earlier save
  writeAlarmOptions(settings, AlarmOptions{});
  ASSERT_TRUE(settings.save(dir.fileString("Kairon.cfg")));
  EXPECT_EQ(utf16FileBytes(kDefaultSettingsText), readBytes(dir.file("Kairon.cfg")));
  EXPECT_TRUE(readAlarmOptions(settings) == AlarmOptions{});
}

TEST(AlarmOptions, OnlyWhatDiffersIsWrittenAndReadBack) {
  TempDir dir;
  AlarmOptions on;
  on.repeat = true;
  on.repeatMinutes = 60;
  on.snoozeMinutes = 1;
  on.showElapsed = true;
  on.warnMinutes = 120;
  on.runs = 0;
  CConfigData settings;
  writeAlarmOptions(settings, on);
  EXPECT_EQ(String(u"true"), settings.getRaw(u"NotifyRepeat"));
  EXPECT_EQ(String(u"60"), settings.getRaw(u"NotifyRepeatMinutes"));
  EXPECT_EQ(String(u"1"), settings.getRaw(u"SnoozeMinutes"));
  EXPECT_EQ(String(u"true"), settings.getRaw(u"ShowElapsed"));
  EXPECT_EQ(String(u"120"), settings.getRaw(u"NotifyBefore"));
  EXPECT_EQ(String(u"0"), settings.getRaw(u"RepeatCount"));
  ASSERT_TRUE(settings.save(dir.fileString("a.tpt")));
  CConfigData loaded;
  ASSERT_TRUE(loaded.load(dir.fileString("a.tpt")));
  EXPECT_TRUE(readAlarmOptions(loaded) == on);

  AlarmOptions minutesOnly;
  minutesOnly.repeatMinutes = 7;
  CConfigData second;
  writeAlarmOptions(second, minutesOnly);
  EXPECT_EQ(1u, second.entries().size());
  EXPECT_EQ(String(u"7"), second.getRaw(u"NotifyRepeatMinutes"));
}

// Each value against its key's range: what reads, and what gets the box.
TEST(AlarmOptions, RangesAndMalformedValues) {
  const struct {
    const char16_t* key;
    const char16_t* value;
    bool reads;
  } rows[] = {
      {u"NotifyRepeat", u"true", true},         {u"NotifyRepeat", u"false", true},
      {u"NotifyRepeat", u"yes", false},         {u"NotifyRepeatMinutes", u"1", true},
      {u"NotifyRepeatMinutes", u"60", true},    {u"NotifyRepeatMinutes", u"0", false},
      {u"NotifyRepeatMinutes", u"61", false},   {u"SnoozeMinutes", u"0", true},
      {u"SnoozeMinutes", u"60", true},          {u"SnoozeMinutes", u"61", false},
      {u"SnoozeMinutes", u"", false},           {u"SnoozeMinutes", u"5x", false},
      {u"SnoozeMinutes", u"-1", false},         {u"ShowElapsed", u"1", false},
      {u"NotifyBefore", u"120", true},          {u"NotifyBefore", u"121", false},
      {u"NotifyBefore", u"99999999999", false}, {u"RepeatCount", u"0", true},
      {u"RepeatCount", u"100", false},
  };
  for (const auto& row : rows) {
    CConfigData settings;
    writeDefaults(settings);
    settings.setRaw(row.key, row.value);
    const String name = String(row.key) + u"=" + row.value;
    if (row.reads) {
      EXPECT_NO_THROW(readAlarmOptions(settings)) << toUtf8(name);
      EXPECT_TRUE(defaultMalformedSettings(settings).empty()) << toUtf8(name);
      EXPECT_TRUE(settings.contains(row.key)) << toUtf8(name);
    } else {
      EXPECT_THROW(readAlarmOptions(settings), Ostra::RuntimeException) << toUtf8(name);
      // The same box as any key, and the key then has its default.
      EXPECT_EQ(u"コンフィグデータ '" + String(row.key) +
                    (String(row.key) == String(u"NotifyRepeat") || String(row.key) == String(u"ShowElapsed")
                         ? u"' (真偽値)の読み込みに失敗しました"
                         : u"' (数値)の読み込みに失敗しました"),
                defaultMalformedSettings(settings))
          << toUtf8(name);
      EXPECT_FALSE(settings.contains(row.key)) << toUtf8(name);
      EXPECT_TRUE(readAlarmOptions(settings) == AlarmOptions{}) << toUtf8(name);
    }
  }
}

// The 詳細設定 box's numbers: checked ones must be in range; an option off keeps no number.
TEST(AlarmOptions, TheBoxTakesNumbersInRange) {
  AlarmOptions before;
  before.repeatMinutes = 7;
  before.warnMinutes = 10;
  const AlarmOptionsForm shown = alarmOptionsForm(before);
  EXPECT_EQ(String(u"7"), shown.repeatMinutes);
  EXPECT_EQ(String(u"5"), shown.snoozeMinutes) << "off shows the usual number";
  EXPECT_TRUE(shown.warn);

  const struct {
    AlarmOptionsForm form;
    int bad;
    const char16_t* message;
  } rows[] = {
      {{true, u"60", true, u"1", true, true, u"120", false, u"3"}, -1, u""},
      {{true, u"61", false, u"", false, false, u"", false, u"3"}, 0, u"1 から 60 の数を入れてください"},
      {{false, u"", true, u"", false, false, u"", false, u"3"}, 1, u"1 から 60 の数を入れてください"},
      {{false, u"", false, u"", false, true, u"121", false, u"3"}, 2, u"1 から 120 の数を入れてください"},
      {{false, u"x", false, u"99", false, false, u"0", false, u"3"}, -1, u""},
      {{false, u"", false, u"", false, false, u"", true, u"100"}, 3, u"0 から 99 の数を入れてください"},
      {{false, u"", false, u"", false, false, u"", true, u"0"}, -1, u""},
  };
  for (size_t i = 0; i < std::size(rows); ++i) {
    AlarmOptions options = before;
    String message;
    EXPECT_EQ(rows[i].bad, formToAlarmOptions(rows[i].form, options, message)) << i;
    EXPECT_EQ(String(rows[i].message), message) << i;
    if (rows[i].bad >= 0) {
      EXPECT_TRUE(options == before) << i;
    }
  }
  AlarmOptions options = before;
  String message;
  formToAlarmOptions(rows[0].form, options, message);
  EXPECT_TRUE(options.repeat && options.repeatMinutes == 60 && options.snoozeMinutes == 1 && options.showElapsed &&
              options.warnMinutes == 120);
  formToAlarmOptions(rows[4].form, options, message);
  EXPECT_TRUE(!options.repeat && options.repeatMinutes == 60 && options.snoozeMinutes == 0 && !options.showElapsed &&
              options.warnMinutes == 0)
      << "off keeps no snooze nor warning; an unreadable number keeps the last";
  formToAlarmOptions(rows[6].form, options, message);
  EXPECT_EQ(String(u"0"), alarmOptionsForm(options).runs) << "until stopped";
  formToAlarmOptions(rows[4].form, options, message);
  EXPECT_EQ(String(u"3"), alarmOptionsForm(options).runs) << "unchecked: a single run, shown as the usual number";
}

}  // namespace

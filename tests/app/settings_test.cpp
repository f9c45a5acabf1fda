#include "app/settings.h"

#include <gtest/gtest.h>

#include <map>

#include "config/config_data.h"
#include "resources/resource.h"
#include "tests/support/settings_file_bytes.h"
#include "tests/support/temp_dir.h"

using Ostra::CConfigData;
using Ostra::String;
using Ostra::testing::kDefaultSettingsText;
using Ostra::testing::readBytes;
using Ostra::testing::TempDir;
using Ostra::testing::utf16FileBytes;
using Ostra::testing::writeBytes;

namespace {

// The dialog's controls as plain values, so the copies can be checked here.
class Controls : public ISettingsControls {
 public:
  String text(int id) override { return texts[id]; }
  void setText(int id, const String& text) override { texts[id] = text; }
  int number(int id) override { return texts[id].toInt(); }
  bool isChecked(int id) override { return checks[id]; }
  void setChecked(int id, bool checked) override { checks[id] = checked; }

  std::map<int, String> texts;
  std::map<int, bool> checks;
};

TEST(Settings, DefaultsAreWrittenAsTheDocumentedFile) {
  TempDir dir;
  CConfigData settings;
  writeDefaults(settings);
  ASSERT_TRUE(settings.save(dir.fileString("Kairon.cfg")));
  EXPECT_EQ(utf16FileBytes(kDefaultSettingsText), readBytes(dir.file("Kairon.cfg")));
}

TEST(Settings, DefaultsReachTheControls) {
  CConfigData settings;
  writeDefaults(settings);
  Controls controls;
  settingsToControls(settings, controls);
  EXPECT_EQ(String(), controls.texts[IDC_HOURS]);
  EXPECT_EQ(String(), controls.texts[IDC_MINUTES]);
  EXPECT_EQ(String(), controls.texts[IDC_SECONDS]);
  EXPECT_EQ(String(u"%windir%\\Media\\chimes.wav"), controls.texts[IDC_SOUND_FILE]);
  EXPECT_EQ(String(u"%comspec%"), controls.texts[IDC_PROGRAM_FILE]);
  EXPECT_EQ(String(), controls.texts[IDC_PROGRAM_ARGUMENTS]);
  EXPECT_EQ(String(), controls.texts[IDC_MESSAGE_TEXT]);
  const std::map<int, bool> checks = {
      {IDC_TIME_OF_DAY, false}, {IDC_MESSAGE_ON, true},        {IDC_BEEP, false},        {IDC_SOUND_ON, false},
      {IDC_PROGRAM_ON, false},  {IDC_MINIMIZE_AT_START, true}, {IDC_CLOSE_AT_END, true},
  };
  EXPECT_EQ(checks, controls.checks);
}

TEST(Settings, ControlsSurviveASaveAndALoad) {
  TempDir dir;
  Controls before;
  before.texts = {{IDC_HOURS, u""},
                  {IDC_MINUTES, u"5"},
                  {IDC_SECONDS, u"0"},
                  {IDC_MESSAGE_TEXT, u"お茶が入りました\r\n二行目 \\n は文字"},
                  {IDC_SOUND_FILE, u"sounds\\bell.wav"},
                  {IDC_PROGRAM_FILE, u"C:\\tools\\a b.exe"},
                  {IDC_PROGRAM_ARGUMENTS, u"  -x \"y z\""}};
  before.checks = {{IDC_TIME_OF_DAY, true},  {IDC_MESSAGE_ON, false}, {IDC_BEEP, true},
                   {IDC_SOUND_ON, true},     {IDC_PROGRAM_ON, true},  {IDC_MINIMIZE_AT_START, false},
                   {IDC_CLOSE_AT_END, false}};
  CConfigData saved;
  controlsToSettings(before, saved);
  ASSERT_TRUE(saved.save(dir.fileString("t.tpt")));

  CConfigData loaded;
  writeDefaults(loaded);
  ASSERT_TRUE(loaded.load(dir.fileString("t.tpt")));
  Controls after;
  settingsToControls(loaded, after);
  // Zero hours and seconds come back as empty fields.
  before.texts[IDC_SECONDS] = String();
  // Arguments keep their leading blanks only through the raw form; the reader
  // trims the start of every value.
  before.texts[IDC_PROGRAM_ARGUMENTS] = String(u"-x \"y z\"");
  EXPECT_EQ(before.texts, after.texts);
  EXPECT_EQ(before.checks, after.checks);
}

TEST(Settings, ATemplateWithOneKeyTakesDefaultsElsewhere) {
  TempDir dir;
  writeBytes(dir.file("three.tpt"), utf16FileBytes(u"TimeM = 3\r\n"));
  CConfigData settings;
  writeDefaults(settings);
  ASSERT_TRUE(settings.load(dir.fileString("three.tpt")));
  Controls controls;
  controls.texts[IDC_MESSAGE_TEXT] = u"shown before";
  settingsToControls(settings, controls);
  EXPECT_EQ(String(u"3"), controls.texts[IDC_MINUTES]);
  EXPECT_EQ(String(), controls.texts[IDC_HOURS]);
  EXPECT_EQ(String(), controls.texts[IDC_MESSAGE_TEXT]);
  EXPECT_TRUE(controls.checks[IDC_CLOSE_AT_END]);
}

TEST(Settings, AMalformedValueStopsAtItsKey) {
  CConfigData settings;
  writeDefaults(settings);
  settings.setNumber(u"TimeH", 2);
  settings.setRaw(u"NotifyMsg", u"yes");
  Controls controls;
  try {
    settingsToControls(settings, controls);
    FAIL() << "no exception";
  } catch (const std::exception& e) {
    EXPECT_NE(std::string::npos, std::string(e.what()).find("NotifyMsg"));
  }
  EXPECT_EQ(String(u"2"), controls.texts[IDC_HOURS]);     // before the key
  EXPECT_EQ(0u, controls.texts.count(IDC_MESSAGE_TEXT));  // after it
}

// Written only while on, so a file saved with it off is as one without it;
// any other value, "TRUE" too, is off and goes at the next save.
TEST(Settings, AlwaysOnTopIsInAFileOnlyWhileOn) {
  const struct {
    const char16_t* stored;  // null: no key
    bool on;
  } cases[] = {{nullptr, false}, {u"true", true}, {u"TRUE", false}, {u"1", false}, {u"false", false}};
  for (const auto& c : cases) {
    CConfigData settings;
    if (c.stored != nullptr) settings.setRaw(kAlwaysOnTopKey, c.stored);
    EXPECT_EQ(c.on, readAlwaysOnTop(settings)) << (c.stored != nullptr);
    writeAlwaysOnTop(settings, c.on);
    EXPECT_EQ(c.on, readAlwaysOnTop(settings));
    EXPECT_EQ(c.on ? 1u : 0u, settings.entries().size());
  }
}

}  // namespace

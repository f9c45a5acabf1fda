// The first start in a folder that holds nothing but the program.
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "tests/e2e/kairon_process.h"
#include "tests/e2e/remote_window.h"
#include "tests/e2e/settings_file.h"
#include "tests/support/settings_file_bytes.h"
#include "tests/support/string_print.h"
#include "tests/support/temp_dir.h"

namespace Ostra::e2e {
namespace {

TEST(FirstStart, WritesTheDefaultSettingsBesideTheProgram) {
  ProgramFolder folder;
  ASSERT_FALSE(std::filesystem::exists(folder.settingsFile()));
  KaironProcess kairon(folder);
  HWND dialog = kairon.waitForDialog();
  ASSERT_NE(nullptr, dialog) << "no timer dialog; " << kairon.state();

  // The file is complete before the dialog shows: it is written while the
  // dialog initialises.
  EXPECT_EQ(testing::utf16FileBytes(testing::kDefaultSettingsText), testing::readBytes(folder.settingsFile()));
  EXPECT_EQ(String(u"Kairon build-6"), windowTitle(dialog));
}

TEST(FirstStart, ShowsTheDefaults) {
  ProgramFolder folder;
  KaironProcess kairon(folder);
  HWND dialog = kairon.waitForDialog();
  ASSERT_NE(nullptr, dialog) << "no timer dialog; " << kairon.state();

  const struct {
    int id;
    const char16_t* text;
  } texts[] = {
      {IDC_HOURS, u""},
      {IDC_MINUTES, u""},
      {IDC_SECONDS, u""},
      {IDC_MESSAGE_TEXT, u""},
      {IDC_SOUND_FILE, u"%windir%\\Media\\chimes.wav"},
      {IDC_PROGRAM_FILE, u"%comspec%"},
      {IDC_PROGRAM_ARGUMENTS, u""},
  };
  for (const auto& c : texts) EXPECT_EQ(String(c.text), controlText(dialog, c.id)) << "control " << c.id;

  const struct {
    int id;
    bool checked;
  } checks[] = {
      {IDC_TIME_OF_DAY, false}, {IDC_MESSAGE_ON, true},        {IDC_BEEP, false},        {IDC_SOUND_ON, false},
      {IDC_PROGRAM_ON, false},  {IDC_MINIMIZE_AT_START, true}, {IDC_CLOSE_AT_END, true},
  };
  for (const auto& c : checks) EXPECT_EQ(c.checked, isChecked(dialog, c.id)) << "check box " << c.id;

  // Idle: the time fields and Start usable, Cancel not; the file and program
  // fields follow their (unchecked) boxes.
  const struct {
    int id;
    bool enabled;
  } states[] = {
      {IDC_HOURS, true},           {IDC_MINUTES, true},       {IDC_SECONDS, true},
      {IDC_TIME_OF_DAY, true},     {IDC_MESSAGE_TEXT, true},  {IDC_SOUND_FILE, false},
      {IDC_SOUND_BROWSE, false},   {IDC_PROGRAM_FILE, false}, {IDC_PROGRAM_ARGUMENTS, false},
      {IDC_PROGRAM_BROWSE, false}, {IDC_LOAD_TEMPLATE, true}, {IDC_START, true},
      {IDC_CANCEL, false},         {IDC_SAVE_DEFAULT, true},  {IDC_SAVE_TEMPLATE, true},
  };
  for (const auto& c : states) EXPECT_EQ(c.enabled, isEnabled(dialog, c.id)) << "control " << c.id;
}

}  // namespace
}  // namespace Ostra::e2e

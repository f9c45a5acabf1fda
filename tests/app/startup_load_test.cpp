#include "app/startup_load.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/settings.h"
#include "app/template_list.h"
#include "base/environment.h"
#include "base/path.h"
#include "config/config_data.h"
#include "tests/support/environment_variable.h"
#include "tests/support/settings_file_bytes.h"
#include "tests/support/temp_dir.h"

using Ostra::CConfigData;
using Ostra::String;
using Ostra::testing::kDefaultSettingsText;
using Ostra::testing::readBytes;
using Ostra::testing::ScopedEnvironmentVariable;
using Ostra::testing::TempDir;
using Ostra::testing::toPath;
using Ostra::testing::utf16FileBytes;
using Ostra::testing::writeBytes;

namespace {

// Start-up reads and writes beside the running program, as the real one does.
class StartupSettings : public ::testing::Test {
 protected:
  void SetUp() override { cleanUp(); }
  void TearDown() override { cleanUp(); }
  void cleanUp() {
    std::error_code ignored;
    std::filesystem::remove(toPath(Ostra::defaultConfigPath()), ignored);
    std::filesystem::remove_all(toPath(templateFolder()), ignored);
  }
};

TEST_F(StartupSettings, FirstStartCreatesTheDefaultFile) {
  CConfigData settings;
  EXPECT_EQ(String(), loadStartupSettings(settings, String()).defaultFile);
  EXPECT_EQ(utf16FileBytes(kDefaultSettingsText), readBytes(toPath(Ostra::defaultConfigPath())));
}

TEST_F(StartupSettings, TheDefaultFileOverridesDefaultsAndKeepsTheRest) {
  writeBytes(toPath(Ostra::defaultConfigPath()), utf16FileBytes(u"TimeS = 42\r\nNotifyBeep = true\r\n"));
  CConfigData settings;
  EXPECT_EQ(String(), loadStartupSettings(settings, String()).defaultFile);
  EXPECT_EQ(42, settings.getNumber(u"TimeS"));
  EXPECT_TRUE(settings.getBool(u"NotifyBeep"));
  EXPECT_TRUE(settings.getBool(u"CloseWithEnd"));
  // Loading did not rewrite it.
  EXPECT_EQ(utf16FileBytes(u"TimeS = 42\r\nNotifyBeep = true\r\n"), readBytes(toPath(Ostra::defaultConfigPath())));
}

TEST_F(StartupSettings, ADefaultFileThatIsThereButUnreadableIsReportedAndNotWritten) {
  const std::filesystem::path file = toPath(Ostra::defaultConfigPath());
  std::filesystem::create_directory(file);
  CConfigData settings;
  EXPECT_EQ(Ostra::defaultConfigPath(), loadStartupSettings(settings, String()).defaultFile);
  CConfigData defaults;
  writeDefaults(defaults);
  EXPECT_TRUE(defaults.entries() == settings.entries());
  EXPECT_TRUE(std::filesystem::is_directory(file));
  EXPECT_FALSE(std::filesystem::exists(toPath(Ostra::defaultConfigPath() + u".tmp")));
}

TEST_F(StartupSettings, StartupFileIsTriedAsNamedThenWithTpt) {
  std::filesystem::create_directories(toPath(templateFolder()));
  writeBytes(toPath(templateFolder() + u"tea.tpt"), utf16FileBytes(u"TimeM = 3\r\n"));
  for (const char16_t* name : {u"tea", u"tea.tpt", u"tea.txt"}) {
    CConfigData settings;
    EXPECT_EQ(String(), loadStartupSettings(settings, name).startupFile) << Ostra::toUtf8(name);
    EXPECT_EQ(3, settings.getNumber(u"TimeM"));
  }
  CConfigData settings;
  EXPECT_EQ(templateFolder() + u"coffee.tpt", loadStartupSettings(settings, u"coffee.txt").startupFile);
  EXPECT_EQ(0, settings.getNumber(u"TimeM"));
}

TEST_F(StartupSettings, AListedFileNameIsNotExpanded) {
  const ScopedEnvironmentVariable folder(u"KAIRON_TEST_NAME", u"tea");
  std::filesystem::create_directories(toPath(templateFolder()));
  writeBytes(toPath(templateFolder() + u"tea.tpt"), utf16FileBytes(u"TimeM = 3\r\n"));
  writeBytes(toPath(templateFolder() + u"%KAIRON_TEST_NAME%.tpt"), utf16FileBytes(u"TimeM = 7\r\n"));
  const struct {
    StartupName naming;
    int minutes;
  } cases[] = {{StartupName::Typed, 3}, {StartupName::Literal, 7}};
  for (const auto& c : cases) {
    CConfigData settings;
    EXPECT_EQ(String(), loadStartupSettings(settings, u"%KAIRON_TEST_NAME%.tpt", nullptr, c.naming).startupFile);
    EXPECT_EQ(c.minutes, settings.getNumber(u"TimeM"));
  }
}

TEST_F(StartupSettings, AnAbsoluteStartupFileIsUsedAsGiven) {
  TempDir dir;
  // The path rules know drive letters and network paths, not POSIX's '/'.
  if (Ostra::isRelative(dir.string())) GTEST_SKIP() << "no absolute path of the rules' form here";
  writeBytes(dir.file("abs.tpt"), utf16FileBytes(u"TimeH = 1\r\n"));
  CConfigData settings;
  EXPECT_EQ(String(), loadStartupSettings(settings, dir.fileString("abs")).startupFile);
  EXPECT_EQ(1, settings.getNumber(u"TimeH"));
}

}  // namespace

#include "app/settings.h"

#include <gtest/gtest.h>

#include <map>

#include "base/environment.h"
#include "base/filesystem.h"
#include "base/path.h"
#include "config/config_data.h"
#include "config/config_text.h"
#include "resources/resource.h"
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

TEST(Settings, DurationTextAsTheTemplateMenuShowsIt) {
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

TEST(SettingsMessages, TheQuestionShowsWhatRuns) {
  TempDir dir;
  writeBytes(dir.file("tool.exe"), "");
  Ostra::CurrentDirectoryScope keep;
  ASSERT_TRUE(Ostra::setCurrentDirectory(dir.string()));
  const ScopedEnvironmentVariable host(u"KAIRON_TEST_HOST", u"leak.invalid");
  const String intro = u"このテンプレートはインターネットなど他のコンピューターから来たファイルです。";
  const String launch = intro + u"時間になると次のプログラムが実行されます。\n\nプログラム: ";
  const std::u16string blanks(4000, u' ');
  const std::u16string longArguments =
      std::u16string(200, u'a') + std::u16string(3921, u'm') + std::u16string(200, u'z');
  const struct {
    std::vector<std::u16string> lines;
    String want;
  } cases[] = {
      // The program as it will run: found in the current directory.
      {{u"NotifyExe = true", u"NotifyExeFile = tool.exe"},
       launch + dir.string() + u"\\tool.exe\n引数:\n \n\n実行してもよいですか？"},
      {{u"NotifyExe = true", u"NotifyExeFile = invoice_\u202Efdp.exe"},
       launch + u"invoice_<U+202E>fdp.exe\n引数:\n \n\n実行してもよいですか？"},
      {{u"NotifyExe = true", u"NotifyExeFile = x.exe", u"NotifyExePrm = /c" + blanks + u"& stamp.exe PAYLOAD"},
       launch + u"x.exe\n引数:\n /c （空白 4000 文字）& stamp.exe PAYLOAD\n\n実行してもよいですか？"},
      {{u"NotifyExe = true", u"NotifyExeFile = x.exe", u"NotifyExePrm = " + longArguments},
       launch + u"x.exe\n引数:\n " + std::u16string(200, u'a') + u"…（全 4321 文字）" + std::u16string(200, u'z') +
           u"\n\n実行してもよいですか？"},
      // A sound from another computer asks too, with or without a launch.
      {{u"NotifyWav = true", u"NotifyWavFile = \\\\%KAIRON_TEST_HOST%\\s\\a.wav"},
       intro + u"時間になると次のサウンドがネットワークから読み込まれます。\n\nサウンド: "
               u"\\\\leak.invalid\\s\\a.wav\n\n実行してもよいですか？"},
      {{u"NotifyExe = true", u"NotifyExeFile = x.exe", u"NotifyWav = true", u"NotifyWavFile = \\\\?\\UNC\\h\\s\\a.wav"},
       launch + u"x.exe\n引数:\n \nサウンド: \\\\?\\UNC\\h\\s\\a.wav\n\n実行してもよいですか？"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    CConfigData settings;
    writeDefaults(settings);
    std::u16string text;
    for (const std::u16string& line : cases[i].lines) text += line + u"\r\n";
    writeBytes(dir.file("t.tpt"), utf16FileBytes(text));
    ASSERT_TRUE(settings.load(dir.fileString("t.tpt")));
    EXPECT_EQ(cases[i].want, launchConfirmationMessage(settings)) << "case " << i;
  }
}

TEST(SettingsMessages, OnlyANetworkSoundThatPlaysAsks) {
  const struct {
    const char16_t* on;
    const char16_t* file;
    bool network;
  } cases[] = {
      {u"true", u"\\\\h\\s\\a.wav", true},   {u"false", u"\\\\h\\s\\a.wav", false},
      {u"true", u"//h/s/a.wav", true},       {u"true", u"%windir%\\Media\\chimes.wav", false},
      {u"true", u"sounds\\bell.wav", false},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    CConfigData settings;
    writeDefaults(settings);
    settings.setRaw(u"NotifyWav", cases[i].on);
    settings.setRaw(u"NotifyWavFile", cases[i].file);
    EXPECT_EQ(cases[i].network, playsNetworkSound(settings)) << "case " << i;
  }
}

TEST(SettingsMessages, Texts) {
  EXPECT_EQ(String(u"C:\\t\\a.tpt の読み込みに失敗しました"), loadFailedMessage(u"C:\\t\\a.tpt"));
  EXPECT_EQ(String(u"C:\\t\\Kairon.cfg の保存に失敗しました"), saveFailedMessage(u"C:\\t\\Kairon.cfg"));
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

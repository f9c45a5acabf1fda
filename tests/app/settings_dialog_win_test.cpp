// The settings as the dialog keeps them: the default-settings file written at
// the first start and read at every start, save as default, templates saved
// and loaded through the real file dialogs, and malformed values.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "base/environment.h"
#include "base/zone_identifier.h"
#include "config/config_data.h"
#include "resources/resource.h"
#include "tests/app/dialog_session_win.h"
#include "tests/app/window_search_win.h"
#include "tests/support/child_process.h"
#include "tests/support/environment_variable.h"
#include "tests/support/temp_dir.h"

namespace Ostra::testing {
namespace {

std::u16string keyOf(const std::u16string& line) { return line.substr(0, line.find(u" =")); }

// The default lines with some replaced (by key) or added, in the order the
// program writes them: by the code units of the keys.
std::vector<std::u16string> defaultsWith(const std::vector<std::u16string>& changes) {
  std::vector<std::u16string> lines = defaultSettingsLines();
  for (const std::u16string& change : changes) {
    const auto same = std::find_if(lines.begin(), lines.end(),
                                   [&](const std::u16string& line) { return keyOf(line) == keyOf(change); });
    if (same != lines.end()) {
      *same = change;
    } else {
      lines.push_back(change);
    }
  }
  std::sort(lines.begin(), lines.end(),
            [](const std::u16string& a, const std::u16string& b) { return keyOf(a) < keyOf(b); });
  return lines;
}

// What every control shows, by id: texts for edits, "on"/"off" for check boxes.
struct Shown {
  int id;
  const char16_t* value;
};

const std::vector<Shown> kDefaultsShown = {
    {IDC_HOURS, u""},
    {IDC_MINUTES, u""},
    {IDC_SECONDS, u""},
    {IDC_TIME_OF_DAY, u"off"},
    {IDC_MESSAGE_ON, u"on"},
    {IDC_MESSAGE_TEXT, u""},
    {IDC_BEEP, u"off"},
    {IDC_SOUND_ON, u"off"},
    {IDC_SOUND_FILE, u"%windir%\\Media\\chimes.wav"},
    {IDC_PROGRAM_ON, u"off"},
    {IDC_PROGRAM_FILE, u"%comspec%"},
    {IDC_PROGRAM_ARGUMENTS, u""},
    {IDC_MINIMIZE_AT_START, u"on"},
    {IDC_CLOSE_AT_END, u"on"},
};

std::vector<Shown> defaultsShownWith(const std::vector<Shown>& changes) {
  std::vector<Shown> shown = kDefaultsShown;
  for (const Shown& change : changes) {
    for (Shown& s : shown)
      if (s.id == change.id) s.value = change.value;
  }
  return shown;
}

bool isCheckBox(int id) {
  for (const int box : {IDC_TIME_OF_DAY, IDC_MESSAGE_ON, IDC_BEEP, IDC_SOUND_ON, IDC_PROGRAM_ON, IDC_MINIMIZE_AT_START,
                        IDC_CLOSE_AT_END})
    if (id == box) return true;
  return false;
}

void expectShown(DialogDriver& d, const std::vector<Shown>& want) {
  for (const Shown& s : want) {
    const String shown = isCheckBox(s.id) ? String(d.checked(s.id) ? u"on" : u"off") : d.text(s.id);
    EXPECT_EQ(String(s.value), shown) << "control " << s.id;
  }
}

// Saves or loads a template through the real file dialog, typing `name`.
void throughFileDialog(DialogDriver& d, int command, const char16_t* title, const char16_t* name) {
  d.command(command);
  const HWND dialog = d.waitForWindow(title);
  ASSERT_NE(nullptr, dialog);
  EXPECT_TRUE(answerFileDialog(dialog, name));
  ASSERT_TRUE(waitUntil(kWaitLimit, [&] { return !IsWindow(dialog); })) << "the file dialog stayed open";
  // The command goes on after the file dialog has closed.
  d.sync();
}

using SettingsDialog = TimerDialogTest;

TEST_F(SettingsDialog, FirstStartWritesTheDefaultsAndShowsThem) {
  DialogSession session;
  session.run([&](DialogDriver& d) { expectShown(d, kDefaultsShown); });
  EXPECT_EQ(settingsFileBytes(defaultSettingsLines()), readBytes(configFile()));
}

TEST_F(SettingsDialog, TheDefaultFileIsReadAtStartWithDefaultsForMissingKeys) {
  writeBytes(configFile(), settingsFileBytes({u"TimeM = 25", u"NotifyBeep = true", u"NotifyMsgText = a\\r\\nb",
                                              u"CloseWithEnd = false", u"Unknown = kept"}));
  const std::string before = readBytes(configFile());
  DialogSession session;
  session.run([&](DialogDriver& d) {
    expectShown(
        d, defaultsShownWith(
               {{IDC_MINUTES, u"25"}, {IDC_BEEP, u"on"}, {IDC_MESSAGE_TEXT, u"a\r\nb"}, {IDC_CLOSE_AT_END, u"off"}}));
  });
  EXPECT_EQ(before, readBytes(configFile())) << "a readable file is not rewritten";
}

TEST_F(SettingsDialog, ATemplateWithOnlyMinutesLoadsOverTheDefaults) {
  // The default file differs from the defaults: a loaded template replaces it all.
  // All but the hotkey, which is the program's.
  writeBytes(configFile(), settingsFileBytes(defaultsWith({u"TimeH = 2", u"NotifyBeep = true", u"NotifyWavFile = x.wav",
                                                           u"MinimizeWithStart = false", u"Hotkey = Ctrl+Alt+J"})));
  std::filesystem::create_directories(templateFolder());
  writeBytes(templateFolder() / "three.tpt", settingsFileBytes({u"TimeM = 3"}));
  DialogSession session;
  session.run([&](DialogDriver& d) {
    ASSERT_EQ(String(u"2"), d.text(IDC_HOURS));
    throughFileDialog(d, IDC_LOAD_TEMPLATE, u"テンプレートを読み込み", u"three.tpt");
    expectShown(d, defaultsShownWith({{IDC_MINUTES, u"3"}}));
    d.command(IDC_SAVE_DEFAULT);
  });
  CConfigData saved;
  ASSERT_EQ(LoadResult::Loaded, saved.readDefault());
  EXPECT_EQ(String(u"Ctrl+Alt+J"), saved.getRaw(u"Hotkey"));
}

TEST_F(SettingsDialog, ATwoLineMessageAndZeroFieldsSurviveSaveAndLoad) {
  DialogSession session;
  session.run([&](DialogDriver& d) {
    d.setText(IDC_HOURS, u"0");
    d.setText(IDC_MINUTES, u"5");
    d.setText(IDC_SECONDS, u"0");
    d.setText(IDC_MESSAGE_TEXT, u"Lunch\r\nGo");
    d.setChecked(IDC_BEEP, true);
    throughFileDialog(d, IDC_SAVE_TEMPLATE, u"テンプレートとして保存", u"lunch");
    ASSERT_TRUE(std::filesystem::exists(templateFolder() / "lunch.tpt"));

    // Something else on the screen, then the template back.
    d.setText(IDC_HOURS, u"4");
    d.setText(IDC_MESSAGE_TEXT, u"other");
    d.setChecked(IDC_BEEP, false);
    throughFileDialog(d, IDC_LOAD_TEMPLATE, u"テンプレートを読み込み", u"lunch.tpt");
    expectShown(d, defaultsShownWith({{IDC_MINUTES, u"5"}, {IDC_MESSAGE_TEXT, u"Lunch\r\nGo"}, {IDC_BEEP, u"on"}}));
  });
  EXPECT_EQ(settingsFileBytes(defaultsWith({u"TimeM = 5", u"NotifyMsgText = Lunch\\r\\nGo", u"NotifyBeep = true"})),
            readBytes(templateFolder() / "lunch.tpt"));
}

TEST_F(SettingsDialog, ATemplateSavedAsTheCountdownEndsAndClosesKeepsWhatWasShown) {
  DialogSession session;
  session.run([&](DialogDriver& d) {
    d.setText(IDC_SECONDS, u"3");
    d.setText(IDC_MESSAGE_TEXT, u"Tea");
    d.setChecked(IDC_MESSAGE_ON, false);
    d.setChecked(IDC_MINIMIZE_AT_START, false);
    d.command(IDC_START);
    d.command(IDC_SAVE_TEMPLATE);
    const HWND save = d.waitForWindow(u"テンプレートとして保存");
    ASSERT_NE(nullptr, save);
    // The end comes, and closes the dialog, while the Save dialog is open.
    for (int second = 0; second < 3; ++second) d.tick();
    EXPECT_TRUE(answerFileDialog(save, u"tea"));
    EXPECT_TRUE(d.waitClosed());
  });
  EXPECT_EQ(settingsFileBytes(defaultsWith(
                {u"TimeS = 3", u"NotifyMsg = false", u"NotifyMsgText = Tea", u"MinimizeWithStart = false"})),
            readBytes(templateFolder() / "tea.tpt"));
}

TEST_F(SettingsDialog, SaveAsDefaultKeepsKeysItDoesNotKnow) {
  writeBytes(configFile(), settingsFileBytes(defaultsWith({u"Extra = kept", u"Window = 10,20"})));
  DialogSession session;
  session.run([&](DialogDriver& d) {
    d.setText(IDC_MINUTES, u"4");
    d.setChecked(IDC_TIME_OF_DAY, true);
    d.command(IDC_SAVE_DEFAULT);
  });
  EXPECT_EQ(settingsFileBytes(defaultsWith({u"Extra = kept", u"Window = 10,20", u"TimeM = 4", u"TimeMode = true"})),
            readBytes(configFile()));
}

// Everything the dialog shows: each control's value and whether it can be
// used, Start and Cancel, the caption and the icon.
std::string snapshot(DialogDriver& d) {
  std::string all = toUtf8(d.caption()) + (d.classIconIs(IDI_IDLE) ? " idle" : " not idle");
  for (const Shown& s : kDefaultsShown) {
    all += "|" + (isCheckBox(s.id) ? std::string(d.checked(s.id) ? "on" : "off") : toUtf8(d.text(s.id)));
    all += d.enabled(s.id) ? "" : "~";
  }
  return all + (d.enabled(IDC_START) ? "+" : "~") + (d.enabled(IDC_CANCEL) ? "+" : "~");
}

// Malformed lines, and the box that names the first of them.
const struct {
  std::vector<std::u16string> bad;
  const char16_t* report;
} kMalformed[] = {
    {{u"TimeH = "}, u"コンフィグデータ 'TimeH' (数値)の読み込みに失敗しました"},
    {{u"NotifyMsg = ture", u"CloseWithEnd = yes"}, u"コンフィグデータ 'NotifyMsg' (真偽値)の読み込みに失敗しました"},
};

// A malformed default file, a template named on the command line, one chosen
// in the load dialog: the box, then the dialog as without the malformed lines.
TEST_F(SettingsDialog, MalformedValuesAreReportedAndChangeNothingElse) {
  const std::vector<std::u16string> good = {u"TimeM = 7", u"TimeMode = true", u"NotifyBeep = true"};
  std::filesystem::create_directories(templateFolder());
  for (const auto& c : kMalformed) {
    for (const int place : {0, 1, 2}) {  // default file, command line, load dialog
      SCOPED_TRACE(::testing::Message() << toUtf8(c.report) << " " << place);
      // A template that would show if it loaded.
      std::vector<std::u16string> bad = place == 0 ? good : std::vector<std::u16string>{u"TimeM = 3"};
      bad.insert(bad.end(), c.bad.begin(), c.bad.end());
      writeBytes(configFile(), settingsFileBytes(good));
      std::string want;
      DialogSession first;
      first.run([&](DialogDriver& d) { want = snapshot(d); });
      writeBytes(place == 0 ? configFile() : templateFolder() / "bad.tpt", settingsFileBytes(bad));
      const std::string before = readBytes(configFile());
      DialogSession session;
      session.run(place == 1 ? std::vector<String>{u"bad"} : std::vector<String>{}, [&](DialogDriver& d) {
        if (place == 2) throughFileDialog(d, IDC_LOAD_TEMPLATE, u"テンプレートを読み込み", u"bad.tpt");
        const HWND box = d.waitForWindow(u"エラー (3)");
        ASSERT_NE(nullptr, box);
        EXPECT_EQ(String(c.report), messageBoxText(box));
        d.dismiss(box);
        ASSERT_TRUE(waitUntil(kWaitLimit, [&] { return d.visible(); }));
        EXPECT_EQ(want, snapshot(d));
      });
      EXPECT_EQ(before, readBytes(configFile())) << "never written";
    }
  }
}

// Opened by another program that lets nobody else in, until destroyed.
struct HeldWithoutSharing {
  explicit HeldWithoutSharing(const std::filesystem::path& file)
      : handle(CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
  ~HeldWithoutSharing() { CloseHandle(handle); }
  HANDLE handle;
};

TEST_F(SettingsDialog, AFailedSaveAsDefaultIsReported) {
  // A folder where the temporary file should be: nothing can be written there.
  std::filesystem::create_directories(configFile().string() + ".tmp");
  DialogSession session;
  session.run([&](DialogDriver& d) {
    expectShown(d, kDefaultsShown);
    d.command(IDC_SAVE_DEFAULT);
    const HWND box = d.waitForWindow(u"エラー");
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(defaultConfigPath() + u" の保存に失敗しました", messageBoxText(box));
    EXPECT_EQ(d.dialog(), GetWindow(box, GW_OWNER));
    d.dismiss(box);
    d.setText(IDC_SECONDS, u"30");
    d.setChecked(IDC_MINIMIZE_AT_START, false);
    d.command(IDC_START);
    EXPECT_EQ(String(u"あと30秒 / Kairon build-6"), d.caption());
  });
  EXPECT_TRUE(std::filesystem::is_directory(configFile().string() + ".tmp"));
}

TEST_F(SettingsDialog, ATemplateThatCannotBeReadIsReportedAndChangesNothing) {
  std::filesystem::create_directories(templateFolder());
  writeBytes(templateFolder() / "held.tpt", settingsFileBytes({u"TimeM = 3"}));
  const HeldWithoutSharing held(templateFolder() / "held.tpt");
  DialogSession session;
  session.run([&](DialogDriver& d) {
    d.setText(IDC_HOURS, u"4");
    d.setChecked(IDC_BEEP, true);
    throughFileDialog(d, IDC_LOAD_TEMPLATE, u"テンプレートを読み込み", u"held.tpt");
    const HWND box = d.waitForWindow(u"エラー");
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(fromPath(templateFolder() / "held.tpt") + u" の読み込みに失敗しました", messageBoxText(box));
    d.dismiss(box);
    expectShown(d, defaultsShownWith({{IDC_HOURS, u"4"}, {IDC_BEEP, u"on"}}));
  });
}

TEST_F(SettingsDialog, ATemplateFolderThatCannotBeMadeIsReportedBeforeAnyFileDialog) {
  // A file where the folder should be.
  writeBytes(templateFolder(), "not a folder");
  DialogSession session;
  session.run([&](DialogDriver& d) {
    for (const int command : {IDC_SAVE_TEMPLATE, IDC_LOAD_TEMPLATE}) {
      SCOPED_TRACE(command);
      d.command(command);
      const HWND box = d.waitForWindow(u"エラー (3)");
      ASSERT_NE(nullptr, box);
      EXPECT_EQ(executableDirectory() + u"template\\の作成に失敗しました", messageBoxText(box));
      EXPECT_EQ(nullptr, findDialogTitled(GetCurrentProcessId(), u"テンプレートとして保存"));
      EXPECT_EQ(nullptr, findDialogTitled(GetCurrentProcessId(), u"テンプレートを読み込み"));
      d.dismiss(box);
    }
    d.setText(IDC_SECONDS, u"30");
    d.setChecked(IDC_MINIMIZE_AT_START, false);
    d.command(IDC_START);
    EXPECT_EQ(String(u"あと30秒 / Kairon build-6"), d.caption());
  });
}

TEST_F(SettingsDialog, AStartupTemplateLoadsOverTheDefaultFileAndStarts) {
  writeBytes(configFile(), settingsFileBytes(defaultsWith({u"NotifyBeep = true", u"MinimizeWithStart = false"})));
  std::filesystem::create_directories(templateFolder());
  writeBytes(templateFolder() / "three.tpt", settingsFileBytes({u"TimeM = 3"}));
  // Tried as given in the template folder, then with the extension tpt.
  for (const char16_t* name : {u"three", u"three.txt"}) {
    SCOPED_TRACE(toUtf8(name));
    DialogSession session;
    session.run({name}, [&](DialogDriver& d) {
      // Every other control as in the default-settings file.
      expectShown(d, defaultsShownWith({{IDC_MINUTES, u"3"}, {IDC_BEEP, u"on"}, {IDC_MINIMIZE_AT_START, u"off"}}));
      EXPECT_TRUE(d.enabled(IDC_CANCEL));
      EXPECT_EQ(String(u"あと03分00秒 / Kairon build-6"), d.caption());
    });
  }
}

TEST_F(SettingsDialog, AMarkedTemplateThatWouldLaunchAsksFirst) {
  TempDir tools;
  std::filesystem::copy_file(siblingExecutable("app_launch_probe"), tools.path() / "app_launch_probe.exe");
  const ScopedEnvironmentVariable folder(u"KAIRON_TEST_TOOLS", tools.string());
  // Blanks that hide the tail from the edit; the question shows the tail and how many blanks.
  const String arguments = String(u"x") + String(std::u16string(150, u' ')) + u"tail";
  std::filesystem::create_directories(templateFolder());
  writeBytes(templateFolder() / "run.tpt",
             settingsFileBytes({u"TimeS = 2", u"NotifyMsg = false", u"NotifyExe = true",
                                u"NotifyExeFile = %KAIRON_TEST_TOOLS%\\app_launch_probe.exe",
                                u"NotifyExePrm = " + arguments.str()}));
  const struct {
    std::vector<String> arguments;
    bool fromLoadDialog;  // else named on the command line
    const char* zoneId;
    int answer;
  } cases[] = {{{u"run"}, false, "3", IDYES},
               {{u"run"}, false, "4", IDNO},
               {{}, true, "4", IDYES},
               {{u"/select"}, true, "3", IDNO}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.fromLoadDialog << c.zoneId << c.answer);
    std::filesystem::remove(tools.path() / "launched.txt");
    // This file system keeps no mark of the web: the seam gives every file one.
    std::vector<String> asked;
    const ScopedZoneStreamForTesting mark([&](const String& path) {
      asked.push_back(path);
      return "[ZoneTransfer]\r\nZoneId=" + std::string(c.zoneId) + "\r\n";
    });
    const bool yes = c.answer == IDYES;
    DialogSession session;
    session.run(c.arguments, [&](DialogDriver& d) {
      if (c.fromLoadDialog) {
        if (c.arguments.empty()) d.command(IDC_LOAD_TEMPLATE);
        const HWND files = d.waitForWindow(u"テンプレートを読み込み");
        ASSERT_NE(nullptr, files);
        EXPECT_TRUE(answerFileDialog(files, u"run.tpt"));
      }
      const HWND box = d.waitForWindow(u"確認");
      ASSERT_NE(nullptr, box);
      EXPECT_EQ(
          u"このテンプレートはインターネットなど他のコンピューターから来たファイルです。"
          u"時間になると次のプログラムが実行されます。\n\nプログラム: " +
              tools.string() + u"\\app_launch_probe.exe\n引数:\n x （空白 150 文字）tail\n\n実行してもよいですか？",
          messageBoxText(box));
      // At start-up the dialog is not shown yet: the box stands alone.
      EXPECT_EQ(c.fromLoadDialog ? d.dialog() : nullptr, GetWindow(box, GW_OWNER));
      ASSERT_TRUE(pressAndWaitGone(box, c.answer));
      d.sync();
      EXPECT_EQ(arguments, d.text(IDC_PROGRAM_ARGUMENTS)) << "the template loads either way";
      EXPECT_EQ(yes, d.checked(IDC_PROGRAM_ON));
      EXPECT_EQ(yes && !c.fromLoadDialog, d.enabled(IDC_CANCEL)) << "only a Yes lets a start-up template start";
      // Started by hand after a No, the countdown still launches nothing.
      if (d.enabled(IDC_START)) d.command(IDC_START);
      d.tick();
      d.tick();
      EXPECT_TRUE(d.waitClosed());
    });
    EXPECT_EQ(std::vector<String>{executableDirectory() + u"template\\run.tpt"}, asked);
    const auto wait = yes ? kWaitLimit : std::chrono::milliseconds(2000);
    EXPECT_EQ(yes, waitUntil(wait, [&] { return std::filesystem::exists(tools.path() / "launched.txt"); }));
  }
}

TEST_F(SettingsDialog, AProgramNameTooLongToLaunchFailsBeforeTheQuestion) {
  const String program = u"C:\\" + String(std::u16string(5000, u'a')) + u".exe";
  std::filesystem::create_directories(templateFolder());
  writeBytes(templateFolder() / "long.tpt",
             settingsFileBytes({u"TimeS = 2", u"NotifyExe = true", u"NotifyExeFile = " + program.str()}));
  const ScopedZoneStreamForTesting mark([](const String&) { return "[ZoneTransfer]\r\nZoneId=3\r\n"; });
  DialogSession session;
  session.run({u"long"}, [&](DialogDriver& d) {
    const HWND box = d.waitForWindow(u"エラー");
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(u"C:\\" + String(std::u16string(197, u'a')) + u"…（全 5007 文字）" + String(std::u16string(196, u'a')) +
                  u".exe を起動できませんでした",
              messageBoxText(box));
    d.dismiss(box);
    d.sync();
    EXPECT_EQ(nullptr, findDialogTitled(GetCurrentProcessId(), u"確認"));
    EXPECT_FALSE(d.checked(IDC_PROGRAM_ON));
    EXPECT_TRUE(d.enabled(IDC_START)) << "a template that cannot launch does not start";
  });
}

}  // namespace
}  // namespace Ostra::testing

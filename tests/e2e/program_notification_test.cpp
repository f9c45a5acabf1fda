// The program notification: the launched program's arguments and working
// directory, and the timer's own working directory afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "base/platform_win.h"
#include "resources/resource.h"
#include "tests/e2e/kairon_process.h"
#include "tests/e2e/remote_window.h"
#include "tests/e2e/settings_file.h"
#include "tests/support/child_process.h"
#include "tests/support/string_print.h"
#include "tests/support/temp_dir.h"

namespace Ostra::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// What the helper wrote down: its working directory, then its arguments.
std::vector<String> waitForRecord(const fs::path& folder) {
  const fs::path record = folder / "e2e_helper.record";
  waitUntil(kShowLimit, [&] { return fs::exists(record); });
  std::vector<String> lines;
  const std::string bytes = testing::readBytes(record);
  size_t start = 0;
  for (size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(fromUtf8(bytes.substr(start, end - start)));
  }
  return lines;
}

bool samePath(const String& a, const String& b) {
  return CompareStringOrdinal(wide(a), a.length(), wide(b), b.length(), TRUE) == CSTR_EQUAL;
}

// Runs a one-second countdown whose expiry launches file with arguments.
void expireLaunching(const KaironProcess& kairon, HWND dialog, const String& file, const String& arguments) {
  setChecked(dialog, IDC_PROGRAM_ON, true);
  EXPECT_TRUE(isEnabled(dialog, IDC_PROGRAM_FILE));
  setControlText(dialog, IDC_PROGRAM_FILE, file);
  setControlText(dialog, IDC_PROGRAM_ARGUMENTS, arguments);
  setControlText(dialog, IDC_SECONDS, u"1");
  click(dialog, IDC_START);
  // The message comes after the launch.
  HWND box = kairon.waitForBox(u"メッセージ", 10s);
  ASSERT_NE(nullptr, box) << "no message box; " << kairon.state();
  press(box);
  ASSERT_TRUE(waitUntil(kAnswerLimit, [&] { return isEnabled(dialog, IDC_START); })) << "not idle after expiry";
}

TEST(ProgramNotification, RunsInItsOwnFolderAndLeavesTheTimersDirectoryAlone) {
  ProgramFolder folder;
  testing::TempDir places;
  // Blanks and Japanese in the helper's folder: the path reaches the shell whole.
  const fs::path helperFolder = places.file("通知 helper");
  const fs::path startFolder = places.file("start");
  fs::create_directories(helperFolder);
  fs::create_directories(startFolder);
  fs::copy_file(testing::siblingExecutable("e2e_helper"), helperFolder / "e2e_helper.exe");
  fs::copy_file(testing::siblingExecutable("e2e_helper"), startFolder / "e2e_helper.exe");
  const fs::path before = fs::current_path();

  KaironProcess kairon(folder, String(), startFolder);
  HWND dialog = kairon.waitForDialog();
  ASSERT_NE(nullptr, dialog) << "no timer dialog; " << kairon.state();
  setChecked(dialog, IDC_MINIMIZE_AT_START, false);
  setChecked(dialog, IDC_CLOSE_AT_END, false);

  ASSERT_NO_FATAL_FAILURE(
      expireLaunching(kairon, dialog, pathText(helperFolder / "e2e_helper.exe"), u"alpha \"two words\" お茶"));
  const std::vector<String> first = waitForRecord(helperFolder);
  ASSERT_EQ(4u, first.size()) << "the helper's record in " << helperFolder.string();
  EXPECT_TRUE(samePath(pathText(helperFolder), first[0])) << toUtf8(first[0]);
  EXPECT_EQ(String(u"alpha"), first[1]);
  EXPECT_EQ(String(u"two words"), first[2]);
  EXPECT_EQ(String(u"お茶"), first[3]);

  // A bare name is looked for in the timer's current directory: the helper
  // there runs only if the timer went back to its own after the first launch.
  ASSERT_NO_FATAL_FAILURE(expireLaunching(kairon, dialog, u"e2e_helper.exe", u"second"));
  const std::vector<String> second = waitForRecord(startFolder);
  ASSERT_EQ(2u, second.size()) << "the helper's record in " << startFolder.string();
  EXPECT_TRUE(samePath(pathText(startFolder), second[0])) << toUtf8(second[0]);
  EXPECT_EQ(String(u"second"), second[1]);

  EXPECT_EQ(before, fs::current_path());
  EXPECT_TRUE(kairon.running());
}

TEST(ProgramNotification, AProgramThatCannotStartIsReportedBeforeTheMessage) {
  ProgramFolder folder;
  KaironProcess kairon(folder);
  HWND dialog = kairon.waitForDialog();
  ASSERT_NE(nullptr, dialog) << "no timer dialog; " << kairon.state();
  setChecked(dialog, IDC_MINIMIZE_AT_START, false);  // and 終了時に閉じる stays on
  setChecked(dialog, IDC_PROGRAM_ON, true);
  setControlText(dialog, IDC_PROGRAM_FILE, u"%windir%\\no-such-program.exe");
  setControlText(dialog, IDC_SECONDS, u"1");
  click(dialog, IDC_START);
  HWND box = kairon.waitForBox(u"エラー", 10s);
  ASSERT_NE(nullptr, box) << "no error box; " << kairon.state();
  wchar_t windir[MAX_PATH];
  GetEnvironmentVariableW(L"windir", windir, MAX_PATH);
  EXPECT_EQ(fromWide(windir) + u"\\no-such-program.exe を起動できませんでした", messageBoxText(box));
  EXPECT_EQ(nullptr, kairon.findWindow(L"#32770", u"メッセージ"));
  press(box);
  ASSERT_NE(nullptr, box = kairon.waitForBox(u"メッセージ")) << kairon.state();
  press(box);
  EXPECT_TRUE(kairon.waitForExit(kAnswerLimit).has_value()) << kairon.state();
}

TEST(ProgramNotification, EnterOnTheQuestionOfAMarkedTemplateLaunchesNothing) {
  ProgramFolder folder;
  testing::TempDir tools;
  fs::copy_file(testing::siblingExecutable("e2e_helper"), tools.file("e2e_helper.exe"));
  fs::create_directories(folder.templateFolder());
  const fs::path file = folder.templateFolder() / "enter.tpt";
  testing::writeBytes(file, settingsFileBytes(withValues(
                                defaultSettings(), {{u"TimeS", u"1"},
                                                    {u"MinimizeWithStart", u"false"},
                                                    {u"CloseWithEnd", u"false"},
                                                    {u"NotifyExe", u"true"},
                                                    {u"NotifyExeFile", pathText(tools.file("e2e_helper.exe"))}})));
  // Wine keeps no streams: a file of the stream's name stands in for the mark.
  testing::writeBytes(fs::path(file.native() + L":Zone.Identifier"), "[ZoneTransfer]\r\nZoneId=3\r\n");

  KaironProcess kairon(folder, u"enter");
  const HWND box = kairon.waitForBox(u"確認");
  ASSERT_NE(nullptr, box) << "no question; " << kairon.state();
  // An Enter typed for another window: the box's default button takes it.
  PostMessageW(box, WM_KEYDOWN, VK_RETURN, 1);
  PostMessageW(box, WM_KEYUP, VK_RETURN, 0xC0000001);
  HWND dialog = kairon.waitForDialog();
  ASSERT_NE(nullptr, dialog) << "no timer dialog; " << kairon.state();
  ASSERT_TRUE(waitUntil(kAnswerLimit, [&] { return isEnabled(dialog, IDC_START); })) << "started after a No";
  EXPECT_FALSE(isChecked(dialog, IDC_PROGRAM_ON));
  // Started by hand, the expiry shows its message and launches nothing.
  click(dialog, IDC_START);
  HWND message = kairon.waitForBox(u"メッセージ", 10s);
  ASSERT_NE(nullptr, message) << kairon.state();
  press(message);
  EXPECT_FALSE(fs::exists(tools.file("e2e_helper.record")));
}

}  // namespace
}  // namespace Ostra::e2e

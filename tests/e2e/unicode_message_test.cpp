// A message with characters the ANSI code page (932) cannot hold survives the
// settings file, the command line and the message box.
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "tests/e2e/kairon_process.h"
#include "tests/e2e/remote_window.h"
#include "tests/e2e/settings_file.h"
#include "tests/support/string_print.h"

namespace Ostra::e2e {
namespace {

using namespace std::chrono_literals;

const char16_t kMessage[] = u"🍵 お茶の時間\r\n二行目 ☕";

TEST(UnicodeMessage, SurvivesSaveLoadAndTheMessageBox) {
  ProgramFolder folder;
  {
    KaironProcess kairon(folder);
    HWND dialog = kairon.waitForDialog();
    ASSERT_NE(nullptr, dialog) << "no timer dialog; " << kairon.state();
    setControlText(dialog, IDC_MESSAGE_TEXT, kMessage);
    setChecked(dialog, IDC_MINIMIZE_AT_START, false);
    click(dialog, IDC_SAVE_DEFAULT);
    const auto saved = readSettingsFile(folder.settingsFile());
    ASSERT_TRUE(saved.has_value()) << "the saved file is not complete";
    EXPECT_EQ(String(u"🍵 お茶の時間\\r\\n二行目 ☕"), valueOf(*saved, u"NotifyMsgText").value_or(u"(none)"));
    // The close box ends the program.
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    const auto exitCode = kairon.waitForExit(kAnswerLimit);
    ASSERT_TRUE(exitCode.has_value()) << "WM_CLOSE did not end the program";
    EXPECT_EQ(0u, *exitCode);
  }

  KaironProcess kairon(folder);
  HWND dialog = kairon.waitForDialog();
  ASSERT_NE(nullptr, dialog) << "no timer dialog; " << kairon.state();
  EXPECT_EQ(String(kMessage), controlText(dialog, IDC_MESSAGE_TEXT));
  setControlText(dialog, IDC_SECONDS, u"1");
  click(dialog, IDC_START);
  HWND box = kairon.waitForBox(u"メッセージ", 10s);
  ASSERT_NE(nullptr, box) << "no message box; " << kairon.state();
  EXPECT_EQ(String(kMessage), messageBoxText(box));
  press(box);
  EXPECT_TRUE(kairon.waitForExit(kAnswerLimit).has_value()) << "the program did not end after the message";
}

TEST(UnicodeMessage, TemplateNamedOnTheCommandLine) {
  ProgramFolder folder;
  std::filesystem::create_directories(folder.templateFolder());
  testing::writeBytes(folder.templateFolder() / u"🍵.tpt",
                      settingsFileBytes({{u"NotifyMsgText", u"🍵\\r\\n☕"}, {u"TimeS", u"15"}}));
  KaironProcess kairon(folder, u"/open 🍵");
  HWND dialog = kairon.waitForDialog();
  ASSERT_NE(nullptr, dialog) << "no timer dialog; " << kairon.state();
  EXPECT_EQ(String(u"🍵\r\n☕"), controlText(dialog, IDC_MESSAGE_TEXT));
  EXPECT_EQ(String(u"15"), controlText(dialog, IDC_SECONDS));
}

}  // namespace
}  // namespace Ostra::e2e

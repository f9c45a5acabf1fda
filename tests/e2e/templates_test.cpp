// Saving a template through the Save dialog and loading it back through the
// Open dialog.
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "tests/e2e/kairon_process.h"
#include "tests/e2e/remote_window.h"
#include "tests/e2e/settings_file.h"
#include "tests/support/string_print.h"

namespace Ostra::e2e {
namespace {

using namespace std::chrono_literals;

struct Field {
  int id;
  const char16_t* saved;  // typed before saving
  const char16_t* other;  // typed after saving, before loading
};

const Field kFields[] = {
    {IDC_HOURS, u"1", u""},
    {IDC_MINUTES, u"2", u"9"},
    {IDC_SECONDS, u"3", u"45"},
    {IDC_MESSAGE_TEXT, u"お湯を止める\r\n\\n は二文字", u"別の文"},
    {IDC_PROGRAM_ARGUMENTS, u"-x \"a b\"", u""},
};

struct Box {
  int id;
  bool saved;
};

const Box kBoxes[] = {
    {IDC_BEEP, true},
    {IDC_PROGRAM_ON, true},
    {IDC_CLOSE_AT_END, false},
    {IDC_MINIMIZE_AT_START, false},
};

TEST(Templates, SaveThroughTheSaveDialogAndLoadThroughTheOpenDialog) {
  ProgramFolder folder;
  KaironProcess kairon(folder);
  HWND dialog = kairon.waitForDialog();
  ASSERT_NE(nullptr, dialog) << "no timer dialog; " << kairon.state();

  for (const Field& f : kFields) {
    if (f.id == IDC_PROGRAM_ARGUMENTS) setChecked(dialog, IDC_PROGRAM_ON, true);
    setControlText(dialog, f.id, f.saved);
  }
  for (const Box& b : kBoxes) setChecked(dialog, b.id, b.saved);

  clickLater(dialog, IDC_SAVE_TEMPLATE);
  HWND save = kairon.waitForBox(u"テンプレートとして保存");
  ASSERT_NE(nullptr, save) << "no save dialog; " << kairon.state();
  // The dialog opens in the template folder and adds the extension.
  ASSERT_TRUE(answerFileDialog(save, u"tea"));
  const auto file = folder.templateFolder() / "tea.tpt";
  ASSERT_TRUE(waitUntil(kAnswerLimit, [&] { return std::filesystem::exists(file); })) << file.string();
  ASSERT_TRUE(waitUntil(kAnswerLimit, [&] { return !IsWindow(save); })) << "the save dialog stayed open";

  const auto lines = readSettingsFile(file);
  ASSERT_TRUE(lines.has_value()) << "the template is not a complete settings file";
  EXPECT_EQ(14u, lines->size());
  EXPECT_EQ(String(u"2"), valueOf(*lines, u"TimeM").value_or(u"(none)"));
  EXPECT_EQ(String(u"お湯を止める\\r\\n\\\\n は二文字"), valueOf(*lines, u"NotifyMsgText").value_or(u"(none)"));
  EXPECT_EQ(String(u"false"), valueOf(*lines, u"CloseWithEnd").value_or(u"(none)"));

  for (const Field& f : kFields) setControlText(dialog, f.id, f.other);
  for (const Box& b : kBoxes) setChecked(dialog, b.id, !b.saved);

  clickLater(dialog, IDC_LOAD_TEMPLATE);
  HWND open = kairon.waitForBox(u"テンプレートを読み込み");
  ASSERT_NE(nullptr, open) << "no open dialog; " << kairon.state();
  ASSERT_TRUE(answerFileDialog(open, u"tea.tpt"));
  ASSERT_TRUE(waitUntil(kAnswerLimit, [&] { return !IsWindow(open); })) << "the open dialog stayed open";
  ASSERT_TRUE(waitUntil(kAnswerLimit, [&] { return controlText(dialog, IDC_MINUTES) == String(u"2"); }))
      << "the template's minutes did not come back";

  for (const Field& f : kFields) EXPECT_EQ(String(f.saved), controlText(dialog, f.id)) << "control " << f.id;
  for (const Box& b : kBoxes) EXPECT_EQ(b.saved, isChecked(dialog, b.id)) << "check box " << b.id;
  // Loading keeps the countdown idle.
  EXPECT_EQ(String(u"Kairon build-6"), windowTitle(dialog));
}

TEST(Templates, KeysMissingFromATemplateTakeTheirDefaults) {
  ProgramFolder folder;
  std::filesystem::create_directories(folder.templateFolder());
  testing::writeBytes(folder.templateFolder() / "three.tpt", settingsFileBytes({{u"TimeM", u"3"}}));
  KaironProcess kairon(folder);
  HWND dialog = kairon.waitForDialog();
  ASSERT_NE(nullptr, dialog) << "no timer dialog; " << kairon.state();
  setControlText(dialog, IDC_SECONDS, u"30");
  setControlText(dialog, IDC_MESSAGE_TEXT, u"消えるはず");
  setChecked(dialog, IDC_MESSAGE_ON, false);

  clickLater(dialog, IDC_LOAD_TEMPLATE);
  HWND open = kairon.waitForBox(u"テンプレートを読み込み");
  ASSERT_NE(nullptr, open) << "no open dialog; " << kairon.state();
  // Wine's Open dialog does not add the default extension to a name that does
  // not exist as typed, so the name goes in whole.
  ASSERT_TRUE(answerFileDialog(open, u"three.tpt"));
  ASSERT_TRUE(waitUntil(kAnswerLimit, [&] { return controlText(dialog, IDC_MINUTES) == String(u"3"); }))
      << "the template's minutes did not come back; " << kairon.state();
  EXPECT_EQ(String(), controlText(dialog, IDC_SECONDS));
  EXPECT_EQ(String(), controlText(dialog, IDC_MESSAGE_TEXT));
  EXPECT_TRUE(isChecked(dialog, IDC_MESSAGE_ON));
}

}  // namespace
}  // namespace Ostra::e2e

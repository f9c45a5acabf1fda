// Saving a template through the Save dialog and loading it back through the
// Open dialog.
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "tests/e2e/kairon_process.h"
#include "tests/e2e/remote_window.h"
#include "tests/e2e/settings_file.h"
#include "tests/support/string_print.h"
#include "tests/support/temp_dir.h"

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
  // Not merely there: the file dialog makes and deletes an empty test file of
  // that name before it closes.
  ASSERT_TRUE(waitUntil(kAnswerLimit, [&] { return readSettingsFile(file).has_value(); }))
      << file.string() << " is not a complete settings file";
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

TEST(Templates, TheCountdownGoesOnWhileTheSaveDialogIsOpen) {
  ProgramFolder folder;
  KaironProcess kairon(folder);
  HWND dialog = kairon.waitForDialog();
  ASSERT_NE(nullptr, dialog) << "no timer dialog; " << kairon.state();
  setControlText(dialog, IDC_MINUTES, u"5");
  setChecked(dialog, IDC_MINIMIZE_AT_START, false);
  click(dialog, IDC_START);

  clickLater(dialog, IDC_SAVE_TEMPLATE);
  HWND save = kairon.waitForBox(u"テンプレートとして保存");
  ASSERT_NE(nullptr, save) << "no save dialog; " << kairon.state();
  const String shown = windowTitle(dialog);
  EXPECT_TRUE(waitUntil(kAnswerLimit, [&] { return windowTitle(dialog) != shown; }))
      << "no tick while the save dialog is open: " << toUtf8(shown);
  press(save, IDCANCEL);
  ASSERT_TRUE(waitUntil(kAnswerLimit, [&] { return !IsWindow(save); })) << "the save dialog stayed open";
  EXPECT_TRUE(titleStartsWith(dialog, u"あと04分")) << toUtf8(windowTitle(dialog));
  EXPECT_FALSE(std::filesystem::exists(folder.templateFolder() / "tea.tpt"));
  // Nothing was saved, but the template folder is there for the next time.
  EXPECT_TRUE(std::filesystem::is_directory(folder.templateFolder()));
}

TEST(Templates, ATemplateThatCannotBeWrittenIsReported) {
  ProgramFolder folder;
  // The file is written beside its name first: a folder there blocks it.
  std::filesystem::create_directories(folder.templateFolder() / "blocked.tpt.tmp");
  KaironProcess kairon(folder);
  HWND dialog = kairon.waitForDialog();
  ASSERT_NE(nullptr, dialog) << "no timer dialog; " << kairon.state();

  clickLater(dialog, IDC_SAVE_TEMPLATE);
  HWND save = kairon.waitForBox(u"テンプレートとして保存");
  ASSERT_NE(nullptr, save) << "no save dialog; " << kairon.state();
  ASSERT_TRUE(answerFileDialog(save, u"blocked"));
  HWND box = kairon.waitForBox(u"エラー");
  ASSERT_NE(nullptr, box) << "no error box; " << kairon.state();
  EXPECT_EQ(pathText(folder.templateFolder() / "blocked.tpt") + u" の保存に失敗しました", messageBoxText(box));
  press(box);
  EXPECT_FALSE(std::filesystem::exists(folder.templateFolder() / "blocked.tpt"));
}

TEST(Templates, ATemplateFolderThatCannotBeMadeIsReportedWithoutADialog) {
  ProgramFolder folder;
  // A file where the folder belongs.
  testing::writeBytes(folder.templateFolder(), "not a folder");
  KaironProcess kairon(folder);
  HWND dialog = kairon.waitForDialog();
  ASSERT_NE(nullptr, dialog) << "no timer dialog; " << kairon.state();

  for (int button : {IDC_SAVE_TEMPLATE, IDC_LOAD_TEMPLATE}) {
    SCOPED_TRACE(button);
    clickLater(dialog, button);
    HWND box = kairon.waitForBox(u"エラー (3)");
    ASSERT_NE(nullptr, box) << "no error box; " << kairon.state();
    EXPECT_EQ(pathText(folder.templateFolder()) + u"\\の作成に失敗しました", messageBoxText(box));
    EXPECT_EQ(nullptr, kairon.findWindow(L"#32770", u"テンプレートとして保存"));
    EXPECT_EQ(nullptr, kairon.findWindow(L"#32770", u"テンプレートを読み込み"));
    press(box);
    ASSERT_TRUE(waitUntil(kAnswerLimit, [&] { return !IsWindow(box); })) << "the box stayed";
  }
  EXPECT_EQ(String(u"Kairon build-6"), windowTitle(dialog));
  EXPECT_TRUE(isEnabled(dialog, IDC_START));
}

}  // namespace
}  // namespace Ostra::e2e

// Templates and switches named on the command line.
#include <gtest/gtest.h>

#include <vector>

#include "resources/resource.h"
#include "tests/e2e/kairon_process.h"
#include "tests/e2e/remote_window.h"
#include "tests/e2e/settings_file.h"
#include "tests/support/string_print.h"

namespace Ostra::e2e {
namespace {

enum class After { Idle, Running, LoadDialog };

struct Case {
  const char16_t* arguments;
  // The texts of the "エラー" boxes before the dialog, in order; {template}
  // stands for the template folder.
  std::vector<const char16_t*> boxes;
  After after;
  const char16_t* minutes;  // the minutes field at the end
};

const Case kCases[] = {
    {u"tea", {}, After::Running, u"5"},
    {u"/open tea", {}, After::Idle, u"5"},
    {u"tea /open", {}, After::Idle, u"5"},
    {u"\"tea time\" /open", {}, After::Idle, u"7"},
    {u"/select", {}, After::LoadDialog, u""},
    {u"/select tea", {}, After::LoadDialog, u"5"},
    {u"/select /open tea", {}, After::Idle, u"5"},
    {u"/OPEN", {u"{template}\\\\OPEN.tpt の読み込みに失敗しました"}, After::Idle, u""},
    {u"tea extra", {u"謎のコマンドライン引数が検出されました：extra"}, After::Running, u"5"},
    {u"tea extra more",
     {u"謎のコマンドライン引数が検出されました：extra", u"謎のコマンドライン引数が検出されました：more"},
     After::Running,
     u"5"},
    {u"missing", {u"{template}\\missing.tpt の読み込みに失敗しました"}, After::Idle, u""},
    {u"missing.txt", {u"{template}\\missing.tpt の読み込みに失敗しました"}, After::Idle, u""},
};

TEST(CommandLine, TemplatesAndSwitches) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(toUtf8(c.arguments));
    ProgramFolder folder;
    std::filesystem::create_directories(folder.templateFolder());
    const SettingsLines quick = {{u"MinimizeWithStart", u"false"}, {u"CloseWithEnd", u"false"}};
    testing::writeBytes(folder.templateFolder() / "tea.tpt",
                        settingsFileBytes(withValues(defaultSettings(), withValues(quick, {{u"TimeM", u"5"}}))));
    testing::writeBytes(folder.templateFolder() / "tea time.tpt",
                        settingsFileBytes(withValues(defaultSettings(), withValues(quick, {{u"TimeM", u"7"}}))));
    KaironProcess kairon(folder, c.arguments);

    for (const char16_t* text : c.boxes) {
      HWND box = kairon.waitForBox(u"エラー");
      ASSERT_NE(nullptr, box) << "no error box; " << kairon.state();
      EXPECT_EQ(String(text).replaceAll(u"{template}", pathText(folder.templateFolder())), messageBoxText(box));
      HWND early = kairon.findDialog();
      EXPECT_TRUE(early == nullptr || !IsWindowVisible(early)) << "the dialog showed before the error box";
      press(box);
      ASSERT_TRUE(waitUntil(kAnswerLimit, [&] { return !IsWindow(box); })) << "the error box stayed";
    }

    HWND dialog = kairon.waitForDialog();
    ASSERT_NE(nullptr, dialog) << "no timer dialog; " << kairon.state();
    switch (c.after) {
      case After::Running:
        // The start is posted: it follows the dialog's first appearance.
        EXPECT_TRUE(waitUntil(kAnswerLimit, [&] { return titleStartsWith(dialog, u"あと"); }))
            << "no countdown; the title is " << toUtf8(windowTitle(dialog));
        EXPECT_TRUE(isEnabled(dialog, IDC_CANCEL));
        EXPECT_FALSE(isEnabled(dialog, IDC_START));
        break;
      case After::LoadDialog: {
        HWND open = kairon.waitForBox(u"テンプレートを読み込み");
        ASSERT_NE(nullptr, open) << "no template dialog; " << kairon.state();
        press(open, IDCANCEL);
        EXPECT_TRUE(waitUntil(kAnswerLimit, [&] { return !IsWindow(open); })) << "the template dialog stayed";
        [[fallthrough]];
      }
      case After::Idle:
        EXPECT_EQ(String(u"Kairon build-6"), windowTitle(dialog));
        EXPECT_TRUE(isEnabled(dialog, IDC_START));
        EXPECT_FALSE(isEnabled(dialog, IDC_CANCEL));
        break;
    }
    EXPECT_EQ(String(c.minutes), controlText(dialog, IDC_MINUTES));
    EXPECT_TRUE(kairon.running()) << kairon.state();
  }
}

}  // namespace
}  // namespace Ostra::e2e

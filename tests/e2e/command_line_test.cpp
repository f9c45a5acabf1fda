// Templates and switches named on the command line.
#include <gtest/gtest.h>

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
  const char16_t* boxText;  // the "エラー" box before the dialog; {template} is the template folder
  After after;
  const char16_t* minutes;  // the minutes field at the end
};

const Case kCases[] = {
    {u"tea", nullptr, After::Running, u"5"},
    {u"/open tea", nullptr, After::Idle, u"5"},
    {u"tea /open", nullptr, After::Idle, u"5"},
    {u"\"tea time\" /open", nullptr, After::Idle, u"7"},
    {u"/select", nullptr, After::LoadDialog, u""},
    {u"/OPEN", u"{template}\\\\OPEN.tpt の読み込みに失敗しました", After::Idle, u""},
    {u"tea extra", u"謎のコマンドライン引数が検出されました：extra", After::Running, u"5"},
    {u"missing", u"{template}\\missing.tpt の読み込みに失敗しました", After::Idle, u""},
    {u"missing.txt", u"{template}\\missing.tpt の読み込みに失敗しました", After::Idle, u""},
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

    if (c.boxText != nullptr) {
      HWND box = kairon.waitForBox(u"エラー");
      ASSERT_NE(nullptr, box) << "no error box; " << kairon.state();
      EXPECT_EQ(String(c.boxText).replaceAll(u"{template}", pathText(folder.templateFolder())), messageBoxText(box));
      HWND early = kairon.findDialog();
      EXPECT_TRUE(early == nullptr || !IsWindowVisible(early)) << "the dialog showed before the error box";
      press(box);
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

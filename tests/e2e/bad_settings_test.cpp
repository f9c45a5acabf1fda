// Settings the program cannot use as they are: malformed values, huge and
// random files, absurd numbers, and a default-settings file it cannot write.
#include <gtest/gtest.h>

#include <random>

#include "resources/resource.h"
#include "tests/e2e/kairon_process.h"
#include "tests/e2e/remote_window.h"
#include "tests/e2e/settings_file.h"
#include "tests/support/string_print.h"
#include "tests/support/temp_dir.h"

namespace Ostra::e2e {
namespace {

namespace fs = std::filesystem;

// The dialog still counts down and cancels.
void expectUsable(const KaironProcess& kairon, HWND dialog) {
  setChecked(dialog, IDC_MINIMIZE_AT_START, false);
  setControlText(dialog, IDC_HOURS, String());
  setControlText(dialog, IDC_MINUTES, String());
  setControlText(dialog, IDC_SECONDS, u"30");
  click(dialog, IDC_START);
  EXPECT_EQ(String(u"あと30秒 / Kairon build-6"), windowTitle(dialog));
  click(dialog, IDC_CANCEL);
  EXPECT_EQ(String(u"Kairon build-6"), windowTitle(dialog));
  EXPECT_TRUE(kairon.running()) << kairon.state();
}

TEST(BadSettings, MalformedValueIsReportedAndTheDialogStaysUsable) {
  const struct {
    const char16_t* key;
    const char16_t* value;
    const char16_t* message;
  } cases[] = {
      {u"TimeH", u"", u"コンフィグデータ 'TimeH' (数値)の読み込みに失敗しました"},
      {u"NotifyMsg", u"yes", u"コンフィグデータ 'NotifyMsg' (真偽値)の読み込みに失敗しました"},
      {u"CloseWithEnd", u"TRUE", u"コンフィグデータ 'CloseWithEnd' (真偽値)の読み込みに失敗しました"},
      {u"Hotkey", u"Shift+K", u"コンフィグデータ 'Hotkey' (文字列)の読み込みに失敗しました"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(toUtf8(String(c.key) + u" = " + c.value));
    ProgramFolder folder;
    const std::string bytes = settingsFileBytes(withValues(defaultSettings(), {{c.key, c.value}}));
    testing::writeBytes(folder.settingsFile(), bytes);
    KaironProcess kairon(folder);

    HWND box = kairon.waitForBox(u"エラー (3)");
    ASSERT_NE(nullptr, box) << "no error box; " << kairon.state();
    EXPECT_EQ(String(c.message), messageBoxText(box));
    press(box);
    HWND dialog = kairon.waitForDialog();
    ASSERT_NE(nullptr, dialog) << "no timer dialog after the error; " << kairon.state();
    expectUsable(kairon, dialog);
    // A file the program could not read is not rewritten behind the user's back.
    EXPECT_EQ(bytes, testing::readBytes(folder.settingsFile()));
  }
}

TEST(BadSettings, TenMegabyteFileLoadsAndKeepsItsUnknownKey) {
  ProgramFolder folder;
  const String filler(std::u16string(5 * 1024 * 1024, u'x'));
  testing::writeBytes(folder.settingsFile(),
                      settingsFileBytes(withValues(defaultSettings(), {{u"Filler", filler}, {u"TimeM", u"7"}})));
  KaironProcess kairon(folder);
  HWND dialog = kairon.waitForDialog();
  ASSERT_NE(nullptr, dialog) << "no timer dialog; " << kairon.state();
  EXPECT_EQ(String(u"7"), controlText(dialog, IDC_MINUTES));
  EXPECT_EQ(String(u"Kairon build-6"), windowTitle(dialog));

  setControlText(dialog, IDC_MINUTES, u"8");
  click(dialog, IDC_SAVE_DEFAULT);
  const auto saved = readSettingsFile(folder.settingsFile());
  ASSERT_TRUE(saved.has_value()) << "the saved file is not complete";
  EXPECT_EQ(String(u"8"), valueOf(*saved, u"TimeM").value_or(u"(none)"));
  EXPECT_TRUE(valueOf(*saved, u"Filler") == filler) << "the unknown key did not survive the save";
  expectUsable(kairon, dialog);
}

TEST(BadSettings, RandomBytesDoNotStopTheProgram) {
  ProgramFolder folder;
  std::mt19937 random(20240611);
  std::string noise(256 * 1024, '\0');
  for (char& byte : noise) byte = static_cast<char>(random() & 0xFF);
  testing::writeBytes(folder.settingsFile(), noise);
  KaironProcess kairon(folder);

  // Whatever the bytes decode to, at most one error box comes before the dialog.
  HWND dialog = nullptr;
  waitUntil(kShowLimit, [&] {
    if (HWND box = kairon.findWindow(L"#32770", u"エラー (3)")) press(box);
    dialog = kairon.findDialog();
    return (dialog != nullptr && IsWindowVisible(dialog)) || !kairon.running();
  });
  ASSERT_TRUE(dialog != nullptr && IsWindowVisible(dialog)) << "no timer dialog; " << kairon.state();
  expectUsable(kairon, dialog);

  // Saving over the noise gives a file with every setting in it.
  click(dialog, IDC_SAVE_DEFAULT);
  const auto saved = readSettingsFile(folder.settingsFile());
  ASSERT_TRUE(saved.has_value()) << "the saved file is not complete";
  for (const auto& [key, value] : defaultSettings()) EXPECT_TRUE(valueOf(*saved, key).has_value()) << toUtf8(key);
  EXPECT_EQ(String(u"30"), valueOf(*saved, u"TimeS").value_or(u"(none)"));
}

TEST(BadSettings, AbsurdNumbersInTheTimeFieldsAreClamped) {
  const String absurd = u"99999999999999999999";
  for (int field : {IDC_HOURS, IDC_MINUTES, IDC_SECONDS}) {
    SCOPED_TRACE(field);
    ProgramFolder folder;
    KaironProcess kairon(folder);
    HWND dialog = kairon.waitForDialog();
    ASSERT_NE(nullptr, dialog) << "no timer dialog; " << kairon.state();
    setChecked(dialog, IDC_MINIMIZE_AT_START, false);
    setControlText(dialog, field, absurd);
    click(dialog, IDC_START);

    const String title = windowTitle(dialog);
    const int hoursEnd = title.find(u"時間", 0, title.length());
    ASSERT_TRUE(titleStartsWith(dialog, u"あと")) << "not counting down: " << toUtf8(title);
    ASSERT_GT(hoursEnd, 2) << "no hours in " << toUtf8(title);
    // Far more than a year: the count is as large as it can be, not wrapped.
    EXPECT_GT(title.substring(2, hoursEnd - 2).toInt(), 24 * 366) << toUtf8(title);
    EXPECT_TRUE(isEnabled(dialog, IDC_CANCEL));
    // The next tick counts on from there.
    ASSERT_TRUE(waitUntil(kAnswerLimit, [&] { return windowTitle(dialog) != title; })) << "no tick";
    EXPECT_TRUE(titleStartsWith(dialog, u"あと")) << toUtf8(windowTitle(dialog));
    EXPECT_TRUE(kairon.running()) << kairon.state();
  }
}

TEST(BadSettings, ASettingsFileThatCannotBeReadIsReportedAndKept) {
  const std::string bytes = settingsFileBytes(withValues(
      defaultSettings(), {{u"TimeM", u"25"}, {u"NotifyMsgText", u"\u5927\u4E8B\u306A\u30E1\u30E2"}, {u"Mine", u"1"}}));
  for (const bool heldElsewhere : {true, false}) {
    SCOPED_TRACE(heldElsewhere ? "held by another program" : "a folder");
    ProgramFolder folder;
    UniqueFileHandle held;
    if (heldElsewhere) {
      testing::writeBytes(folder.settingsFile(), bytes);
      held.reset(CreateFileW(folder.settingsFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    } else {
      fs::create_directory(folder.settingsFile());
    }
    KaironProcess kairon(folder);
    HWND dialog = nullptr;
    for (int box = 0; box < 2; ++box) {  // at start, then at 現在の設定をﾃﾞﾌｫﾙﾄにする
      HWND error = kairon.waitForBox(u"エラー");
      ASSERT_NE(nullptr, error) << "no error box; " << kairon.state();
      EXPECT_EQ(pathText(folder.settingsFile()) + u" の読み込みに失敗しました", messageBoxText(error));
      press(error);
      ASSERT_NE(nullptr, dialog = kairon.waitForDialog()) << kairon.state();
      EXPECT_EQ(String(), controlText(dialog, IDC_MINUTES));  // the defaults
      if (box == 0) clickLater(dialog, IDC_SAVE_DEFAULT);
    }
    held.reset();
    EXPECT_EQ(heldElsewhere ? bytes : "", testing::readBytes(folder.settingsFile()));
    EXPECT_FALSE(fs::exists(folder.path() / "Kairon.cfg.tmp"));
    expectUsable(kairon, dialog);
  }
}

TEST(BadSettings, SaveAsDefaultReportsAFileItCannotWrite) {
  // (A folder at Kairon.cfg itself cannot be read, and is reported and kept as such.)
  const struct {
    const char* name;
    const char* blocker;  // a folder where the program writes a file
  } cases[] = {
      {"temporary file", "Kairon.cfg.tmp"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ProgramFolder folder;
    const std::string bytes = settingsFileBytes(withValues(defaultSettings(), {{u"TimeM", u"4"}}));
    testing::writeBytes(folder.settingsFile(), bytes);
    fs::create_directory(folder.path() / c.blocker);
    KaironProcess kairon(folder);
    HWND dialog = kairon.waitForDialog();
    ASSERT_NE(nullptr, dialog) << "no timer dialog; " << kairon.state();

    setControlText(dialog, IDC_MINUTES, u"9");
    clickLater(dialog, IDC_SAVE_DEFAULT);
    HWND box = kairon.waitForBox(u"エラー");
    ASSERT_NE(nullptr, box) << "no error box; " << kairon.state();
    EXPECT_EQ(pathText(folder.settingsFile()) + u" の保存に失敗しました", messageBoxText(box));
    press(box);
    ASSERT_TRUE(waitUntil(kAnswerLimit, [&] { return !IsWindow(box); })) << "the box stayed";
    if (fs::is_regular_file(folder.settingsFile())) {
      EXPECT_EQ(bytes, testing::readBytes(folder.settingsFile())) << "the old settings were damaged";
    }
    expectUsable(kairon, dialog);
  }
}

}  // namespace
}  // namespace Ostra::e2e

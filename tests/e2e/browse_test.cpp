// The "..." buttons beside the sound and program fields: the file dialog
// starts from the field's file and puts the chosen file into the field.
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "tests/e2e/kairon_process.h"
#include "tests/e2e/remote_window.h"
#include "tests/support/string_print.h"
#include "tests/support/temp_dir.h"

namespace Ostra::e2e {
namespace {

TEST(Browse, SuggestsTheFieldsFileAndTakesTheChosenOne) {
  const struct {
    int checkBox;
    int field;
    int button;
    const char16_t* title;
    const char16_t* suggested;  // from the field's default
    const char* chosen;
  } cases[] = {
      {IDC_SOUND_ON, IDC_SOUND_FILE, IDC_SOUND_BROWSE, u"音ファイルの選択", u"chimes", "お知らせ.wav"},
      {IDC_PROGRAM_ON, IDC_PROGRAM_FILE, IDC_PROGRAM_BROWSE, u"実行ファイルの選択", u"cmd", "tool.exe"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(toUtf8(c.title));
    ProgramFolder folder;
    testing::TempDir elsewhere;
    const std::filesystem::path chosen = elsewhere.file(c.chosen);
    testing::writeBytes(chosen, "RIFF");
    KaironProcess kairon(folder);
    HWND dialog = kairon.waitForDialog();
    ASSERT_NE(nullptr, dialog) << "no timer dialog; " << kairon.state();

    setChecked(dialog, c.checkBox, true);
    clickLater(dialog, c.button);
    HWND browse = kairon.waitForBox(c.title);
    ASSERT_NE(nullptr, browse) << "no file dialog; " << kairon.state();
    EXPECT_EQ(String(c.suggested), fileDialogName(browse));
    ASSERT_TRUE(answerFileDialog(browse, pathText(chosen)));
    ASSERT_TRUE(waitUntil(kAnswerLimit, [&] { return !IsWindow(browse); })) << "the file dialog stayed open";
    EXPECT_EQ(pathText(chosen), controlText(dialog, c.field));
  }
}

}  // namespace
}  // namespace Ostra::e2e

// The real common dialogs, answered by a second thread that finds them by
// their title and types into their file-name field.
#include <gtest/gtest.h>

#include <cderr.h>

#include <filesystem>

#include "base/encoding.h"
#include "base/filesystem.h"
#include "file_dialog_driver.h"
#include "tests/support/string_print.h"
#include "tests/support/temp_dir.h"
#include "ui/file_dialog_calls.h"
#include "ui/file_select_dialog.h"

namespace Ostra {
namespace {

using testing::FileDialogDriver;
using testing::TempDir;

bool ansiRoad() { return false; }

// The system's calls, with the road chosen by the test.
class Road {
 public:
  explicit Road(bool wide) : saved_(fileDialogCalls()) {
    fileDialogCalls() = systemFileDialogCalls();
    if (!wide) fileDialogCalls().wideCalls = &ansiRoad;
  }
  ~Road() { fileDialogCalls() = saved_; }
  Road(const Road&) = delete;
  Road& operator=(const Road&) = delete;

 private:
  FileDialogCalls saved_;
};

void touch(const std::filesystem::path& file) { testing::writeBytes(file, "RIFF"); }

TEST(FileSelectDialogSystem, OpenGivesTheNameTypedInTheInitialDirectory) {
  const struct {
    bool wide;
    const char16_t* name;
  } cases[] = {
      {true, u"選択 \u0100\U0001F375.wav"},  // kept whole only by the wide calls
      {false, u"選択.wav"},
  };
  for (const auto& c : cases) {
    if (!c.wide && defaultEncoding().encode(String(c.name)).find('?') != std::string::npos) continue;
    TempDir dir;
    touch(testing::toPath(dir.string() + u"\\" + c.name));
    const String before = currentDirectory();
    Road road(c.wide);
    CFileSelectDialog dialog;
    dialog.setTitle(u"UIテスト 開く");
    dialog.addFilter(u"Wave File", u"*.wav");
    dialog.setInitialDirectory(dir.string());
    bool chosen = false;
    {
      FileDialogDriver driver(u"UIテスト 開く", {c.name});
      chosen = dialog.showOpen();
    }
    ASSERT_TRUE(chosen) << toUtf8(c.name);
    ASSERT_EQ(1u, dialog.results().size());
    EXPECT_EQ(dir.string() + u"\\" + c.name, dialog.results()[0]);
    EXPECT_EQ(dir.string() + u"\\", dialog.initialDirectory());
    EXPECT_EQ(before, currentDirectory());
  }
}

TEST(FileSelectDialogSystem, SaveSuggestsTheNameAndAddsTheDefaultExtension) {
  TempDir dir;
  const String before = currentDirectory();
  CFileSelectDialog dialog;
  dialog.setTitle(u"UIテスト 保存");
  dialog.addFilter(u"テンプレートファイル", u"*.tpt");
  dialog.setInitialDirectory(dir.string());
  dialog.setDefaultExtension(u".tpt");
  dialog.setFileName(u"提案.tpt");
  FileDialogDriver driver(u"UIテスト 保存", {u"新しい"});
  ASSERT_TRUE(dialog.showSave());
  ASSERT_EQ(1u, driver.suggested().size());
  EXPECT_EQ(String(u"提案.tpt"), driver.suggested()[0]);
  EXPECT_EQ(dir.string() + u"\\新しい.tpt", dialog.results().at(0));
  EXPECT_EQ(before, currentDirectory());
}

TEST(FileSelectDialogSystem, CancelKeepsTheChoiceAndTheNextShowStartsWhereItWasMade) {
  TempDir dir;
  std::filesystem::create_directories(dir.file("sub"));
  touch(dir.file("sub/first.wav"));
  touch(dir.file("sub/other.wav"));
  const String sub = dir.string() + u"\\sub\\";
  const String before = currentDirectory();
  CFileSelectDialog dialog;
  dialog.setTitle(u"UIテスト 三回");
  dialog.setInitialDirectory(sub);
  FileDialogDriver driver(u"UIテスト 三回", {sub + u"first.wav", u"", u"other.wav"});
  ASSERT_TRUE(dialog.showOpen());
  EXPECT_EQ(sub + u"first.wav", dialog.results().at(0));

  dialog.setFileName(u"cancelled.wav");
  EXPECT_FALSE(dialog.showOpen());
  EXPECT_EQ(sub + u"first.wav", dialog.results().at(0));
  EXPECT_EQ(before, currentDirectory());

  // A bare name is found in the folder of the last choice.
  ASSERT_TRUE(dialog.showOpen());
  EXPECT_EQ(sub + u"other.wav", dialog.results().at(0));
  EXPECT_EQ(before, currentDirectory());
  const auto suggested = driver.suggested();
  ASSERT_EQ(3u, suggested.size());
  EXPECT_EQ(String(u"cancelled.wav"), suggested[1]);
  EXPECT_EQ(String(), suggested[2]) << "the suggested name was used up";
}

// The first show is refused as the system refuses a bad name; the retry is the real dialog.
int refusals = 0;
DWORD lastError = 0;
BOOL WINAPI refuseOnceThenSave(LPOPENFILENAMEW record) {
  if (refusals++ == 0) {
    lastError = FNERR_INVALIDFILENAME;
    return FALSE;
  }
  const BOOL result = GetSaveFileNameW(record);
  lastError = CommDlgExtendedError();
  return result;
}
DWORD WINAPI lastDialogError() { return lastError; }

TEST(FileSelectDialogSystem, RejectedNameComesBackRepairedInTheRealDialog) {
  TempDir dir;
  FileDialogCalls saved = fileDialogCalls();
  fileDialogCalls() = systemFileDialogCalls();
  fileDialogCalls().getSaveFileNameW = &refuseOnceThenSave;
  fileDialogCalls().commDlgExtendedError = &lastDialogError;
  refusals = 0;
  CFileSelectDialog dialog;
  dialog.setTitle(u"UIテスト 修復");
  dialog.setInitialDirectory(dir.string());
  dialog.setFileName(u"a/b:c <昼>.tpt");
  FileDialogDriver driver(u"UIテスト 修復", {u""});
  const bool chosen = dialog.showSave();
  fileDialogCalls() = saved;
  EXPECT_FALSE(chosen);
  EXPECT_EQ(2, refusals);
  ASSERT_EQ(1u, driver.suggested().size());
  EXPECT_EQ(String(u"a-b-c -昼-.tpt"), driver.suggested()[0]);
}

}  // namespace
}  // namespace Ostra

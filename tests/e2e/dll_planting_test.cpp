// DLLs of system names left beside the program and in its current folder,
// with Wine told to prefer such a DLL to its own, as Windows does for any DLL
// that is not one of its KnownDLLs: the program must load none of them, at
// start or later, when it plays a sound, shows its tray icon, opens a file
// dialog or launches a program.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/platform_win.h"
#include "resources/resource.h"
#include "tests/e2e/kairon_process.h"
#include "tests/e2e/remote_window.h"
#include "tests/support/child_process.h"
#include "tests/support/string_print.h"
#include "tests/support/temp_dir.h"

namespace Ostra::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const char* const kPlanted[] = {"winmm", "shell32", "comdlg32", "ole32"};

// WINEDLLOVERRIDES for the programs started while the object lives.
class PreferDllsBesideTheProgram {
 public:
  PreferDllsBesideTheProgram() {
    wchar_t old[1024] = {};
    const DWORD length = GetEnvironmentVariableW(kName, old, 1024);
    if (length > 0 && length < 1024) old_ = old;
    std::wstring names;
    for (const char* name : kPlanted) names += (names.empty() ? L"" : L",") + fs::path(name).wstring();
    SetEnvironmentVariableW(kName, (old_.empty() ? names : old_ + L";" + names).append(L"=n,b").c_str());
  }
  ~PreferDllsBesideTheProgram() { SetEnvironmentVariableW(kName, old_.empty() ? nullptr : old_.c_str()); }
  PreferDllsBesideTheProgram(const PreferDllsBesideTheProgram&) = delete;
  PreferDllsBesideTheProgram& operator=(const PreferDllsBesideTheProgram&) = delete;

 private:
  static constexpr const wchar_t* kName = L"WINEDLLOVERRIDES";
  std::wstring old_;
};

TEST(DllPlanting, NoDllBesideTheProgramOrInItsCurrentFolderIsLoaded) {
  ProgramFolder folder;
  testing::TempDir places;
  const fs::path current = places.file("current");
  const fs::path helperFolder = places.file("helper");
  fs::create_directories(current);
  fs::create_directories(helperFolder);
  const fs::path standIn = testing::siblingExecutable("e2e_tests").parent_path() / "e2e_stand_in.dll";
  for (const fs::path& where : {folder.path(), current}) {
    for (const char* name : kPlanted) fs::copy_file(standIn, where / (std::string(name) + ".dll"));
  }
  fs::copy_file(testing::siblingExecutable("e2e_helper"), helperFolder / "e2e_helper.exe");
  const fs::path sound = places.file("bell.wav");
  testing::writeBytes(sound, "RIFF");

  std::vector<fs::path> marks;
  {
    PreferDllsBesideTheProgram override;
    KaironProcess kairon(folder, String(), current);
    HWND dialog = kairon.waitForDialog();
    ASSERT_NE(nullptr, dialog) << "no timer dialog; " << kairon.state();

    // The file dialog, for the sound.
    setChecked(dialog, IDC_SOUND_ON, true);
    clickLater(dialog, IDC_SOUND_BROWSE);
    HWND browse = kairon.waitForBox(u"音ファイルの選択");
    ASSERT_NE(nullptr, browse) << "no file dialog; " << kairon.state();
    ASSERT_TRUE(answerFileDialog(browse, pathText(sound)));
    ASSERT_TRUE(waitUntil(kAnswerLimit, [&] { return !IsWindow(browse); })) << "the file dialog stayed open";

    // The launch, the tray icon while counting and the sound at the end.
    setChecked(dialog, IDC_PROGRAM_ON, true);
    setControlText(dialog, IDC_PROGRAM_FILE, pathText(helperFolder / "e2e_helper.exe"));
    setChecked(dialog, IDC_MINIMIZE_AT_START, true);
    setControlText(dialog, IDC_SECONDS, u"2");
    click(dialog, IDC_START);
    HWND box = kairon.waitForBox(u"メッセージ", 15s);
    ASSERT_NE(nullptr, box) << "no message box; " << kairon.state();
    EXPECT_TRUE(waitUntil(kShowLimit, [&] { return fs::exists(helperFolder / "e2e_helper.record"); }))
        << "the program was not launched";
    press(box);
    const auto exitCode = kairon.waitForExit(kAnswerLimit);
    ASSERT_TRUE(exitCode.has_value()) << "the program did not end after the message; " << kairon.state();
  }
  for (const fs::path& where : {folder.path(), current}) {
    for (const auto& entry : fs::directory_iterator(where)) {
      if (entry.path().extension() == ".loaded") marks.push_back(entry.path());
    }
  }
  for (const fs::path& mark : marks) ADD_FAILURE() << "loaded: " << mark.string();
}

}  // namespace
}  // namespace Ostra::e2e

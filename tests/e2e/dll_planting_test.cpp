// DLLs of system names left beside the program and in its current folder,
// with Wine told to prefer such a DLL to its own, as Windows does for any DLL
// that is not one of its KnownDLLs: the program must load none of them, at
// start or later, when it plays a sound, shows its tray icon, opens a file
// dialog or launches a program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "base/platform_win.h"
#include "resources/resource.h"
#include "tests/e2e/kairon_process.h"
#include "tests/e2e/remote_window.h"
#include "tests/support/child_process.h"
#include "tests/support/string_print.h"
#include "tests/support/temp_dir.h"

// After windows.h, which it needs.
#include <psapi.h>

namespace Ostra::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The DLLs the program loads when needed.  Not ole32: Wine's own imm32 loads
// it for a file dialog through a delay-load import, whose search passes over
// the process's DLL directories; on Windows it is a KnownDLL, never searched.
const char* const kPlanted[] = {"winmm", "shell32", "comdlg32"};

// Wine's order for a DLL that is no KnownDLL on Windows: the program's or the
// current folder's copy first (WINEDLLOVERRIDES=winmm=n,b), for Kairon.exe
// only.  In the registry: a started program takes WINEDLLOVERRIDES from the
// Linux environment, which a Windows program cannot change.
constexpr const wchar_t* kOverrides = L"Software\\Wine\\AppDefaults\\Kairon.exe\\DllOverrides";

// Starts the program in current, chooses the sound in the file dialog, counts
// down from the tray with the sound and a launch of the helper, and closes it.
void countDownWithEverything(const ProgramFolder& folder, const fs::path& current, const fs::path& sound,
                             const fs::path& helperFolder) {
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

  HKEY overrides = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            RegCreateKeyExW(HKEY_CURRENT_USER, kOverrides, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &overrides, nullptr));
  static const wchar_t kOrder[] = L"native,builtin";
  for (const char* name : kPlanted) {
    RegSetValueExW(overrides, fs::path(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(kOrder), sizeof kOrder);
  }
  RegCloseKey(overrides);
  countDownWithEverything(folder, current, sound, helperFolder);
  RegDeleteKeyW(HKEY_CURRENT_USER, kOverrides);
  RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\Kairon.exe");
  // Also after a failure above, which a loaded stand-in may have caused.
  for (const fs::path& where : {folder.path(), current}) {
    for (const auto& entry : fs::directory_iterator(where)) {
      if (entry.path().extension() == ".loaded") ADD_FAILURE() << "loaded: " << entry.path().string();
    }
  }
}

// The lower-case names of the DLLs mapped into a process.
std::vector<std::string> loadedModules(DWORD processId) {
  std::vector<std::string> names;
  const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
  if (process == nullptr) return names;
  std::vector<HMODULE> modules(512);
  DWORD bytes = 0;
  if (K32EnumProcessModulesEx(process, modules.data(), static_cast<DWORD>(modules.size() * sizeof(HMODULE)), &bytes,
                              LIST_MODULES_ALL)) {
    modules.resize(std::min<size_t>(modules.size(), bytes / sizeof(HMODULE)));
    for (const HMODULE module : modules) {
      char name[MAX_PATH] = {};
      if (K32GetModuleBaseNameA(process, module, name, MAX_PATH) == 0) continue;
      std::string lower(name);
      for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      names.push_back(lower);
    }
  }
  CloseHandle(process);
  return names;
}

TEST(DllPlanting, ACountdownWithTheDialogShownLoadsNoneOfTheDllsLoadedWhenNeeded) {
  ProgramFolder folder;
  KaironProcess kairon(folder);
  const HWND dialog = kairon.waitForDialog();
  ASSERT_NE(nullptr, dialog) << "no timer dialog; " << kairon.state();
  setChecked(dialog, IDC_MINIMIZE_AT_START, false);
  setControlText(dialog, IDC_MINUTES, u"5");
  click(dialog, IDC_START);
  ASSERT_TRUE(waitUntil(kShowLimit, [&] { return titleStartsWith(dialog, u"あと"); }))
      << "not counting; " << kairon.state();
  const std::vector<std::string> modules = loadedModules(kairon.id());
  // The program itself and kernel32 at least, or the listing told nothing.
  ASSERT_GE(modules.size(), 2u);
  // Not ole32: Wine's imm32 takes COM for every thread with a window.
  for (const char* name : {"winmm.dll", "shell32.dll", "comdlg32.dll"}) {
    EXPECT_TRUE(std::find(modules.begin(), modules.end(), name) == modules.end()) << name << " is loaded";
  }
}

}  // namespace
}  // namespace Ostra::e2e

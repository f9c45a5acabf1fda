// System DLLs loaded on first use, from the system folder only.
#include <windows.h>
// After windows.h, which it needs.
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <string>

#include "base/system_library_win.h"

namespace Ostra {
namespace {

std::wstring folderOf(HMODULE module) {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
  const std::wstring file(path, length);
  return file.substr(0, file.find_last_of(L'\\'));
}

TEST(SystemLibrary, EitherWayLoadsTheSystemFoldersCopyAndNothingElse) {
  wchar_t system[MAX_PATH] = {};
  const std::wstring systemFolder(system, GetSystemDirectoryW(system, MAX_PATH));
  for (SystemFolderLoad how : {SystemFolderLoad::SearchFlag, SystemFolderLoad::FullPath}) {
    SCOPED_TRACE(how == SystemFolderLoad::SearchFlag ? "search flag" : "full path");
    const HMODULE module = loadFromSystemFolder(L"winmm.dll", how);
    ASSERT_NE(nullptr, module);
    EXPECT_EQ(0, lstrcmpiW(systemFolder.c_str(), folderOf(module).c_str()));
    FreeLibrary(module);
    EXPECT_EQ(nullptr, loadFromSystemFolder(L"kairon-no-such-library.dll", how));
  }
}

TEST(SystemFunction, CallsThroughOrGivesTheMissingResult) {
  SystemLibrary kernel{L"kernel32.dll"};
  SystemLibrary none{L"kairon-no-such-library.dll"};
  // The arguments reach the function (the 32-bit build's calling convention too).
  const SystemFunction<decltype(lstrlenW)> length{kernel, "lstrlenW", -1};
  EXPECT_EQ(3, length(L"abc"));
  EXPECT_EQ(-1, (SystemFunction<decltype(lstrlenW)>{kernel, "kaironNoSuchExport", -1}(L"abc")));
  EXPECT_EQ(-1, (SystemFunction<decltype(lstrlenW)>{none, "lstrlenW", -1}(L"abc")));
  EXPECT_EQ(nullptr, (SystemFunction<decltype(lstrlenW)>{none, "lstrlenW", -1}.get()));
  EXPECT_NE(nullptr, (SystemFunction<decltype(PlaySoundW)>{winmmLibrary, "PlaySoundW", FALSE}.get()));
}

}  // namespace
}  // namespace Ostra

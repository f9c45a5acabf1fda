#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"

namespace Ostra {
namespace {

std::wstring windowText(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

// A visible top-level window of the process with the given caption.
HWND findWindowOf(DWORD process, const std::wstring& caption) {
  struct Search {
    DWORD process;
    const std::wstring* caption;
    HWND found;
  } search{process, &caption, nullptr};
  EnumWindows(
      [](HWND window, LPARAM param) noexcept CALLBACK -> BOOL {
        auto* search = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != search->process || !IsWindowVisible(window) || windowText(window) != *search->caption) return TRUE;
        search->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<std::wstring> childTexts(HWND window) {
  std::vector<std::wstring> texts;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM param) noexcept CALLBACK -> BOOL {
        reinterpret_cast<std::vector<std::wstring>*>(param)->push_back(windowText(child));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&texts));
  return texts;
}

// The box must be seen and dismissed as a user would: it waits for its OK.
TEST(FaultHandlers, TerminateAndAbortShowTheAbnormalEndBoxAndExitWithCode1) {
  for (const char* mode : {"terminate", "abort", "uncaught"}) {
    testing::TempDir folder;
    testing::ChildProcess child(testing::siblingExecutable("fault_child"), {mode}, folder.file("output.txt"));
    HWND box = nullptr;
    // A bound on waiting so that a missing box fails the test instead of hanging it.
    for (int attempt = 0; attempt < 1200 && box == nullptr && child.running(); ++attempt) {
      box = findWindowOf(child.id(), L"エラー");
      if (box == nullptr) Sleep(50);
    }
    ASSERT_NE(nullptr, box) << mode << ": no box captioned エラー";
    const std::vector<std::wstring> texts = childTexts(box);
    EXPECT_NE(texts.end(), std::find(texts.begin(), texts.end(), L"異常終了")) << mode;
    EXPECT_TRUE(child.running()) << mode << ": the process must wait for the box";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(1, child.wait()) << mode;
  }
}

}  // namespace
}  // namespace Ostra

#include "tests/app/window_search_win.h"

#include <functional>

#include "resources/resource.h"

namespace Ostra::testing {

namespace {

BOOL CALLBACK collectWindow(HWND window, LPARAM windows) noexcept {
  reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
  return TRUE;
}

HWND waitForTopLevel(std::chrono::milliseconds limit, const std::function<HWND()>& find) {
  HWND found = nullptr;
  waitUntil(limit, [&] { return (found = find()) != nullptr; });
  return found;
}

}  // namespace

std::vector<HWND> threadWindows(DWORD threadId) {
  std::vector<HWND> windows;
  EnumThreadWindows(threadId, collectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

HWND findDialogTitled(DWORD processId, const String& title) {
  for (const HWND window : dialogsTitled(processId, title)) {
    if (IsWindowVisible(window)) return window;
  }
  return nullptr;
}

HWND waitForDialogTitled(DWORD processId, const String& title, std::chrono::milliseconds limit) {
  return waitForTopLevel(limit, [&] { return findDialogTitled(processId, title); });
}

HWND findTimerDialog(DWORD processId) {
  for (const HWND window : topLevelWindows(processId)) {
    if (isDialogClass(window) && GetDlgItem(window, IDC_HOURS) != nullptr) return window;
  }
  return nullptr;
}

HWND waitForTimerDialog(DWORD processId, std::chrono::milliseconds limit) {
  return waitForTopLevel(limit, [&] { return findTimerDialog(processId); });
}

bool pressAndWaitGone(HWND window, int buttonId) {
  pressButton(window, buttonId);
  return waitUntil(kWaitLimit, [&] { return !IsWindow(window); });
}

}  // namespace Ostra::testing

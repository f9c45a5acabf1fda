#include "tests/app/window_search_win.h"

#include <iterator>
#include <string>
#include <vector>

#include "base/platform_win.h"
#include "resources/resource.h"

namespace Ostra::testing {

namespace {

constexpr DWORD kPollMilliseconds = 10;
constexpr DWORD kAnswerMilliseconds = 5000;
constexpr int kMessageBoxTextId = 0xFFFF;
// The file-name field of the Explorer-style file dialogs: a combo box in the
// newer layout, a plain edit in the older one.
constexpr int kFileNameComboId = 0x47C;
constexpr int kFileNameEditId = 0x480;

BOOL CALLBACK collectWindow(HWND window, LPARAM windows) noexcept {
  reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
  return TRUE;
}

// The first top-level window of the process that passes the test.
HWND findTopLevel(DWORD processId, const std::function<bool(HWND)>& test) {
  std::vector<HWND> windows;
  EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&windows));
  for (const HWND window : windows) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == processId && test(window)) return window;
  }
  return nullptr;
}

HWND waitForTopLevel(DWORD limitMilliseconds, const std::function<HWND()>& find) {
  HWND found = nullptr;
  waitUntil([&] { return (found = find()) != nullptr; }, limitMilliseconds);
  return found;
}

HWND fileNameControl(HWND fileDialog) {
  const HWND combo = GetDlgItem(fileDialog, kFileNameComboId);
  return combo != nullptr ? combo : GetDlgItem(fileDialog, kFileNameEditId);
}

}  // namespace

bool isDialogClass(HWND window) {
  wchar_t className[16] = {};
  GetClassNameW(window, className, static_cast<int>(std::size(className)));
  return std::wstring(className) == L"#32770";
}

std::vector<HWND> threadWindows(DWORD threadId) {
  std::vector<HWND> windows;
  EnumThreadWindows(threadId, collectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

bool waitUntil(const std::function<bool()>& condition, DWORD limitMilliseconds) {
  const ULONGLONG deadline = GetTickCount64() + limitMilliseconds;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(kPollMilliseconds);
  }
}

String windowText(HWND window) {
  wchar_t buffer[2048] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                      kAnswerMilliseconds, &copied);
  return fromWide(buffer);
}

String messageBoxText(HWND box) { return windowText(GetDlgItem(box, kMessageBoxTextId)); }

HWND findDialogTitled(DWORD processId, const String& title) {
  return findTopLevel(processId, [&](HWND window) {
    return IsWindowVisible(window) && isDialogClass(window) && windowText(window) == title;
  });
}

HWND waitForDialogTitled(DWORD processId, const String& title, DWORD limitMilliseconds) {
  return waitForTopLevel(limitMilliseconds, [&] { return findDialogTitled(processId, title); });
}

HWND findTimerDialog(DWORD processId) {
  return findTopLevel(processId,
                      [](HWND window) { return isDialogClass(window) && GetDlgItem(window, IDC_HOURS) != nullptr; });
}

HWND waitForTimerDialog(DWORD processId, DWORD limitMilliseconds) {
  return waitForTopLevel(limitMilliseconds, [&] { return findTimerDialog(processId); });
}

bool pressAndWaitGone(HWND window, int buttonId) {
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, buttonId)));
  return waitUntil([&] { return !IsWindow(window); });
}

String fileNameField(HWND fileDialog) { return windowText(fileNameControl(fileDialog)); }

void typeFileNameAndAccept(HWND fileDialog, const String& name) {
  SendMessageTimeoutW(fileNameControl(fileDialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide(name)),
                      SMTO_ABORTIFHUNG, kAnswerMilliseconds, nullptr);
  PostMessageW(fileDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(fileDialog, IDOK)));
}

}  // namespace Ostra::testing

#include "tests/support/win/window_driving_win.h"

#include <iterator>
#include <string>

#include "base/platform_win.h"

namespace Ostra::testing {

namespace {

constexpr DWORD kPollMilliseconds = 10;
constexpr int kMessageBoxTextId = 0xFFFF;
constexpr int kExplorerNameId = 0x47c;
constexpr int kOldStyleNameId = 0x480;

BOOL CALLBACK collectWindow(HWND window, LPARAM windows) noexcept {
  reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
  return TRUE;
}

BOOL CALLBACK findNameField(HWND child, LPARAM context) noexcept {
  wchar_t className[32] = {};
  GetClassNameW(child, className, static_cast<int>(std::size(className)));
  const int id = GetDlgCtrlID(child);
  if (lstrcmpiW(className, L"Edit") != 0 || (id != kExplorerNameId && id != kOldStyleNameId)) return TRUE;
  *reinterpret_cast<HWND*>(context) = child;
  return FALSE;
}

}  // namespace

bool waitUntil(std::chrono::milliseconds limit, const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    Sleep(kPollMilliseconds);
  }
}

std::optional<String> answeredWindowText(HWND window, DWORD answerMilliseconds) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, answerMilliseconds, &length)) {
    return std::nullopt;
  }
  std::vector<wchar_t> buffer(length + 2, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG,
                           answerMilliseconds, &copied)) {
    return std::nullopt;
  }
  return fromWide(buffer.data(), static_cast<int>(copied));
}

String windowText(HWND window) { return answeredWindowText(window).value_or(String()); }

HWND messageBoxTextControl(HWND box) { return GetDlgItem(box, kMessageBoxTextId); }

String messageBoxText(HWND box) { return windowText(messageBoxTextControl(box)); }

std::vector<HWND> topLevelWindows(DWORD processId) {
  std::vector<HWND> windows;
  EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&windows));
  std::vector<HWND> found;
  for (const HWND window : windows) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == processId) found.push_back(window);
  }
  return found;
}

String windowClass(HWND window) {
  wchar_t className[64] = {};
  GetClassNameW(window, className, static_cast<int>(std::size(className)));
  return fromWide(className);
}

bool isDialogClass(HWND window) { return windowClass(window) == String(u"#32770"); }

std::vector<HWND> dialogsTitled(DWORD processId, const String& title) {
  std::vector<HWND> found;
  for (const HWND window : topLevelWindows(processId)) {
    if (isDialogClass(window) && windowText(window) == title) found.push_back(window);
  }
  return found;
}

void pressButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

HWND fileNameField(HWND fileDialog) {
  HWND found = nullptr;
  EnumChildWindows(fileDialog, findNameField, reinterpret_cast<LPARAM>(&found));
  return found;
}

bool answerFileDialog(HWND fileDialog, const String& name, DWORD answerMilliseconds) {
  const HWND field = fileNameField(fileDialog);
  if (field == nullptr || !SendMessageTimeoutW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide(name)),
                                               SMTO_ABORTIFHUNG, answerMilliseconds, nullptr)) {
    return false;
  }
  pressButton(fileDialog, IDOK);
  return true;
}

HWND waitForMenuWindow(DWORD threadId, std::chrono::milliseconds limit) {
  HWND found = nullptr;
  waitUntil(limit, [&] {
    std::vector<HWND> windows;
    EnumThreadWindows(threadId, collectWindow, reinterpret_cast<LPARAM>(&windows));
    // The system lists the newest first: an open submenu before its parent.
    for (const HWND window : windows) {
      if (IsWindowVisible(window) && windowClass(window) == String(u"#32768")) return (found = window) != nullptr;
    }
    return false;
  });
  return found;
}

std::vector<MenuItem> shownMenuItems(HWND menuWindow) {
  constexpr UINT kGetMenu = 0x01E1;  // MN_GETHMENU
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(menuWindow, kGetMenu, 0, 0, SMTO_ABORTIFHUNG, kAnswerMilliseconds, &answer);
  const auto menu = reinterpret_cast<HMENU>(answer);
  std::vector<MenuItem> items;
  for (UINT i = 0; menu != nullptr && static_cast<int>(i) < GetMenuItemCount(menu); ++i) {
    wchar_t text[256] = {};
    GetMenuStringW(menu, i, text, static_cast<int>(std::size(text)), MF_BYPOSITION);
    items.push_back({fromWide(text), GetMenuState(menu, i, MF_BYPOSITION) |
                                         (GetMenuDefaultItem(menu, TRUE, 0) == i ? MF_DEFAULT : 0u)});
  }
  return items;
}

}  // namespace Ostra::testing

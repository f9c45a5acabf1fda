#include "bench/win/remote_program.h"

namespace Ostra::bench {

namespace {

constexpr UINT kAnswerMilliseconds = 10000;

std::wstring folderOf(const std::wstring& path) {
  const size_t last = path.find_last_of(L"\\/");
  return last == std::wstring::npos ? std::wstring() : path.substr(0, last);
}

struct WindowSearch {
  DWORD process;
  const std::wstring* title;
  HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<WindowSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->process || !IsWindowVisible(window)) return TRUE;
  wchar_t title[256] = {};
  // InternalGetWindowText reads the title without a message to the program.
  InternalGetWindowText(window, title, 256);
  if (*search->title != title) return TRUE;
  search->found = window;
  return FALSE;
}

bool send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result = nullptr) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerMilliseconds,
                             result ? result : &ignored) != 0;
}

}  // namespace

int64_t preciseNow() {
  FILETIME now{};
  GetSystemTimePreciseAsFileTime(&now);
  return static_cast<int64_t>((static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime);
}

RemoteProgram::RemoteProgram(const std::wstring& exe, const std::wstring& arguments) {
  std::wstring line = L"\"" + exe + L"\"";
  if (!arguments.empty()) line += L" " + arguments;
  const std::wstring folder = folderOf(exe);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION created{};
  if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &created)) {
    return;
  }
  process_.reset(created.hProcess);
  id_ = created.dwProcessId;
  CloseHandle(created.hThread);  // never needed
}

RemoteProgram::~RemoteProgram() {
  if (!started()) return;
  if (!detached_ && running()) {
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), kAnswerMilliseconds);
  }
}

bool RemoteProgram::running() const { return started() && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

HWND RemoteProgram::waitForWindow(const std::wstring& title, DWORD limitMs) const {
  const ULONGLONG giveUp = GetTickCount64() + limitMs;
  for (;;) {
    WindowSearch search{id(), &title, nullptr};
    EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    if (!running() || GetTickCount64() > giveUp) return nullptr;
    Sleep(1);
  }
}

bool RemoteProgram::waitForExit(DWORD limitMs) const {
  return !started() || WaitForSingleObject(process_.get(), limitMs) == WAIT_OBJECT_0;
}

void RemoteProgram::close(HWND window, DWORD limitMs) {
  if (window != nullptr) PostMessageW(window, WM_CLOSE, 0, 0);
  if (!waitForExit(limitMs) && started()) TerminateProcess(process_.get(), 1);
}

bool setControlText(HWND dialog, int id, const std::wstring& text) {
  HWND item = GetDlgItem(dialog, id);
  return item != nullptr && send(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool setChecked(HWND dialog, int id, bool on) {
  HWND item = GetDlgItem(dialog, id);
  DWORD_PTR state = 0;
  if (item == nullptr || !send(item, BM_GETCHECK, 0, 0, &state)) return false;
  if ((state == BST_CHECKED) == on) return true;
  return send(item, BM_CLICK, 0, 0);
}

bool click(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  return item != nullptr && send(item, BM_CLICK, 0, 0);
}

}  // namespace Ostra::bench

#include "ui/wnd.h"

#include <vector>

#include "base/call_form.h"
#include "base/encoding.h"
#include "base/platform_win.h"
#include "ui/window.h"

namespace Ostra {

namespace {

// How long a foreground window may take to answer before we leave it alone.
constexpr UINT kAnswerMilliseconds = 200;

using MessageFilterEx = BOOL(WINAPI*)(HWND, UINT, DWORD, CHANGEFILTERSTRUCT*);

}  // namespace

CWnd::CWnd(const CWindow& window, int id) : handle_(GetDlgItem(window.handle(), id)) {}

int CWnd::messageBox(unsigned style, const String& caption, const String& text) const {
  if (useWideCalls()) return MessageBoxW(handle_, wide(text), wide(caption), style);
  return MessageBoxA(handle_, defaultEncoding().encode(text).c_str(), defaultEncoding().encode(caption).c_str(), style);
}

CWnd CWnd::item(int id) const { return CWnd(GetDlgItem(handle_, id)); }

String CWnd::getText() const {
  // The buffer is zeroed and one unit longer than the system may write, so a
  // call that fails or writes less still leaves a terminated text.
  if (useWideCalls()) {
    const int n = GetWindowTextLengthW(handle_) + 1;
    std::vector<wchar_t> buffer(static_cast<size_t>(n) + 1, L'\0');
    GetWindowTextW(handle_, buffer.data(), n);
    return fromWide(buffer.data());
  }
  const int n = GetWindowTextLengthA(handle_) + 1;
  std::vector<char> buffer(static_cast<size_t>(n) + 1, '\0');
  GetWindowTextA(handle_, buffer.data(), n);
  return defaultEncoding().decode(buffer.data());
}

void CWnd::setText(const String& text) const {
  if (useWideCalls()) {
    SetWindowTextW(handle_, wide(text));
    return;
  }
  SetWindowTextA(handle_, defaultEncoding().encode(text).c_str());
}

int CWnd::getInt() const { return getText().toInt(); }

void CWnd::enable(bool on) const { EnableWindow(handle_, on ? TRUE : FALSE); }

bool CWnd::isChecked() const { return SendMessageA(handle_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CWnd::setCheck(bool on) const { SendMessageA(handle_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }

void CWnd::setClassIcon(unsigned short iconId) const {
  // Icons loaded from the module this way are shared and never destroyed.
  HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(iconId));
  SetClassLongPtrA(handle_, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
}

UINT_PTR CWnd::setTimer(unsigned id, unsigned milliseconds) const {
  return SetTimer(handle_, id, milliseconds, nullptr);
}

bool CWnd::killTimer(unsigned id) const { return KillTimer(handle_, id) != FALSE; }

void CWnd::close() const {
  if (!IsWindow(handle_)) return;
  SendMessageA(handle_, WM_CLOSE, 0, 0);
}

bool CWnd::forceForeground() const {
  // Windows lets only the foreground thread hand the foreground on: joining
  // its input state and lifting the lock time-out for a moment gets us there.
  const HWND foreground = GetForegroundWindow();
  const DWORD foregroundThread = GetWindowThreadProcessId(foreground, nullptr);
  const DWORD me = GetCurrentThreadId();
  // Joined to a thread that has stopped answering, we would wait as long as it
  // hangs: an alarm must not wait for another program.
  DWORD_PTR ignored = 0;
  const bool answers =
      foreground == nullptr || me == foregroundThread ||
      SendMessageTimeoutW(foreground, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerMilliseconds, &ignored) != 0;
  const bool attach = answers && me != foregroundThread;
  if (attach) AttachThreadInput(me, foregroundThread, TRUE);
  DWORD saved = 0;
  SystemParametersInfoA(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &saved, 0);
  // In memory only (no profile write, no broadcast), and put back below.
  SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, 0);
  BringWindowToTop(handle_);
  SetForegroundWindow(handle_);
  SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, reinterpret_cast<void*>(static_cast<UINT_PTR>(saved)), 0);
  if (attach) AttachThreadInput(me, foregroundThread, FALSE);
  return GetForegroundWindow() == handle_;
}

void CWnd::flashUntilActive() const {
  FLASHWINFO flash{};
  flash.cbSize = sizeof flash;
  flash.hwnd = handle_;
  // Caption and button, on until the window comes to the foreground.
  flash.dwFlags = FLASHW_ALL | FLASHW_TIMERNOFG;
  FlashWindowEx(&flash);
}

void CWnd::flashButton(unsigned count) const {
  FLASHWINFO flash{};
  flash.cbSize = sizeof flash;
  flash.hwnd = handle_;
  flash.dwFlags = FLASHW_TRAY;
  flash.uCount = count;
  FlashWindowEx(&flash);
}

void CWnd::stopFlashing() const {
  FLASHWINFO flash{};
  flash.cbSize = sizeof flash;
  flash.hwnd = handle_;
  flash.dwFlags = FLASHW_STOP;
  FlashWindowEx(&flash);
}

void CWnd::allowFromLowerIntegrity(UINT message) const {
  // From Windows 7 on; Vista has only the process-wide filter, which would let
  // the message through to every window of the program.
  static const auto changeFilter = reinterpret_cast<MessageFilterEx>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "ChangeWindowMessageFilterEx")));
  if (changeFilter != nullptr && message != 0) changeFilter(handle_, message, MSGFLT_ALLOW, nullptr);
}

}  // namespace Ostra

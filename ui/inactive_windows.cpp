#include "ui/inactive_windows.h"

namespace Ostra {

namespace {

// The window procedure a watched window had, kept with the window.
constexpr wchar_t kOwnProcedure[] = L"Kairon.InactiveWindows.Procedure";

}  // namespace

CInactiveWindows::CInactiveWindows()
    : hook_(SetWindowsHookExW(WH_CBT, &watchCreation, nullptr, GetCurrentThreadId())) {}

CInactiveWindows::~CInactiveWindows() {
  if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
}

LRESULT CALLBACK CInactiveWindows::watchCreation(int code, WPARAM wParam, LPARAM lParam) noexcept {
  if (code == HCBT_CREATEWND) {
    const HWND created = reinterpret_cast<HWND>(wParam);
    const CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
    // Without MB_SETFOREGROUND a message box still activates itself as it is
    // first shown, which a system that does not hold the foreground back (or
    // one where this program may take it) lets take the keyboard.
    if ((create->style & WS_CHILD) == 0 && GetPropW(created, kOwnProcedure) == nullptr) {
      const LONG_PTR own = GetWindowLongPtrW(created, GWLP_WNDPROC);
      if (own != 0 && SetPropW(created, kOwnProcedure, reinterpret_cast<HANDLE>(own))) {
        SetWindowLongPtrW(created, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&showInactive));
      }
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK CInactiveWindows::showInactive(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  const auto own = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kOwnProcedure));
  // Only the showing: a click or Alt+Tab activates it later as any window.
  if (message == WM_WINDOWPOSCHANGING) {
    auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
    if ((pos->flags & SWP_SHOWWINDOW) != 0) pos->flags |= SWP_NOACTIVATE;
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
    RemovePropW(hwnd, kOwnProcedure);
  }
  return own != nullptr ? CallWindowProcW(own, hwnd, message, wParam, lParam)
                        : DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace Ostra

#include "tests/support/win/refusing_shell_win.h"

#include <chrono>

#include "tests/support/win/window_driving_win.h"

namespace Ostra::testing {

RefusingShell::RefusingShell()
    : thread_([this] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = windowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"Shell_TrayWnd";
        RegisterClassW(&windowClass);  // already there from an earlier shell of this process
        // Topmost: found before the real taskbar, also when that is topmost itself.
        const HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"Shell_TrayWnd", nullptr, WS_POPUP, 0, 0,
                                            0, 0, nullptr, nullptr, windowClass.hInstance, nullptr);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&refused_));
        window_ = window;
        ready_ = true;
        if (window == nullptr) return;
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
      }) {
  waitUntil(std::chrono::seconds(30), [this] { return ready_.load(); });
}

RefusingShell::~RefusingShell() {
  if (window_.load() != nullptr) PostMessageW(window_.load(), WM_CLOSE, 0, 0);
  thread_.join();
}

LRESULT CALLBACK RefusingShell::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  switch (message) {
    case WM_COPYDATA:
      ++*reinterpret_cast<std::atomic<int>*>(GetWindowLongPtrW(window, GWLP_USERDATA));
      return FALSE;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace Ostra::testing

#include "tests/support/win/refusing_shell_win.h"

#include "tests/support/win/window_driving_win.h"

namespace Ostra::testing {

namespace {

LRESULT CALLBACK refuse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_COPYDATA) {
    if (auto* refused = reinterpret_cast<std::atomic<int>*>(GetWindowLongPtrW(window, GWLP_USERDATA))) ++*refused;
    return FALSE;
  }
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

RefusingShell::RefusingShell()
    : thread_([this] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = refuse;
        windowClass.lpszClassName = L"Shell_TrayWnd";
        RegisterClassW(&windowClass);  // or already there from an earlier one
        // Topmost: found before the real taskbar, also when that is topmost itself.
        window_ = CreateWindowExW(WS_EX_TOPMOST, L"Shell_TrayWnd", nullptr, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  nullptr, nullptr);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&refused_));
        ready_ = true;
        MSG message;
        while (window_.load() != nullptr && GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
      }) {
  waitUntil(std::chrono::seconds(30), [this] { return ready_.load(); });
}

RefusingShell::~RefusingShell() {
  if (window_.load() != nullptr) PostMessageW(window_, WM_CLOSE, 0, 0);
  thread_.join();
}

}  // namespace Ostra::testing

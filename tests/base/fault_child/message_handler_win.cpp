#include <windows.h>

#include "tests/base/fault_child/message_handler.h"

namespace {

constexpr UINT kRunBody = WM_APP + 1;

LRESULT CALLBACK handlerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kRunBody) return DefWindowProcW(window, message, wParam, lParam);
  reinterpret_cast<void (*)()>(lParam)();
  return 0;
}

}  // namespace

void runAsMessageHandler(void (*body)()) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = handlerProcedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"KaironFaultChild";
  RegisterClassW(&windowClass);
  const HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      windowClass.hInstance, nullptr);
  SendMessageW(window, kRunBody, 0, reinterpret_cast<LPARAM>(body));
  PostMessageW(window, kRunBody, 0, reinterpret_cast<LPARAM>(body));
  MSG message{};
  while (PeekMessageW(&message, window, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  DestroyWindow(window);
}

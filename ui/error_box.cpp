#include "ui/error_box.h"

#include "base/exception.h"

namespace Ostra {

namespace {

constexpr unsigned kErrorBoxStyle = MB_OK | MB_ICONINFORMATION | MB_SYSTEMMODAL | MB_SETFOREGROUND;
constexpr int kMaxQuitMessagesDrained = 16;

}  // namespace

int showExceptionBox(const std::exception& e, const CWnd& owner, const String& caption) {
  return showErrorBox(exceptionText(e), owner, caption);
}

int showErrorBox(const String& text, const CWnd& owner, const String& caption) {
  return owner.messageBox(kErrorBoxStyle, caption, text);
}

void drainQuitMessages() {
  MSG msg;
  for (int i = 0; i < kMaxQuitMessagesDrained; ++i) {
    if (!PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) return;
  }
}

}  // namespace Ostra

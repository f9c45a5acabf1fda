// The floor the timer is measured against: the smallest program that shows a
// modal dialog built the same way (same compiler, options and static run-time,
// a dialog resource and a manifest).  With "/timer" it also counts down its
// caption once a second from a 1000 ms window timer, the least a countdown can
// do, for the memory, CPU and wake-up figures.  With "/hang" it stops
// answering for 15 s two seconds after it shows: a hung program in the
// foreground, which the timer's expiry must not wait for.
//
// Built a second time with KAIRON_FLOOR_IMPORTS, it also imports shell32,
// comdlg32 and winmm, which the system then loads at start: that variant tells
// what those DLLs cost, which Kairon.exe loads only when it needs them.
#include <windows.h>

#ifdef KAIRON_FLOOR_IMPORTS
// After windows.h, which they need.
#include <commdlg.h>
#include <mmsystem.h>
#include <shellapi.h>
#endif

#include <cstring>
#include <cwchar>

namespace {

constexpr int kDialogId = 100;
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTickMilliseconds = 1000;
constexpr UINT_PTR kHangTimerId = 2;
constexpr UINT kHangAfterMilliseconds = 2000;
constexpr DWORD kHangMilliseconds = 15000;

bool timerWanted = false;
bool hangWanted = false;
int count = 0;

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowTextW(dialog, L"Minimal dialog");
      if (timerWanted) SetTimer(dialog, kTimerId, kTickMilliseconds, nullptr);
      if (hangWanted) SetTimer(dialog, kHangTimerId, kHangAfterMilliseconds, nullptr);
      // Focus on the button, as Kairon's disabled fields leave it while it
      // counts: a blinking caret would wake the program twice a second.
      SetFocus(GetDlgItem(dialog, IDOK));
      return FALSE;
    case WM_TIMER: {
      if (wParam == kHangTimerId) {
        KillTimer(dialog, kHangTimerId);
        Sleep(kHangMilliseconds);
        return TRUE;
      }
      wchar_t caption[64];
      std::swprintf(caption, 64, L"%d / Minimal dialog", --count);
      SetWindowTextW(dialog, caption);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 0);
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

#ifdef KAIRON_FLOOR_IMPORTS
// Called only for an argument no one passes: enough for the linker to keep
// the imports, which the system then loads at start.
void useImports() {
  ShellExecuteW(nullptr, nullptr, L"", nullptr, nullptr, SW_SHOWNORMAL);
  OPENFILENAMEA open{};
  GetOpenFileNameA(&open);
  PlaySoundW(nullptr, nullptr, 0);
}
#endif

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  timerWanted = std::strstr(commandLine, "/timer") != nullptr;
  hangWanted = std::strstr(commandLine, "/hang") != nullptr;
#ifdef KAIRON_FLOOR_IMPORTS
  if (std::strstr(commandLine, "/use-imports") != nullptr) useImports();
#endif
  count = 1000000;
  DialogBoxParamW(instance, MAKEINTRESOURCEW(kDialogId), nullptr, dialogProc, 0);
  return 0;
}

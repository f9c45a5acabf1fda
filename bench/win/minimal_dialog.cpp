// The floor the timer is measured against: the smallest program that shows a
// modal dialog built the same way (same compiler, options and static run-time,
// a dialog resource and a manifest).  With "/timer" it also counts down its
// caption once a second from a 1000 ms window timer, in the timer's own form
// ("あと59分59秒 / …"), the least a countdown can do, for the memory, CPU and
// wake-up figures.  With "/hang" it stops
// answering for 15 s two seconds after it shows: a hung program in the
// foreground, which the timer's expiry must not wait for.
//
// Built a second time with KAIRON_FLOOR_IMPORTS, it also imports shell32,
// comdlg32 and winmm, which the system then loads at start: that variant tells
// what those DLLs cost, which Kairon.exe loads only when it needs them.  Built
// a third time with KAIRON_FLOOR_TIMER_DIALOG, it shows the timer's own dialog
// (its template, all its controls, its idle icon in the caption) and does
// nothing else: what that dialog costs whoever shows it.
#include <windows.h>

#ifdef KAIRON_FLOOR_IMPORTS
// After windows.h, which they need.
#include <commdlg.h>
#include <mmsystem.h>
#include <shellapi.h>
#endif

#include <cstring>
#include <cwchar>
#include <utility>

#ifdef KAIRON_FLOOR_TIMER_DIALOG
#include "resource.h"
#endif

namespace {

#ifdef KAIRON_FLOOR_TIMER_DIALOG
constexpr int kDialogId = IDD_TIMER;
constexpr int kFocusId = IDC_CANCEL;
#else
constexpr int kDialogId = 100;
constexpr int kFocusId = IDOK;
#endif
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
#ifdef KAIRON_FLOOR_TIMER_DIALOG
      // The caption's and the taskbar's icons, as the timer sets them.
      for (const auto& [which, metric] : {std::pair{ICON_SMALL, SM_CXSMICON}, std::pair{ICON_BIG, SM_CXICON}}) {
        const int pixels = GetSystemMetrics(metric);
        const HANDLE icon = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_IDLE), IMAGE_ICON, pixels,
                                       pixels, LR_DEFAULTCOLOR);
        SendMessageW(dialog, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
      }
#endif
      if (timerWanted) SetTimer(dialog, kTimerId, kTickMilliseconds, nullptr);
      if (hangWanted) SetTimer(dialog, kHangTimerId, kHangAfterMilliseconds, nullptr);
      // Focus on the button, as Kairon's disabled fields leave it while it
      // counts: a blinking caret would wake the program twice a second.
      SetFocus(GetDlgItem(dialog, kFocusId));
      return FALSE;
    case WM_TIMER: {
      if (wParam == kHangTimerId) {
        KillTimer(dialog, kHangTimerId);
        Sleep(kHangMilliseconds);
        return TRUE;
      }
      // The timer's own caption, in its form and script: the same text to lay
      // out and draw, in the fonts it needs.
      wchar_t caption[64];
      --count;
      std::swprintf(caption, 64, L"\u3042\u3068%02d\u5206%02d\u79D2 / Minimal dialog", count / 60 % 60, count % 60);
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

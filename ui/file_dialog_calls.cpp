#include "ui/file_dialog_calls.h"

// After windows.h (through file_dialog_calls.h), which it needs.
#include <cderr.h>

#include "base/call_form.h"
#include "base/system_library_win.h"

namespace Ostra {

namespace {

const SystemFunction<decltype(GetOpenFileNameA)> openA{comdlg32Library, "GetOpenFileNameA", FALSE};
const SystemFunction<decltype(GetSaveFileNameA)> saveA{comdlg32Library, "GetSaveFileNameA", FALSE};
const SystemFunction<decltype(GetOpenFileNameW)> openW{comdlg32Library, "GetOpenFileNameW", FALSE};
const SystemFunction<decltype(GetSaveFileNameW)> saveW{comdlg32Library, "GetSaveFileNameW", FALSE};
// Without the DLL a dialog failed to start, which is not the user cancelling (0).
const SystemFunction<decltype(CommDlgExtendedError)> extendedError{comdlg32Library, "CommDlgExtendedError",
                                                                   CDERR_INITIALIZATION};

BOOL WINAPI getOpenFileNameA(LPOPENFILENAMEA dialog) { return openA(dialog); }
BOOL WINAPI getSaveFileNameA(LPOPENFILENAMEA dialog) { return saveA(dialog); }
BOOL WINAPI getOpenFileNameW(LPOPENFILENAMEW dialog) { return openW(dialog); }
BOOL WINAPI getSaveFileNameW(LPOPENFILENAMEW dialog) { return saveW(dialog); }
DWORD WINAPI commDlgExtendedError() { return extendedError(); }

}  // namespace

FileDialogCalls systemFileDialogCalls() {
  return {&useWideCalls,     &getOpenFileNameA, &getSaveFileNameA,
          &getOpenFileNameW, &getSaveFileNameW, &commDlgExtendedError};
}

FileDialogCalls& fileDialogCalls() {
  static FileDialogCalls calls = systemFileDialogCalls();
  return calls;
}

}  // namespace Ostra

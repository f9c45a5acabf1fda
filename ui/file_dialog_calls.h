#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commdlg.h>

namespace Ostra {

// The system calls behind CFileSelectDialog.  The real ones by default; a test
// swaps them to make a dialog fail with a chosen error code, which the system
// cannot be made to do, and to take the ANSI road on an NT-family system.
struct FileDialogCalls {
  bool (*wideCalls)();  // true on the NT family
  BOOL(WINAPI* getOpenFileNameA)(LPOPENFILENAMEA);
  BOOL(WINAPI* getSaveFileNameA)(LPOPENFILENAMEA);
  BOOL(WINAPI* getOpenFileNameW)(LPOPENFILENAMEW);
  BOOL(WINAPI* getSaveFileNameW)(LPOPENFILENAMEW);
  DWORD(WINAPI* commDlgExtendedError)();
};

// The process's calls; change them only while no dialog runs.
FileDialogCalls& fileDialogCalls();
// The real system calls.
FileDialogCalls systemFileDialogCalls();

}  // namespace Ostra

#pragma once

#include <windows.h>

namespace Ostra {

// While one lives, the top-level windows that the calling thread creates
// (message boxes) appear without being activated: keys typed into another
// program keep going there.  The person activates them by coming to them.
// One per thread at a time; on that thread only.
class CInactiveWindows {
 public:
  CInactiveWindows();
  ~CInactiveWindows();
  CInactiveWindows(const CInactiveWindows&) = delete;
  CInactiveWindows& operator=(const CInactiveWindows&) = delete;

 private:
  static LRESULT CALLBACK watchCreation(int code, WPARAM wParam, LPARAM lParam) noexcept;
  static LRESULT CALLBACK showInactive(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

  HHOOK hook_;
};

}  // namespace Ostra

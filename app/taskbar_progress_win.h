#pragma once

#include <windows.h>

#include <optional>

#include "app/com_apartment_win.h"
#include "ui/msg_hooker.h"

struct ITaskbarList3;

// The countdown's progress on the dialog's taskbar button (Windows 7 and
// later).  Every call is skipped until the shell has announced the button with
// "TaskbarButtonCreated"; older shells, and Wine, never do.  Use on the
// dialog's thread only.
class CTaskbarProgress {
 public:
  explicit CTaskbarProgress(HWND window);
  CTaskbarProgress(const CTaskbarProgress&) = delete;
  CTaskbarProgress& operator=(const CTaskbarProgress&) = delete;
  ~CTaskbarProgress();

  // True when m is "TaskbarButtonCreated" (again after the taskbar restarted).
  bool handleButtonCreated(const Ostra::WindowMessage& m);
  // Thousandths of the bar, 0 to 1000; paused shows the bar in the paused state.
  void show(int permille, bool paused = false);
  // No bar: the idle button.
  void clear();

 private:
  void releaseList();

  HWND window_;
  std::optional<CComApartment> com_;  // before the list, which must go first
  ITaskbarList3* list_ = nullptr;
  bool pausedShown_ = false;
};

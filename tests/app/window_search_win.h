#pragma once

#include <windows.h>

#include <chrono>
#include <vector>

#include "base/string.h"
#include "tests/support/win/window_driving_win.h"

// Finding the timer dialog and the modal windows it opens, from a thread or
// process other than theirs.  Every wait ends after a limit, so a window that
// never comes fails the test instead of hanging it.
namespace Ostra::testing {

constexpr DWORD kWaitLimitMilliseconds = 15000;
constexpr std::chrono::milliseconds kWaitLimit{kWaitLimitMilliseconds};

// The top-level windows of a thread, shown or not.
std::vector<HWND> threadWindows(DWORD threadId);

// A visible top-level dialog-class window (#32770) of the process whose title is
// exactly `title`; null when none.
HWND findDialogTitled(DWORD processId, const String& title);
HWND waitForDialogTitled(DWORD processId, const String& title, std::chrono::milliseconds limit = kWaitLimit);
// The timer dialog of the process: the #32770 window holding the hours field, shown or not.
HWND findTimerDialog(DWORD processId);
HWND waitForTimerDialog(DWORD processId, std::chrono::milliseconds limit = kWaitLimit);

// Presses a button of a modal window (IDOK for a message box) and waits until the window has gone.
bool pressAndWaitGone(HWND window, int buttonId);

}  // namespace Ostra::testing

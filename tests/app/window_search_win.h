#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "base/string.h"

// Finding, reading and operating the windows of the timer dialog and of the
// modal windows it opens, from a thread or process other than theirs.  Every
// wait ends after a limit, so a window that never comes fails the test
// instead of hanging it.
namespace Ostra::testing {

constexpr DWORD kWaitLimitMilliseconds = 15000;

// Polls condition until it holds or the limit passes; its last answer.
bool waitUntil(const std::function<bool()>& condition, DWORD limitMilliseconds = kWaitLimitMilliseconds);

// The text of any window, without hanging on one that does not answer.
String windowText(HWND window);
// The text of a message box: its static control 0xFFFF.
String messageBoxText(HWND box);

// The window's class is the dialog class (#32770) of dialogs, message boxes and file dialogs.
bool isDialogClass(HWND window);
// The top-level windows of a thread, shown or not.
std::vector<HWND> threadWindows(DWORD threadId);

// A visible top-level dialog-class window (#32770) of the process whose title is
// exactly `title`; null when none.
HWND findDialogTitled(DWORD processId, const String& title);
HWND waitForDialogTitled(DWORD processId, const String& title, DWORD limitMilliseconds = kWaitLimitMilliseconds);
// The timer dialog of the process: the #32770 window holding the hours field, shown or not.
HWND findTimerDialog(DWORD processId);
HWND waitForTimerDialog(DWORD processId, DWORD limitMilliseconds = kWaitLimitMilliseconds);

// Presses a button of a modal window (IDOK for a message box) and waits until the window has gone.
bool pressAndWaitGone(HWND window, int buttonId);
// The text of an open file dialog's file-name field.
String fileNameField(HWND fileDialog);
// Types name into an open file dialog's file-name field and presses its OK button.
void typeFileNameAndAccept(HWND fileDialog, const String& name);

}  // namespace Ostra::testing

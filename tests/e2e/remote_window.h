#pragma once

#include <windows.h>

#include "base/string.h"

// Reading and operating the windows of another process, only through what
// the system offers every program: window texts, states and messages.
namespace Ostra::e2e {

// A top-level window's title, read without a message to its program.
String windowTitle(HWND window);
bool titleStartsWith(HWND window, const String& prefix);
// On the screen: visible and not minimised.
bool isShown(HWND window);

// A control's text by WM_GETTEXT, which the system carries across processes.
String controlText(HWND dialog, int id);
// Replaces a control's text (WM_SETTEXT), as pasting over it would.
void setControlText(HWND dialog, int id, const String& text);
bool isEnabled(HWND dialog, int id);
bool isChecked(HWND dialog, int id);

// Clicks a button (BM_CLICK) and returns once the program has handled it.
void click(HWND dialog, int id);
// Clicks a button and returns at once: for buttons whose handling opens a
// modal window, which the caller then answers.
void clickLater(HWND dialog, int id);
// Clicks a check box when its state differs from on.
void setChecked(HWND dialog, int id, bool on);
// Sends a message and waits for it to be handled (a limited time).
LRESULT sendAndWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The text of a message box, line breaks included.
String messageBoxText(HWND box);
// Presses a message box's or a dialog's button (IDOK by default).
void press(HWND box, int button = IDOK);

// The name a common file dialog suggests in its file-name field; empty when
// it has none.
String fileDialogName(HWND dialog);
// Types name into a common file dialog's file-name field and presses its OK
// button; false when the dialog has no such field.
bool answerFileDialog(HWND dialog, const String& name);

}  // namespace Ostra::e2e

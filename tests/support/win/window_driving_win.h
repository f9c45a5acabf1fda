#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

#include "base/string.h"

// Finding, reading and operating windows of another thread or process, as
// every test tier drives them.  Every wait has a limit, so a window that never
// comes or never answers fails the test instead of hanging it.
namespace Ostra::testing {

// How long a window may take to answer one message by default.
constexpr DWORD kAnswerMilliseconds = 5000;

// Polls condition until it holds (true) or limit passes (false).
bool waitUntil(std::chrono::milliseconds limit, const std::function<bool()>& condition);

// A window's text by WM_GETTEXT, any length; nothing when it did not answer
// within answerMilliseconds.
std::optional<String> answeredWindowText(HWND window, DWORD answerMilliseconds = kAnswerMilliseconds);
// The same, empty when the window did not answer.
String windowText(HWND window);
// The static control (0xFFFF) that holds a message box's text.
HWND messageBoxTextControl(HWND box);
String messageBoxText(HWND box);

// The top-level windows of the process, shown or not, in the system's order.
std::vector<HWND> topLevelWindows(DWORD processId);
// The window's class name ("#32770" for dialogs).
String windowClass(HWND window);
// The window's class is the dialog class (#32770) of dialogs, message boxes and file dialogs.
bool isDialogClass(HWND window);
// The top-level dialog-class windows of the process whose title is exactly title, shown or not.
std::vector<HWND> dialogsTitled(DWORD processId, const String& title);

// Presses a button of a dialog or message box by a posted WM_COMMAND: the
// program may end, or open the next window, while handling it.
void pressButton(HWND dialog, int id);

// A common file dialog's file-name field (cmb13 in the Explorer-style dialog,
// edt1 in the old one); null until the dialog has made it.
HWND fileNameField(HWND fileDialog);
// Types name into the file-name field and presses OK; false when the dialog
// has no such field or it did not answer.
bool answerFileDialog(HWND fileDialog, const String& name, DWORD answerMilliseconds = kAnswerMilliseconds);

// The popup menu (class #32768) a thread shows, the newest when several are;
// null when none opened within the limit.
HWND waitForMenuWindow(DWORD threadId, std::chrono::milliseconds limit = std::chrono::milliseconds(15000));
// The items of the menu a menu window shows (MN_GETHMENU), with the states
// GetMenuState gives (MF_DEFAULT added for the default item).
struct MenuItem {
  String text;
  UINT state = 0;
};
std::vector<MenuItem> shownMenuItems(HWND menuWindow);
// A key as the keyboard gives it to an open menu: a character (a mnemonic,
// '\r') or a virtual key (VK_DOWN, VK_ESCAPE).
inline void typeInMenu(HWND menuWindow, char16_t character) { PostMessageW(menuWindow, WM_CHAR, character, 1); }
inline void pressInMenu(HWND menuWindow, UINT key) { PostMessageW(menuWindow, WM_KEYDOWN, key, 1); }

}  // namespace Ostra::testing

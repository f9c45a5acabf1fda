#include "tests/e2e/remote_window.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/platform_win.h"
#include "tests/e2e/kairon_process.h"
#include "tests/support/string_print.h"

namespace Ostra::e2e {

namespace {

const UINT kAnswerMilliseconds = static_cast<UINT>(kAnswerLimit.count());

String textOf(HWND window) {
  if (const auto text = testing::answeredWindowText(window, kAnswerMilliseconds)) return *text;
  ADD_FAILURE() << "a window of the program did not answer WM_GETTEXT";
  return String();
}

HWND control(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  if (item == nullptr) ADD_FAILURE() << "the window has no control " << id;
  return item;
}

// The dialog fills its controls in after it shows.
HWND waitForFileNameField(HWND dialog) {
  HWND field = nullptr;
  waitUntil(kShowLimit, [&] { return (field = testing::fileNameField(dialog)) != nullptr; });
  return field;
}

}  // namespace

String windowTitle(HWND window) {
  std::vector<wchar_t> buffer(static_cast<size_t>(GetWindowTextLengthW(window)) + 2, L'\0');
  GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
  return fromWide(buffer.data());
}

bool titleStartsWith(HWND window, const String& prefix) {
  const String title = windowTitle(window);
  return title.find(prefix, 0, title.length()) == 0;
}

bool isShown(HWND window) { return IsWindowVisible(window) && !IsIconic(window); }

String controlText(HWND dialog, int id) {
  HWND item = control(dialog, id);
  return item != nullptr ? textOf(item) : String();
}

void setControlText(HWND dialog, int id, const String& text) {
  HWND item = control(dialog, id);
  if (item == nullptr) return;
  if (!SendMessageTimeoutW(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide(text)), SMTO_ABORTIFHUNG,
                           kAnswerMilliseconds, nullptr)) {
    ADD_FAILURE() << "control " << id << " did not answer WM_SETTEXT";
  }
}

bool isEnabled(HWND dialog, int id) {
  HWND item = control(dialog, id);
  return item != nullptr && IsWindowEnabled(item);
}

bool isChecked(HWND dialog, int id) {
  HWND item = control(dialog, id);
  return item != nullptr && sendAndWait(item, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void click(HWND dialog, int id) {
  if (HWND item = control(dialog, id)) sendAndWait(item, BM_CLICK, 0, 0);
}

void clickLater(HWND dialog, int id) {
  if (HWND item = control(dialog, id)) PostMessageW(item, BM_CLICK, 0, 0);
}

void setChecked(HWND dialog, int id, bool on) {
  if (isChecked(dialog, id) != on) click(dialog, id);
  EXPECT_EQ(on, isChecked(dialog, id)) << "check box " << id;
}

LRESULT sendAndWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerMilliseconds, &result)) {
    ADD_FAILURE() << "message 0x" << std::hex << message << " was not handled within " << std::dec
                  << kAnswerLimit.count() << " ms";
  }
  return static_cast<LRESULT>(result);
}

String messageBoxText(HWND box) {
  if (HWND text = testing::messageBoxTextControl(box)) return textOf(text);
  ADD_FAILURE() << "the message box has no text control";
  return String();
}

void press(HWND box, int button) {
  // Posted: the program may end, or open the next box, while handling it.
  testing::pressButton(box, button);
}

String fileDialogName(HWND dialog) {
  HWND field = waitForFileNameField(dialog);
  return field != nullptr ? textOf(field) : String();
}

bool answerFileDialog(HWND dialog, const String& name) {
  return waitForFileNameField(dialog) != nullptr && testing::answerFileDialog(dialog, name, kAnswerMilliseconds);
}

}  // namespace Ostra::e2e

#include "app/snooze_box_win.h"

#include <commctrl.h>

#include "base/platform_win.h"
#include "base/system_library_win.h"

namespace {

constexpr int kSnoozeButton = 100;

const Ostra::SystemFunction<decltype(TaskDialogIndirect)> taskDialogIndirect{Ostra::comctl32Library,
                                                                             "TaskDialogIndirect", E_FAIL};

}  // namespace

SnoozeAnswer showSnoozeBox(HWND owner, const Ostra::String& text, int minutes) {
  if (taskDialogIndirect.get() == nullptr) return SnoozeAnswer::Unavailable;
  const Ostra::String snooze = Ostra::String::fromInt(minutes) + u"分後にもう一度(&Z)";
  TASKDIALOG_BUTTON buttons[] = {{IDOK, L"OK"}, {kSnoozeButton, Ostra::wide(snooze)}};
  TASKDIALOGCONFIG config{};
  config.cbSize = sizeof config;
  config.hwndParent = owner;
  // Esc and the close box answer as OK, as in the plain box.
  config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
  config.pszWindowTitle = L"メッセージ";
  config.pszMainIcon = TD_INFORMATION_ICON;
  config.pszContent = Ostra::wide(text);
  config.cButtons = 2;
  config.pButtons = buttons;
  config.nDefaultButton = IDOK;
  int pressed = 0;
  if (FAILED(taskDialogIndirect(&config, &pressed, nullptr, nullptr))) return SnoozeAnswer::Unavailable;
  return pressed == kSnoozeButton ? SnoozeAnswer::Snooze : SnoozeAnswer::Ok;
}

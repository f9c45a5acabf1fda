#include "app/snooze_box_win.h"

#include <commctrl.h>

#include "base/platform_win.h"
#include "base/system_library_win.h"

namespace {

constexpr int kSnoozeButton = 100;

const Ostra::SystemFunction<decltype(TaskDialogIndirect)> taskDialogIndirect{Ostra::comctl32Library,
                                                                             "TaskDialogIndirect", E_FAIL};

HRESULT CALLBACK followBox(HWND box, UINT notification, WPARAM, LPARAM, LONG_PTR shown) noexcept {
  if (notification == TDN_CREATED) *reinterpret_cast<HWND*>(shown) = box;
  if (notification == TDN_DESTROYED) *reinterpret_cast<HWND*>(shown) = nullptr;
  return S_OK;
}

}  // namespace

bool pressSnoozeButton(HWND box) { return PostMessageW(box, TDM_CLICK_BUTTON, kSnoozeButton, 0) != FALSE; }

SnoozeAnswer showSnoozeBox(HWND owner, const Ostra::String& text, int minutes, HWND* shown) {
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
  config.pfCallback = followBox;
  config.lpCallbackData = reinterpret_cast<LONG_PTR>(shown);
  int pressed = 0;
  const HRESULT result = taskDialogIndirect(&config, &pressed, nullptr, nullptr);
  *shown = nullptr;
  if (FAILED(result)) return SnoozeAnswer::Unavailable;
  return pressed == kSnoozeButton ? SnoozeAnswer::Snooze : SnoozeAnswer::Ok;
}

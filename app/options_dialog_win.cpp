#include "app/options_dialog_win.h"

#include <commctrl.h>

#include <exception>
#include <iterator>

#include "base/string.h"
#include "base/system_library_win.h"
#include "resources/resource.h"
#include "ui/wnd.h"

using Ostra::String;

namespace {

const Ostra::SystemFunction<decltype(InitCommonControlsEx)> initCommonControlsEx{Ostra::comctl32Library,
                                                                                 "InitCommonControlsEx", FALSE};

struct OptionsBox {
  AlarmOptions& options;
  Hotkey& hotkey;
  CGlobalHotkey& registration;
  bool timeOfDay;
  unsigned shownHotkey = 0;  // the hotkey control's value as the box opened
};

const int kNumberEdits[] = {IDC_OPTION_REPEAT_MINUTES, IDC_OPTION_SNOOZE_MINUTES, IDC_OPTION_BEFORE_MINUTES,
                            IDC_OPTION_RUNS_COUNT};

String controlText(HWND dialog, int id) { return Ostra::CWnd(GetDlgItem(dialog, id)).getText(); }
bool checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void fill(HWND dialog, const AlarmOptions& options, bool timeOfDay) {
  const AlarmOptionsForm form = alarmOptionsForm(options);
  CheckDlgButton(dialog, IDC_OPTION_REPEAT, form.repeat ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, IDC_OPTION_SNOOZE, form.snooze ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, IDC_OPTION_ELAPSED, form.showElapsed ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, IDC_OPTION_BEFORE, form.warn ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, IDC_OPTION_RUNS, form.runsOn ? BST_CHECKED : BST_UNCHECKED);
  const String* texts[] = {&form.repeatMinutes, &form.snoozeMinutes, &form.warnMinutes, &form.runs};
  for (size_t i = 0; i < std::size(kNumberEdits); ++i)
    Ostra::CWnd(GetDlgItem(dialog, kNumberEdits[i])).setText(*texts[i]);
  for (const int id : kNumberEdits) SendDlgItemMessageW(dialog, id, EM_LIMITTEXT, 4, 0);
  // A time of day comes once a day: it does not repeat.  The setting stays as it is.
  if (timeOfDay) {
    EnableWindow(GetDlgItem(dialog, IDC_OPTION_RUNS), FALSE);
    EnableWindow(GetDlgItem(dialog, IDC_OPTION_RUNS_COUNT), FALSE);
  }
}

String takenMessage(const Hotkey& hotkey) { return formatHotkey(hotkey) + u" は他のプログラムが使用中です"; }

void fillHotkey(HWND dialog, OptionsBox& box) {
  const HWND control = GetDlgItem(dialog, IDC_OPTION_HOTKEY);
  // A key alone, or with Shift alone, gets Ctrl+Alt: it would take that key
  // away from every program.
  SendMessageW(control, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
  box.shownHotkey = controlValueOf(box.hotkey);
  SendMessageW(control, HKM_SETHOTKEY, box.shownHotkey, 0);
  String status;
  if (!box.hotkey.none() && box.registration.registered() != box.hotkey) {
    status = takenMessage(box.hotkey);  // already at start-up
  } else if ((box.hotkey.modifiers & Hotkey::Win) != 0) {
    status = formatHotkey(box.hotkey) + u"（設定ファイルの値）";  // the control cannot show Win
  }
  Ostra::CWnd(GetDlgItem(dialog, IDC_OPTION_HOTKEY_STATUS)).setText(status);
}

// OK for the hotkey: the combination chosen registered, or why not said
// beside the control, whose value stays for the person to change.
bool acceptHotkey(HWND dialog, OptionsBox& box) {
  const auto value = static_cast<unsigned>(SendDlgItemMessageW(dialog, IDC_OPTION_HOTKEY, HKM_GETHOTKEY, 0, 0));
  // Left as it was, the setting stays as the file has it, with a Win the control cannot show.
  const bool untouched = (value & 0xFFFF) == box.shownHotkey;
  const Hotkey chosen = untouched ? box.hotkey : hotkeyFromControl(value);
  String problem;
  if (!chosen.none() && !usableHotkey(chosen)) {
    problem = u"このキーはホットキーに使えません";
  } else if (!box.registration.change(chosen) && !untouched) {
    problem = takenMessage(chosen);
  }
  if (problem.empty()) {
    box.hotkey = chosen;
    return true;
  }
  Ostra::CWnd(GetDlgItem(dialog, IDC_OPTION_HOTKEY_STATUS)).setText(problem);
  SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_OPTION_HOTKEY)), TRUE);
  return false;
}

// OK: the options taken, or the first number out of range refused.
bool accept(HWND dialog, AlarmOptions& options) {
  AlarmOptionsForm form;
  form.repeat = checked(dialog, IDC_OPTION_REPEAT);
  form.repeatMinutes = controlText(dialog, IDC_OPTION_REPEAT_MINUTES);
  form.snooze = checked(dialog, IDC_OPTION_SNOOZE);
  form.snoozeMinutes = controlText(dialog, IDC_OPTION_SNOOZE_MINUTES);
  form.showElapsed = checked(dialog, IDC_OPTION_ELAPSED);
  form.warn = checked(dialog, IDC_OPTION_BEFORE);
  form.warnMinutes = controlText(dialog, IDC_OPTION_BEFORE_MINUTES);
  form.runsOn = checked(dialog, IDC_OPTION_RUNS);
  form.runs = controlText(dialog, IDC_OPTION_RUNS_COUNT);
  String message;
  const int bad = formToAlarmOptions(form, options, message);
  if (bad < 0) return true;
  Ostra::CWnd(dialog).messageBox(MB_OK | MB_ICONEXCLAMATION, u"エラー", message);
  const HWND edit = GetDlgItem(dialog, kNumberEdits[bad]);
  SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  return false;
}

INT_PTR CALLBACK optionsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  // Nothing may unwind through the system's dialog manager.
  try {
    if (message == WM_INITDIALOG) {
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      auto* box = reinterpret_cast<OptionsBox*>(lParam);
      fill(dialog, box->options, box->timeOfDay);
      fillHotkey(dialog, *box);
      return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    auto* box = reinterpret_cast<OptionsBox*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (LOWORD(wParam)) {
      case IDOK:
        if (box != nullptr && accept(dialog, box->options) && acceptHotkey(dialog, *box)) EndDialog(dialog, IDOK);
        return TRUE;
      case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      default:
        return FALSE;
    }
  } catch (...) {
    EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
}

}  // namespace

bool editAlarmOptions(HWND owner, AlarmOptions& options, bool timeOfDay, Hotkey& hotkey, CGlobalHotkey& registration) {
  // The hotkey control's class, from comctl32, which only this box needs.
  INITCOMMONCONTROLSEX classes{};
  classes.dwSize = sizeof classes;
  classes.dwICC = ICC_HOTKEY_CLASS;
  initCommonControlsEx(&classes);
  AlarmOptions edited = options;
  Hotkey editedHotkey = hotkey;
  OptionsBox box{edited, editedHotkey, registration, timeOfDay};
  const INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_OPTIONS), owner, optionsProc,
                                         reinterpret_cast<LPARAM>(&box));
  if (result != IDOK) return false;
  options = edited;
  hotkey = editedHotkey;
  return true;
}

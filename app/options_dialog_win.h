#pragma once

#include <windows.h>

#include "app/alarm_options.h"
#include "app/global_hotkey_win.h"
#include "app/hotkey.h"

// The 詳細設定 box, modal to owner: true, with options and hotkey changed, on
// OK; false on キャンセル (or when the box cannot be made).  A number out of its
// range is refused with a box, and the dialog stays at that number.  On OK a
// changed hotkey takes the registration's place; one that is taken is said so
// beside its control, and the dialog stays with it.  timeOfDay: the runs'
// controls are disabled, as a time of day runs once.
bool editAlarmOptions(HWND owner, AlarmOptions& options, bool timeOfDay, Hotkey& hotkey, CGlobalHotkey& registration);

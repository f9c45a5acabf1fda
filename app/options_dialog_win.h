#pragma once

#include <windows.h>

#include "app/alarm_options.h"

// The 詳細設定 box, modal to owner: true, with options changed, on OK; false
// on キャンセル (or when the box cannot be made).  A number out of its range
// is refused with a box, and the dialog stays at that number.  timeOfDay: the
// runs' controls are disabled, as a time of day runs once.
bool editAlarmOptions(HWND owner, AlarmOptions& options, bool timeOfDay);

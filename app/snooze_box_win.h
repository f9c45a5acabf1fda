#pragma once

#include <windows.h>

#include "base/string.h"

enum class SnoozeAnswer { Ok, Snooze, Unavailable };

// The message captioned "メッセージ" with "OK" (the default) and
// "5分後にもう一度(&Z)", as a task dialog of comctl32 version 6 (loaded from
// the system on first use); Unavailable where there is none, or it failed to
// show, and the caller shows its plain box instead.  Closed with Esc or the
// close box, it counts as OK.  *shown holds the task dialog's window while it
// is up, null otherwise.
SnoozeAnswer showSnoozeBox(HWND owner, const Ostra::String& text, int minutes, HWND* shown);
// Presses the snooze button of a box that showSnoozeBox holds up; posted, so
// that the box answers in its own turn.  False when the box is gone.
bool pressSnoozeButton(HWND box);

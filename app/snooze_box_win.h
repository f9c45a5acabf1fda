#pragma once

#include <windows.h>

#include "base/string.h"

enum class SnoozeAnswer { Ok, Snooze, Unavailable };

// The message captioned "メッセージ" with "OK" (the default) and
// "5分後にもう一度(&Z)", as a task dialog of comctl32 version 6 (loaded from
// the system on first use); Unavailable where there is none, or it failed to
// show, and the caller shows its plain box instead.  Closed with Esc or the
// close box, it counts as OK.
SnoozeAnswer showSnoozeBox(HWND owner, const Ostra::String& text, int minutes);

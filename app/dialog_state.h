#pragma once

// Where a countdown is: nothing to count, counting to its deadline, standing
// still, or the expiry's notifications under way (the count stays at 0).
enum class CountdownState { Idle, Running, Paused, Ringing };
// Where the dialog is: on the screen, hidden with its icon in the notification
// area, or minimised on the taskbar while the shell refuses the icon (each tick
// and "TaskbarCreated" try again, until it is in or the user restores it).
enum class Placement { Shown, InTray, WaitingForTray };

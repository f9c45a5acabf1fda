// Identifiers of the program's resources, shared by kairon.rc and the C++ code.
// Plain #defines because windres reads this file through the C preprocessor.
#ifndef KAIRON_RESOURCES_RESOURCE_H_
#define KAIRON_RESOURCES_RESOURCE_H_

// The timer dialog, the program's main window, and its 詳細設定 box.
#define IDD_TIMER 106
#define IDD_OPTIONS 107

// Icons.  The first icon resource (104) is the one Explorer shows for the exe.
#define IDI_IDLE 104     // black "時": no countdown
#define IDI_RUNNING 105  // blue "時": counting down, 10 s or more left
#define IDI_DIGIT9 109   // blue digits 9 down to 1 for the last seconds: IDI_DIGIT0 - n
#define IDI_DIGIT8 110
#define IDI_DIGIT7 111
#define IDI_DIGIT6 112
#define IDI_DIGIT5 113
#define IDI_DIGIT4 114
#define IDI_DIGIT3 115
#define IDI_DIGIT2 116
#define IDI_DIGIT1 117
#define IDI_DIGIT0 118  // in the set for completeness; a countdown never shows it
#define IDI_PAUSED 119  // blue "時" with a pause mark: a paused countdown

// Controls of IDD_TIMER.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
#define IDC_START 1  // the default button, so Enter starts (same value as IDOK)
#define IDC_SAVE_TEMPLATE 1010
#define IDC_LOAD_TEMPLATE 1011
#define IDC_BEEP 1012
#define IDC_SOUND_ON 1013
#define IDC_SOUND_FILE 1014
#define IDC_SOUND_BROWSE 1015
#define IDC_MESSAGE_ON 1016
#define IDC_SAVE_DEFAULT 1017
#define IDC_PROGRAM_ON 1018
#define IDC_PROGRAM_FILE 1019
#define IDC_CANCEL 1020  // stops a countdown; not IDCANCEL (2)
#define IDC_MINIMIZE_AT_START 1021
#define IDC_CLOSE_AT_END 1022
#define IDC_HOURS 1023
#define IDC_MINUTES 1024
#define IDC_SECONDS 1025
#define IDC_PROGRAM_BROWSE 1026
#define IDC_MESSAGE_TEXT 1027
#define IDC_TIME_OF_DAY 1028
#define IDC_PROGRAM_ARGUMENTS 1030

// Controls of IDD_OPTIONS.
#define IDC_OPTION_REPEAT 1101
#define IDC_OPTION_REPEAT_MINUTES 1102
#define IDC_OPTION_SNOOZE 1103
#define IDC_OPTION_SNOOZE_MINUTES 1104
#define IDC_OPTION_ELAPSED 1105
#define IDC_OPTION_BEFORE 1106
#define IDC_OPTION_BEFORE_MINUTES 1107
#define IDC_OPTION_RUNS 1108
#define IDC_OPTION_RUNS_COUNT 1109
#define IDC_OPTION_HOTKEY 1120         // the system's hotkey control
#define IDC_OPTION_HOTKEY_STATUS 1121  // what is wrong with the combination chosen

// Commands of the dialog's system menu and the tray icon's menu.  Multiples of
// 16 below 0xF000: the system keeps the low four bits of a system command.
#define IDM_SHOW 0x0010
#define IDM_PAUSE 0x0020
#define IDM_EXTEND_SHORT 0x0030
#define IDM_EXTEND_LONG 0x0040
#define IDM_CANCEL 0x0050
#define IDM_EXIT 0x0060
#define IDM_ALWAYS_ON_TOP 0x0070
#define IDM_MORE_TEMPLATES 0x0080  // the tray menu's templates beyond those it lists
#define IDM_OPTIONS 0x0090
#define IDM_SNOOZE 0x00A0
// The tray menu's templates, in the order it lists them.
#define IDM_FIRST_TEMPLATE 0x0100

#endif  // KAIRON_RESOURCES_RESOURCE_H_

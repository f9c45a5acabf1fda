#pragma once

#include <windows.h>

// The style of every box of the application's own: MB_OK, information icon,
// set foreground (0x10040).
constexpr UINT kInformationBox = MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND;

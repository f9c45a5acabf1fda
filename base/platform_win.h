#pragma once

// Windows-only helpers shared by the _win backends.
#include <windows.h>

#include <string>

#include "base/string.h"

namespace Ostra {

// The String's units as the wide character type of the W calls (both UTF-16).
inline const wchar_t* wide(const String& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
inline String fromWide(const wchar_t* text) { return String(reinterpret_cast<const char16_t*>(text)); }
inline String fromWide(const wchar_t* text, int count) {
  const auto* units = reinterpret_cast<const char16_t*>(text);
  return String::fromChars(units, units + count);
}

}  // namespace Ostra

#pragma once

#include <ostream>

#include "base/string.h"

namespace Ostra {
// GoogleTest shows Strings as UTF-8 in failure messages.
inline void PrintTo(const String& text, std::ostream* out) { *out << '"' << toUtf8(text) << '"'; }
}  // namespace Ostra

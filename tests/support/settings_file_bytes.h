#pragma once

#include <string>

namespace Ostra::testing {

// The default-settings file as the program writes it on its first start, one
// CR LF line per key in key order (the bytes follow with utf16FileBytes).
extern const char16_t kDefaultSettingsText[];

// A settings file's bytes: the mark FF FE, then the text in UTF-16LE.
std::string utf16FileBytes(const std::u16string& text);

}  // namespace Ostra::testing

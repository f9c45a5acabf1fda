#pragma once

#include <string>
#include <vector>

namespace Ostra::testing {

// The default-settings file as the program writes it on its first start, one
// CR LF line per key in key order (the bytes follow with utf16FileBytes).
extern const char16_t kDefaultSettingsText[];

// The lines of kDefaultSettingsText, without their CR LF.
const std::vector<std::u16string>& defaultSettingsLines();

// text in UTF-16 little-endian, without a mark.
std::string utf16LeBytes(const std::u16string& text);
// A settings file's bytes: the mark FF FE, then the text in UTF-16LE.
std::string utf16FileBytes(const std::u16string& text);
// The bytes of a settings file of these lines, each ended by CR LF.
std::string settingsFileBytes(const std::vector<std::u16string>& lines);

}  // namespace Ostra::testing

#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/string.h"

// Settings files as the program writes them: the mark FF FE, then lines of
// "key = value" in UTF-16 little-endian, each ended by CR LF.
namespace Ostra::e2e {

using SettingsLines = std::vector<std::pair<String, String>>;

// The bytes of text in UTF-16 little-endian, without a mark.
std::string utf16Bytes(const String& text);
// The whole file for these lines, mark included.
std::string settingsFileBytes(const SettingsLines& lines);
// The lines of a complete file in that form, in file order; nothing when the
// file is missing, lacks the mark, has an odd length or a line without " = "
// or without its CR LF.
std::optional<SettingsLines> readSettingsFile(const std::filesystem::path& file);
// The value of key, or nothing.
std::optional<String> valueOf(const SettingsLines& lines, const String& key);

// Every key the program stores, with its default value as text.
SettingsLines defaultSettings();
// lines with the values of changes put in (keys not in lines are added).
SettingsLines withValues(SettingsLines lines, const SettingsLines& changes);

}  // namespace Ostra::e2e
